#include "refdata/mdb_import.h"

#include <glib.h>  // before mdbtools.h, which includes it inside extern "C"
#include <mdbtools.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "base/module_state.h"
#include "host/text_util.h"
#include "refdata/luminaire_record.h"
#include "refdata/reference_db.h"
#include "support/ny_access.h"
#include "support/ny_common.h"

namespace fs = std::filesystem;

namespace {

// --- reading an Access file through libmdb ---

class JetSource : public ImportTableSource {
 public:
  explicit JetSource(MdbHandle* mdb) : mdb_(mdb) {}
  ~JetSource() override { mdb_close(mdb_); }

  std::vector<std::string> TableNames() override {
    std::vector<std::string> names;
    for (unsigned i = 0; i < mdb_->num_catalog; ++i) {
      auto* e = static_cast<MdbCatalogEntry*>(g_ptr_array_index(mdb_->catalog, i));
      if (e->object_type != MDB_TABLE || mdb_is_system_table(e)) continue;
      names.emplace_back(e->object_name);
    }
    return names;
  }

  bool ReadTable(const std::string& name, std::vector<ImportColumn>& columns,
                 const std::function<bool(const std::vector<ImportValue>&)>& row,
                 std::string& error) override {
    columns.clear();
    std::string table_name = name;
    MdbTableDef* t = mdb_read_table_by_name(mdb_, table_name.data(), MDB_TABLE);
    if (!t) {
      error = "无法读取表 [" + name + "]";
      return false;
    }
    mdb_read_columns(t);
    mdb_rewind_table(t);
    std::size_t n = t->num_cols;
    std::vector<std::vector<char>> buffers(n);
    std::vector<int> lengths(n, 0);
    std::vector<bool> bound(n, false);
    for (std::size_t c = 0; c < n; ++c) {
      auto* col = static_cast<MdbColumn*>(g_ptr_array_index(t->columns, c));
      ImportColumn ic;
      ic.name = col->name;
      switch (col->col_type) {
        case MDB_BOOL:
        case MDB_BYTE:
        case MDB_INT:
        case MDB_LONGINT:
          ic.kind = ImportColumnKind::kInteger;
          break;
        case MDB_MONEY:
        case MDB_FLOAT:
        case MDB_DOUBLE:
        case MDB_NUMERIC:
          ic.kind = ImportColumnKind::kReal;
          break;
        case MDB_OLE:
        case MDB_BINARY:
        case MDB_COMPLEX:
          ic.kind = ImportColumnKind::kBlob;
          break;
        default:
          ic.kind = ImportColumnKind::kText;
          break;
      }
      ic.autonumber = col->is_long_auto != 0;
      columns.push_back(ic);
      // Pictures and other binary data are not reference data the module reads: left NULL.
      if (ic.kind == ImportColumnKind::kBlob) continue;
      buffers[c].assign(MDB_BIND_SIZE, '\0');
      mdb_bind_column(t, static_cast<int>(c + 1), buffers[c].data(), &lengths[c]);
      bound[c] = true;
    }
    std::vector<ImportValue> values(n);
    bool ok = true;
    while (mdb_fetch_row(t)) {
      for (std::size_t c = 0; c < n; ++c) {
        if (!bound[c]) {
          values[c].reset();
        } else if (lengths[c] == 0 && columns[c].kind != ImportColumnKind::kText) {
          values[c].reset();  // an empty number is NULL
        } else {
          values[c] = std::string(buffers[c].data(), static_cast<std::size_t>(lengths[c]));
        }
      }
      if (!row(values)) {
        ok = false;
        break;
      }
    }
    mdb_free_tabledef(t);
    if (!ok) error = "复制表 [" + name + "] 时中断";
    return ok;
  }

 private:
  MdbHandle* mdb_;
};

bool IsJetFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  char head[19] = {};
  if (!in.read(head, sizeof head)) return false;
  return std::memcmp(head + 4, "Standard Jet DB", 15) == 0 ||
         std::memcmp(head + 4, "Standard ACE DB", 15) == 0;
}

// --- writing SQLite ---

bool Exec(sqlite3* db, const std::string& sql, std::string& error) {
  char* err = nullptr;
  if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    error = err ? err : "SQL error";
    sqlite3_free(err);
    return false;
  }
  return true;
}

const char* SqlType(const ImportColumn& c) {
  switch (c.kind) {
    case ImportColumnKind::kInteger:
      return "INTEGER";
    case ImportColumnKind::kReal:
      return "REAL";
    case ImportColumnKind::kBlob:
      return "BLOB";
    default:
      return "TEXT";
  }
}

