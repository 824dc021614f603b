// Conversion of the users' existing Access reference databases (.mdb) into the SQLite files the
// module reads: table by table, each database built in a temporary file and renamed into the
// data folder only when complete.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

enum class ImportColumnKind { kInteger, kReal, kText, kBlob };

struct ImportColumn {
  std::string name;
  ImportColumnKind kind = ImportColumnKind::kText;
  bool autonumber = false;  // becomes INTEGER PRIMARY KEY AUTOINCREMENT
};

// One value of a row; none is NULL.
using ImportValue = std::optional<std::string>;

// Where tables are read from: an Access file, or a stand-in in tests.
class ImportTableSource {
 public:
  virtual ~ImportTableSource() = default;
  // User tables (no system tables), in catalogue order.
  virtual std::vector<std::string> TableNames() = 0;
  // Reads one table: its columns, then every row through `row` (which returns false to stop).
  // False with `error` set when the table cannot be read.
  virtual bool ReadTable(const std::string& name, std::vector<ImportColumn>& columns,
                         const std::function<bool(const std::vector<ImportValue>&)>& row,
                         std::string& error) = 0;
};

// Opens an Access file with libmdb; none (with the reason) when it is not a Jet database.
std::unique_ptr<ImportTableSource> OpenJetDatabase(const std::string& path, std::string& error);

// Copies every table of `source` into the empty database `dst` inside one transaction.
// False with `error` naming the table that failed.
bool CopyTables(ImportTableSource& source, sqlite3* dst, std::string& error);

// The tables a reference database must hold ("NyData.mdb", "ZirIrodoDot.mdb", "plane.mdb").
std::vector<std::string> RequiredTables(const std::string& database_name);

// Converts one source into `target` (replaced only on success). Appends what happened to
// `report`, one line per finding; a missing required table is named and nothing is replaced.
bool ImportDatabase(ImportTableSource& source, const std::string& database_name,
                    const std::string& target, std::string& report);

// Converts NyData.mdb, ZirIrodoDot.mdb and plane.mdb found in `folder` (names compared without
// regard to case) into `data_folder`. Returns 0 when every database found was imported, 1 when
// some failed, 2 when the folder is missing or holds none of them.
int ImportMdbFolder(const std::string& folder, const std::string& data_folder,
                    std::string& report);

// Exported for the command-line program: imports into the loaded module's data folder (closing
// its connections first) and writes the report, UTF-8 and cut to `size` bytes, into `message`.
extern "C" __attribute__((visibility("default"))) int NyLuxoraImportMdb(const char* folder,
                                                                   char* message, int size);
