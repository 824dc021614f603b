#include "support/ny_access.h"

#include <sqlite3.h>

NyAccess::~NyAccess() { CloseAll(); }

int NyAccess::InitADOServer(const std::string& path, const std::string&) {
  CloseAll();
  int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
  if (rc != SQLITE_OK) {
    last_error_ = db_ ? sqlite3_errmsg(db_) : "cannot open " + path;
    CloseAll();
    return 0;
  }
  // A file that is not a database opens fine and fails on first use: check now.
  if (sqlite3_exec(db_, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr) !=
      SQLITE_OK) {
    last_error_ = sqlite3_errmsg(db_);
    CloseAll();
    return 0;
  }
  return 1;
}

int NyAccess::GetSelData(std::vector<std::string>& values, const std::string& sql) {
  values.clear();
  if (!db_) return 0;
  sqlite3_stmt* stmt = nullptr;
  if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
    last_error_ = sqlite3_errmsg(db_);
    return 0;
  }
  int rows = 0;
  while (sqlite3_step(stmt) == SQLITE_ROW) {
    ++rows;
    for (int c = 0; c < sqlite3_column_count(stmt); ++c) {
      const unsigned char* t = sqlite3_column_text(stmt, c);
      values.emplace_back(t ? reinterpret_cast<const char*>(t) : "");
    }
  }
  sqlite3_finalize(stmt);
  return rows;
}

int NyAccess::ExecuteSQL(const std::string& sql) {
  if (!db_) return 0;
  char* err = nullptr;
  if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &err) != SQLITE_OK) {
    last_error_ = err ? err : "SQL error";
    sqlite3_free(err);
    return 0;
  }
  return 1;
}

void NyAccess::CloseAll() {
  if (db_) sqlite3_close_v2(db_);
  db_ = nullptr;
}