bool CopyOneTable(ImportTableSource& source, const std::string& table, sqlite3* dst,
                  std::string& error) {
  sqlite3_stmt* insert = nullptr;
  std::string step_error;
  std::vector<ImportColumn> columns;
  bool created = false;
  auto on_row = [&](const std::vector<ImportValue>& values) {
    for (std::size_t c = 0; c < values.size(); ++c) {
      int index = static_cast<int>(c + 1);
      if (values[c])
        sqlite3_bind_text(insert, index, values[c]->data(), static_cast<int>(values[c]->size()),
                          SQLITE_TRANSIENT);
      else
        sqlite3_bind_null(insert, index);
    }
    int rc = sqlite3_step(insert);
    sqlite3_reset(insert);
    if (rc != SQLITE_DONE) {
      step_error = sqlite3_errmsg(dst);
      return false;
    }
    return true;
  };
  // The table is created when its columns are known, i.e. on the first row or at the end.
  auto create = [&]() {
    if (created) return true;
    created = true;
    std::string ddl = "CREATE TABLE " + NyAccess::QuoteName(table) + " (";
    bool key_used = false;
    for (std::size_t c = 0; c < columns.size(); ++c) {
      if (c) ddl += ", ";
      ddl += NyAccess::QuoteName(columns[c].name) + " ";
      if (columns[c].autonumber && !key_used) {
        ddl += "INTEGER PRIMARY KEY AUTOINCREMENT";
        key_used = true;
      } else {
        ddl += SqlType(columns[c]);
      }
    }
    ddl += ")";
    if (columns.empty() || !Exec(dst, ddl, step_error)) return false;
    std::string sql = "INSERT INTO " + NyAccess::QuoteName(table) + " VALUES (";
    for (std::size_t c = 0; c < columns.size(); ++c) sql += c ? ",?" : "?";
    sql += ")";
    if (sqlite3_prepare_v2(dst, sql.c_str(), -1, &insert, nullptr) != SQLITE_OK) {
      step_error = sqlite3_errmsg(dst);
      return false;
    }
    return true;
  };
  std::string read_error;
  bool ok = source.ReadTable(
      table, columns,
      [&](const std::vector<ImportValue>& values) { return create() && on_row(values); },
      read_error);
  ok = ok && create();
  if (insert) sqlite3_finalize(insert);
  if (!ok) {
    error = "表 [" + table + "]: " + (step_error.empty() ? read_error : step_error);
    return false;
  }
  return true;
}

bool SameName(const std::string& a, const std::string& b) {
  return nyhost::ToLowerAscii(a) == nyhost::ToLowerAscii(b);
}

// Tables the rows of `db` name (curve, coefficient and category tables) that it lacks.
std::vector<std::string> MissingNamedTables(sqlite3* db, const std::string& database_name) {
  std::vector<std::pair<const char*, const char*>> refs;
  if (SameName(database_name, kNyDataDb))
    refs = {{"灯具型号", "利用系数表"}, {"照度标准", "场所"}};
  else if (SameName(database_name, kZirIrodoDotDb))
    refs = {{"灯具型号", "配光曲线表"}, {"默认光源", "配光曲线表"}};
  std::vector<std::string> missing;
  for (auto [table, column] : refs) {
    std::string sql = "SELECT DISTINCT " + NyAccess::QuoteName(column) + " FROM " +
                      NyAccess::QuoteName(table) + " WHERE " + NyAccess::QuoteName(column) +
                      " <> '' AND " + NyAccess::QuoteName(column) +
                      " NOT IN (SELECT name FROM sqlite_master WHERE type = 'table')";
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) continue;
    while (sqlite3_step(stmt) == SQLITE_ROW) {
      const unsigned char* t = sqlite3_column_text(stmt, 0);
      if (t) missing.emplace_back(reinterpret_cast<const char*>(t));
    }
    sqlite3_finalize(stmt);
  }
  return missing;
}

const std::vector<std::string>& DatabaseFiles() {
  static const std::vector<std::string> files = {kNyDataDb, kZirIrodoDotDb, kPlaneDb};
  return files;
}

}  // namespace

std::unique_ptr<ImportTableSource> OpenJetDatabase(const std::string& path, std::string& error) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    error = "文件不存在";
    return nullptr;
  }
  if (!IsJetFile(path)) {
    error = "不是 Access (Jet) 数据库文件";
    return nullptr;
  }
  // Access 97 files keep text in the code page of the system that wrote them.
  setenv("MDB_JET3_CHARSET", "CP936", 0);
  MdbHandle* mdb = mdb_open(path.c_str(), MDB_NOFLAGS);
  if (!mdb) {
    error = "无法打开 Access 数据库";
    return nullptr;
  }
  mdb_set_date_fmt(mdb, "%Y-%m-%d %H:%M:%S");
  if (!mdb_read_catalog(mdb, MDB_TABLE)) {
    mdb_close(mdb);
    error = "无法读取 Access 数据库的表目录";
    return nullptr;
  }
  return std::make_unique<JetSource>(mdb);
}

