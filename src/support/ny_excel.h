// Spreadsheet report output: fills cells of a copy of an .xlsx template (libzip + pugixml).
#pragma once

#include <string>

class NyExcel {
 public:
  // Copies the template to `output` and opens the copy for filling.
  bool Open(const std::string& template_path, const std::string& output);
  bool SelectSheet(const std::string& name);
  bool SetCell(int row, int col, const std::string& text);  // 1-based
  bool SetCell(int row, int col, double value);
  bool Save();
  const std::string& error() const { return error_; }

 private:
  std::string output_;
  std::string sheet_;
  std::string error_;
};
