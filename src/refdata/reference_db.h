// The connection cache of the reference databases.
#pragma once

#include <string>

class NyAccess;

// The open connection of a database file (cached by lower-cased path), or null when the file
// cannot be opened; the failure is shown once ("ADO ERR!") and remembered.
NyAccess* GetDbConnection(const std::string& path);
// Closes and forgets every cached connection (unload, and before database files are replaced).
void CloseAllConnections();
