// The connection cache of the reference databases.
#pragma once

#include <string>

class NyAccess;

// File names of the reference databases in the data folder.
inline constexpr const char* kNyDataDb = "NyData.mdb";
inline constexpr const char* kZirIrodoDotDb = "ZirIrodoDot.mdb";
inline constexpr const char* kPlaneDb = "plane.mdb";

// The open connection of a database file (cached by lower-cased path), or null when the file
// cannot be opened; the failure is shown once ("ADO ERR!") and remembered.
NyAccess* GetDbConnection(const std::string& path);
// Closes and forgets every cached connection (unload, and before database files are replaced).
void CloseAllConnections();

// DataFolder + file; empty when the module is not loaded.
std::string DataFile(const std::string& file);
// GetDbConnection of DataFolder + "NyData.mdb" / "ZirIrodoDot.mdb".
NyAccess* NyDataDb();
NyAccess* ZirIrodoDotDb();
