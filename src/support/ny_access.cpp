#include "support/ny_access.h"

#include <sqlite3.h>

#include <cctype>
#include <cstring>
#include <fstream>

#include "host/dialog.h"
#include "support/ny_sql_dialect.h"

namespace {

int GbkCollate(void*, int na, const void* a, int nb, const void* b) {
  return CompareGbk(std::string_view(static_cast<const char*>(a), static_cast<std::size_t>(na)),
                    std::string_view(static_cast<const char*>(b), static_cast<std::size_t>(nb)));
}

bool OnlyBlanks(const char* p) {
  for (; p && *p; ++p)
    if (!std::isspace(static_cast<unsigned char>(*p))) return false;
  return true;
}

// Prepares exactly one statement; a text holding a second one is refused.
int PrepareOne(sqlite3* db, const std::string& sql, sqlite3_stmt** stmt, std::string& error) {
  const char* tail = nullptr;
  *stmt = nullptr;
  int rc = sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size()), stmt, &tail);
  if (rc != SQLITE_OK) {
    error = sqlite3_errmsg(db);
    return rc;
  }
  if (*stmt == nullptr) {
    error = "empty statement";
    return SQLITE_ERROR;
  }
  if (!OnlyBlanks(tail)) {
    sqlite3_finalize(*stmt);
    *stmt = nullptr;
    error = "more than one statement in: " + sql;
    return SQLITE_ERROR;
  }
  return SQLITE_OK;
}

std::string ColumnText(sqlite3_stmt* stmt, int c) {
  const unsigned char* t = sqlite3_column_text(stmt, c);
  return t ? std::string(reinterpret_cast<const char*>(t),
                         static_cast<std::size_t>(sqlite3_column_bytes(stmt, c)))
           : std::string();
}

// Skips a (possibly quoted) name at s[i]; returns the index after it.
std::size_t SkipName(const std::string& s, std::size_t i) {
  if (i >= s.size()) return i;
  char c = s[i];
  if (c == '[') {
    std::size_t e = s.find(']', i + 1);
    return e == std::string::npos ? s.size() : e + 1;
  }
  if (c == '"' || c == '`') {
    for (std::size_t k = i + 1; k < s.size(); ++k) {
      if (s[k] == c) {
        if (k + 1 < s.size() && s[k + 1] == c) {
          ++k;
          continue;
        }
        return k + 1;
      }
    }
    return s.size();
  }
  while (i < s.size() && s[i] != '(' && !std::isspace(static_cast<unsigned char>(s[i]))) ++i;
  return i;
}

bool HasDatabaseHeader(const std::string& path) {
  static constexpr char kHeader[] = "SQLite format 3";  // and its terminating zero
  std::ifstream in(path, std::ios::binary);
  char head[sizeof kHeader] = {};
  return in.read(head, sizeof head) && std::memcmp(head, kHeader, sizeof kHeader) == 0;
}

}  // namespace

bool NyStTable::GetValueRecord(std::vector<std::string>& values, int row) const {
  values.clear();
  if (row < 0 || row >= GetTableLogicSize()) return false;
  values = rows_[static_cast<std::size_t>(row)];
  return true;
}

NyAccess::~NyAccess() { CloseAll(); }

bool NyAccess::Fail(const std::string& message) {
  last_error_ = message;
  return false;
}

int NyAccess::InitADOServer(const std::string& path, const std::string&) {
  CloseAll();
  path_ = path;
  busy_ = false;
  // SQLite takes an empty file for an empty database: only a file with a database header is one.
  if (!HasDatabaseHeader(path)) {
    last_error_ = "not a database file: " + path;
    return 0;
  }
  int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    last_error_ = db_ ? sqlite3_errmsg(db_) : "cannot open " + path;
    CloseAll();
    return 0;
  }
  // Before the first read: another program writing the file makes it wait, not fail.
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  // A double-quoted name that names nothing is an error, never a text.
  sqlite3_db_config(db_, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
  sqlite3_create_collation(db_, kGbkCollation, SQLITE_UTF8, nullptr, &GbkCollate);
  // A damaged file opens fine and fails on first use, and a database without tables holds no
  // reference data: check now.
  std::vector<std::vector<std::string>> tables;
  bool read = Query("SELECT count(*) FROM sqlite_master WHERE type = 'table'", nullptr, tables);
  if (!read || tables.empty() || tables[0].empty() || tables[0][0] == "0") {
    int code = sqlite3_errcode(db_);
    busy_ = !read && (code == SQLITE_BUSY || code == SQLITE_LOCKED);
    if (read) last_error_ = "no tables in " + path;
    CloseAll();
    return 0;
  }
  return 1;
}

