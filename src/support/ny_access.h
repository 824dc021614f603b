// Access to one reference database file (SQLite). Statements arrive as text in the Access dialect
// the module was written for; the dialect step in ny_sql_dialect rewrites the few forms SQLite
// does not accept. Every text is taken as exactly one statement: a text that holds a second one
// (a value with a stray single quote) is refused, never run.
#pragma once

#include <string>
#include <vector>

struct sqlite3;

namespace nyhost {
class Dialog;
}

// A column of a table to create: its name and type ("int" or "float"; "text" also accepted).
struct NyStTableField {
  std::string name;
  std::string type;
};

// The rows of a query, each row the values in the statement's column order (NULL reads "").
class NyStTable {
 public:
  int GetTableLogicSize() const { return static_cast<int>(rows_.size()); }
  // One row's values; false for a row that does not exist.
  bool GetValueRecord(std::vector<std::string>& values, int row) const;
  const std::vector<std::string>& column_names() const { return columns_; }
  void Clear() {
    rows_.clear();
    columns_.clear();
  }

 private:
  friend class NyAccess;
  std::vector<std::string> columns_;
  std::vector<std::vector<std::string>> rows_;
};

class NyAccess {
 public:
  // Separator of the columns of one list-control item filled by GetSelData.
  static constexpr char kColumnSeparator = '\t';

  NyAccess() = default;
  ~NyAccess();
  NyAccess(const NyAccess&) = delete;
  NyAccess& operator=(const NyAccess&) = delete;

  // How long a statement waits while another program writes the file.
  static constexpr int kBusyTimeoutMs = 5000;

  // Opens an existing database file with at least one table (never creates one; an empty or
  // foreign file is refused). Nonzero on success; when it fails because another program kept
  // the file locked for longer than kBusyTimeoutMs, busy() is true.
  int InitADOServer(const std::string& path, const std::string& password = "");
  bool busy() const { return busy_; }
  // Result values as text, row after row, in the statement's column order; NULL reads as "".
  // Positive (the row count) when something matched, 0 otherwise.
  int GetSelData(std::vector<std::string>& values, const std::string& sql);
  // Appends one item per result row to a combo box or list control of `dlg`; the columns of a
  // row are joined with kColumnSeparator. Returns the row count.
  int GetSelData(nyhost::Dialog& dlg, int control_id, const std::string& sql);
  // The whole result as a table; returns the row count.
  int GetSelData(NyStTable& table, const std::string& sql);
  // Runs a statement that returns no rows ("select * into" included). Nonzero on success.
  int ExecuteSQL(const std::string& sql);

  // Nonzero when a table (type "TABLE") or view (type "VIEW") of that name exists.
  int IsTableInDatabase(const std::string& name, const std::string& type = "TABLE");
  // Creates a table with the given columns. Nonzero on success; fails when it exists.
  int CreateTable(const std::string& name, const std::vector<NyStTableField>& fields);
  // Creates `new_name` as a copy (columns, keys and rows) of `template_name`. Nonzero on success.
  int CreateTableFromTemplet(const std::string& new_name, const std::string& template_name);
  // Drops the table. Nonzero on success.
  int DeleteTable(const std::string& name);

  // Transactions for writes of several rows. BeginTrans fails while one is open.
  int BeginTrans();
  int CommitTrans();
  int RollbackTrans();
  bool in_transaction() const;

  void CloseAll();
  bool is_open() const { return db_ != nullptr; }
  const std::string& path() const { return path_; }
  const std::string& last_error() const { return last_error_; }
  sqlite3* handle() const { return db_; }

  // One list-control item filled by GetSelData, split into its columns.
  static std::vector<std::string> SplitItem(const std::string& item);
  // A table or column name quoted for SQLite ("name", inner quotes doubled): any text is safe.
  static std::string QuoteName(const std::string& name);

 private:
  // Runs `sql` (already in SQLite's dialect) row by row; false on any error.
  bool Query(const std::string& sql, std::vector<std::string>* columns,
             std::vector<std::vector<std::string>>& rows);
  bool Exec(const std::string& sql);
  bool Fail(const std::string& message);

  sqlite3* db_ = nullptr;
  std::string path_;
  std::string last_error_;
  bool busy_ = false;
};
