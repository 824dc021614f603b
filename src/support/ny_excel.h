// Spreadsheet output as the module drives it: one workbook opened through the host's office
// port, cells of its first worksheet addressed as the spreadsheet does ("M1", "AA3").
#pragma once

#include <memory>
#include <string>

#include "host/ports.h"

class NyExcel {
 public:
  // Letters of a 1-based column: 1..26 "A".."Z"; above, (n - 1) / 26 then n mod 26 with 0 as "Z".
  static std::string ColumnName(int col);
  static std::string CellName(int row, int col) { return ColumnName(col) + std::to_string(row); }

  // Opens the workbook at path; false with error() set when the office port cannot.
  bool Open(const std::string& path);
  // The cell's displayed text (empty without a workbook or cell).
  std::string GetText(int row, int col) const;
  bool SetText(int row, int col, const std::string& text);
  bool SetInt(int row, int col, long value);
  bool SetDouble(int row, int col, double value);
  void HideRows(int first, int last);
  void HideColumns(int first, int last);
  bool Save();
  void Close() { book_.reset(); }
  const std::string& error() const { return error_; }

 private:
  std::unique_ptr<nyhost::Workbook> book_;
  std::string error_;
};