bool NyAccess::Query(const std::string& sql, std::vector<std::string>* columns,
                     std::vector<std::vector<std::string>>& rows) {
  rows.clear();
  if (!db_) return Fail("database not open");
  sqlite3_stmt* stmt = nullptr;
  if (PrepareOne(db_, ToSqliteDialect(sql), &stmt, last_error_) != SQLITE_OK) return false;
  int n = sqlite3_column_count(stmt);
  if (columns) {
    columns->clear();
    for (int c = 0; c < n; ++c) {
      const char* name = sqlite3_column_name(stmt, c);
      columns->emplace_back(name ? name : "");
    }
  }
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    std::vector<std::string> row;
    row.reserve(static_cast<std::size_t>(n));
    for (int c = 0; c < n; ++c) row.push_back(ColumnText(stmt, c));
    rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE) last_error_ = sqlite3_errmsg(db_);
  sqlite3_finalize(stmt);
  if (rc != SQLITE_DONE) {
    rows.clear();
    return false;
  }
  return true;
}

int NyAccess::GetSelData(std::vector<std::string>& values, const std::string& sql) {
  values.clear();
  std::vector<std::vector<std::string>> rows;
  if (!Query(sql, nullptr, rows)) return 0;
  for (auto& row : rows)
    for (auto& v : row) values.push_back(std::move(v));
  return static_cast<int>(rows.size());
}

int NyAccess::GetSelData(nyhost::Dialog& dlg, int control_id, const std::string& sql) {
  std::vector<std::vector<std::string>> rows;
  if (!Query(sql, nullptr, rows)) return 0;
  for (const auto& row : rows) {
    std::string item;
    for (std::size_t c = 0; c < row.size(); ++c) {
      if (c) item += kColumnSeparator;
      item += row[c];
    }
    dlg.AddString(control_id, item);
  }
  return static_cast<int>(rows.size());
}

int NyAccess::GetSelData(NyStTable& table, const std::string& sql) {
  table.Clear();
  if (!Query(sql, &table.columns_, table.rows_)) return 0;
  return table.GetTableLogicSize();
}

bool NyAccess::Exec(const std::string& sqlite_sql) {
  if (!db_) return Fail("database not open");
  sqlite3_stmt* stmt = nullptr;
  if (PrepareOne(db_, sqlite_sql, &stmt, last_error_) != SQLITE_OK) return false;
  int rc;
  while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
  }
  if (rc != SQLITE_DONE) last_error_ = sqlite3_errmsg(db_);
  sqlite3_finalize(stmt);
  return rc == SQLITE_DONE;
}

int NyAccess::ExecuteSQL(const std::string& sql) {
  if (auto into = ParseSelectInto(sql))
    return CreateTableFromTemplet(into->new_table, into->template_table);
  return Exec(ToSqliteDialect(sql)) ? 1 : 0;
}

int NyAccess::IsTableInDatabase(const std::string& name, const std::string& type) {
  if (!db_) return 0;
  std::string kind;
  for (char c : type) kind += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (kind.empty()) kind = "table";
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_,
                         "SELECT count(*) FROM sqlite_master WHERE type = ?1 AND name = ?2 "
                         "COLLATE NOCASE",
                         -1, &stmt, nullptr) != SQLITE_OK) {
    last_error_ = sqlite3_errmsg(db_);
    return 0;
  }
  sqlite3_bind_text(stmt, 1, kind.c_str(), -1, SQLITE_TRANSIENT);
  sqlite3_bind_text(stmt, 2, name.c_str(), static_cast<int>(name.size()), SQLITE_TRANSIENT);
  int found = 0;
  if (sqlite3_step(stmt) == SQLITE_ROW) found = sqlite3_column_int(stmt, 0) > 0 ? 1 : 0;
  sqlite3_finalize(stmt);
  return found;
}