bool CopyTables(ImportTableSource& source, sqlite3* dst, std::string& error) {
  if (!Exec(dst, "BEGIN", error)) return false;
  for (const auto& table : source.TableNames()) {
    if (!CopyOneTable(source, table, dst, error)) {
      std::string ignored;
      Exec(dst, "ROLLBACK", ignored);
      return false;
    }
  }
  return Exec(dst, "COMMIT", error);
}

std::vector<std::string> RequiredTables(const std::string& database_name) {
  if (SameName(database_name, kNyDataDb))
    return {"光源", "灯具型号", "照度标准", "照度标准模板", "物体反射率"};
  if (SameName(database_name, kZirIrodoDotDb)) return {"灯具型号", "默认光源", "古斯位置指数"};
  if (SameName(database_name, kPlaneDb)) return {"平面设备表"};
  return {};
}

bool ImportDatabase(ImportTableSource& source, const std::string& database_name,
                    const std::string& target, std::string& report) {
  std::vector<std::string> tables = source.TableNames();
  bool complete = true;
  for (const auto& required : RequiredTables(database_name)) {
    bool found = false;
    for (const auto& t : tables) found = found || SameName(t, required);
    if (!found) {
      report += database_name + ": 缺少表 [" + required + "]\n";
      complete = false;
    }
  }
  if (!complete) {
    report += database_name + ": 未导入, 原有数据保持不变\n";
    return false;
  }

  std::string tmp = target + ".import-XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) {
    report += database_name + ": 无法在 " + fs::path(target).parent_path().string() + " 中写文件\n";
    return false;
  }
  ::close(fd);
  sqlite3* db = nullptr;
  std::string error;
  bool ok = sqlite3_open_v2(tmp.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
  if (!ok) error = db ? sqlite3_errmsg(db) : "sqlite";
  ok = ok && CopyTables(source, db, error);
  std::vector<std::string> missing;
  if (ok) missing = MissingNamedTables(db, database_name);
  if (db) sqlite3_close_v2(db);
  if (ok && std::rename(tmp.c_str(), target.c_str()) != 0) {
    ok = false;
    error = "无法替换 " + target;
  }
  if (!ok) {
    std::remove(tmp.c_str());
    report += database_name + ": 导入失败: " + error + ", 原有数据保持不变\n";
    return false;
  }
  for (const auto& m : missing)
    report += database_name + ": 提示: 数据中引用的表 [" + m + "] 不存在\n";
  report += database_name + ": 已导入 " + std::to_string(tables.size()) + " 个表\n";
  return true;
}

int ImportMdbFolder(const std::string& folder, const std::string& data_folder,
                    std::string& report) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    report += "文件夹不存在: " + folder + "\n";
    return 2;
  }
  int found = 0, failed = 0;
  for (const auto& name : DatabaseFiles()) {
    fs::path source_path = NyCommon::FindFileNoCase(folder, name);
    if (source_path.empty()) continue;
    ++found;
    std::string error;
    auto source = OpenJetDatabase(source_path.string(), error);
    if (!source) {
      report += "<" + source_path.string() + ">: " + error + "\n";
      ++failed;
      continue;
    }
    fs::path target = NyCommon::FindFileNoCase(data_folder, name);
    if (target.empty()) target = fs::path(data_folder) / name;
    if (!ImportDatabase(*source, name, target.string(), report)) ++failed;
  }
  if (found == 0) {
    report += "在 " + folder + " 中没有找到 NyData.mdb, ZirIrodoDot.mdb 或 plane.mdb\n";
    return 2;
  }
  return failed == 0 ? 0 : 1;
}

extern "C" int NyLuxoraImportMdb(const char* folder, char* message, int size) {
  std::string report;
  int rc;
  if (!folder || !ModuleLoaded() || Module().DataFolder.empty()) {
    report = "模块未加载\n";
    rc = 2;
  } else {
    // The files are about to be replaced: no connection may keep the old ones.
    CloseAllConnections();
    ResetDeviceKindMap();
    std::error_code ec;
    fs::create_directories(Module().DataFolder, ec);
    rc = ImportMdbFolder(folder, Module().DataFolder, report);
  }
  CopyOut(report, message, size);
  return rc;
}
