// Access to one reference database file (SQLite). Statements arrive as text in the Access dialect
// the module was written for; the dialect step in ny_sql_dialect rewrites the few forms SQLite
// does not accept.
#pragma once

#include <string>
#include <vector>

struct sqlite3;

class NyAccess {
 public:
  NyAccess() = default;
  ~NyAccess();
  NyAccess(const NyAccess&) = delete;
  NyAccess& operator=(const NyAccess&) = delete;

  // Opens an existing file (never creates one). Nonzero on success.
  int InitADOServer(const std::string& path, const std::string& password = "");
  // Result values as text, row after row, in the statement's column order; NULL reads as "".
  // Positive when something matched, 0 otherwise.
  int GetSelData(std::vector<std::string>& values, const std::string& sql);
  int ExecuteSQL(const std::string& sql);
  void CloseAll();
  bool is_open() const { return db_ != nullptr; }
  const std::string& last_error() const { return last_error_; }
  sqlite3* handle() const { return db_; }

 private:
  sqlite3* db_ = nullptr;
  std::string last_error_;
};