int NyAccess::CreateTable(const std::string& name, const std::vector<NyStTableField>& fields) {
  if (!db_) return Fail("database not open");
  if (name.empty() || fields.empty()) return Fail("table without name or columns");
  std::string ddl = "CREATE TABLE " + QuoteName(name) + " (";
  for (std::size_t i = 0; i < fields.size(); ++i) {
    std::string type;
    for (char c : fields[i].type)
      type += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const char* sql_type = type == "int" || type == "integer" || type == "long"    ? "INTEGER"
                           : type == "float" || type == "double" || type == "real" ? "REAL"
                                                                                   : "TEXT";
    if (i) ddl += ", ";
    ddl += QuoteName(fields[i].name) + " " + sql_type;
  }
  ddl += ")";
  return Exec(ddl) ? 1 : 0;
}

int NyAccess::CreateTableFromTemplet(const std::string& new_name,
                                     const std::string& template_name) {
  if (!db_) return Fail("database not open");
  if (new_name.empty()) return Fail("table without name");
  if (IsTableInDatabase(new_name, "TABLE")) return Fail("table exists: " + new_name);
  // The template's own DDL keeps its keys (ID INTEGER PRIMARY KEY AUTOINCREMENT) and types,
  // which CREATE TABLE ... AS SELECT would lose.
  sqlite3_stmt* stmt = nullptr;
  std::string ddl;
  if (sqlite3_prepare_v2(db_,
                         "SELECT sql FROM sqlite_master WHERE type = 'table' AND name = ?1 "
                         "COLLATE NOCASE",
                         -1, &stmt, nullptr) != SQLITE_OK)
    return Fail(sqlite3_errmsg(db_));
  sqlite3_bind_text(stmt, 1, template_name.c_str(), static_cast<int>(template_name.size()),
                    SQLITE_TRANSIENT);
  if (sqlite3_step(stmt) == SQLITE_ROW) ddl = ColumnText(stmt, 0);
  sqlite3_finalize(stmt);
  if (ddl.empty()) return Fail("no template table: " + template_name);

  // "CREATE TABLE <name> (...)": put the new name in place of the old one.
  std::size_t pos = 0;
  auto skip_blanks = [&] {
    while (pos < ddl.size() && std::isspace(static_cast<unsigned char>(ddl[pos]))) ++pos;
  };
  auto skip_word = [&](const char* word) {
    skip_blanks();
    std::size_t n = std::char_traits<char>::length(word);
    if (ddl.size() - pos < n) return false;
    for (std::size_t k = 0; k < n; ++k)
      if (std::toupper(static_cast<unsigned char>(ddl[pos + k])) != word[k]) return false;
    pos += n;
    return true;
  };
  if (!skip_word("CREATE") || !skip_word("TABLE")) return Fail("unexpected template DDL");
  skip_blanks();
  std::size_t name_end = SkipName(ddl, pos);
  std::string new_ddl = "CREATE TABLE " + QuoteName(new_name) + ddl.substr(name_end);

  if (!Exec("SAVEPOINT ny_copy_table")) return 0;
  bool ok = Exec(new_ddl) && Exec("INSERT INTO " + QuoteName(new_name) + " SELECT * FROM " +
                                  QuoteName(template_name));
  if (!ok) {
    std::string error = last_error_;
    Exec("ROLLBACK TO ny_copy_table");
    Exec("RELEASE ny_copy_table");
    return Fail(error);
  }
  return Exec("RELEASE ny_copy_table") ? 1 : 0;
}

int NyAccess::DeleteTable(const std::string& name) {
  if (!db_) return Fail("database not open");
  return Exec("DROP TABLE " + QuoteName(name)) ? 1 : 0;
}

// IMMEDIATE: a writer waits for another program's write here, before it has read anything,
// rather than failing halfway when both want to write.
int NyAccess::BeginTrans() { return Exec("BEGIN IMMEDIATE") ? 1 : 0; }
int NyAccess::CommitTrans() { return Exec("COMMIT") ? 1 : 0; }
int NyAccess::RollbackTrans() { return Exec("ROLLBACK") ? 1 : 0; }
bool NyAccess::in_transaction() const { return db_ && !sqlite3_get_autocommit(db_); }

void NyAccess::CloseAll() {
  // Closing rolls back a transaction left open.
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}

std::vector<std::string> NyAccess::SplitItem(const std::string& item) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (true) {
    std::size_t p = item.find(kColumnSeparator, start);
    out.push_back(item.substr(start, p == std::string::npos ? std::string::npos : p - start));
    if (p == std::string::npos) break;
    start = p + 1;
  }
  return out;
}

std::string NyAccess::QuoteName(const std::string& name) {
  std::string out = "\"";
  for (char c : name) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}
