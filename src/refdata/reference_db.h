// The connection cache of the reference databases.
#pragma once

#include <string>

class NyAccess;

// File names of the reference databases in the data folder.
inline constexpr const char* kNyDataDb = "NyData.mdb";
inline constexpr const char* kZirIrodoDotDb = "ZirIrodoDot.mdb";
inline constexpr const char* kPlaneDb = "plane.mdb";

// The open connection of a database file (cached by lower-cased path; the file's name may differ
// in letter case), or null when the file cannot be opened; the failure is shown once ("ADO ERR!",
// or that the file is busy when another program kept it locked) and remembered.
NyAccess* GetDbConnection(const std::string& path);
// Closes and forgets every cached connection (unload, and before database files are replaced).
void CloseAllConnections();

// The file of DataFolder of that name under any letter case, else DataFolder + file; empty when
// the module is not loaded.
std::string DataFile(const std::string& file);
// GetDbConnection of DataFolder + "NyData.mdb" / "ZirIrodoDot.mdb".
NyAccess* NyDataDb();
NyAccess* ZirIrodoDotDb();

// Largest values the calculation accepts from the reference tables; anything above is damage.
inline constexpr double kMaxDbIntensity = 1e6;  // cd per 1000 lm
inline constexpr double kMaxDbPower = 1e5;      // W, lamp or ballast
inline constexpr double kMaxDbLampCount = 1e3;
inline constexpr double kMaxDbFlux = 1e7;  // lm

// A number of a reference table as a calculation takes it: an empty cell (NULL) reads 0,
// anything else must be a finite number from 0 to `max`. False for other text, NaN, infinity
// and values out of range; the caller names the table, row and column.
bool ReadDbNumber(const std::string& text, double max, double& value);

// Copies a batch entry point's message into the caller's buffer of `size` bytes, cut short at a
// whole UTF-8 character and always terminated. Returns the whole message's length.
int CopyOut(const std::string& text, char* out, int size);
