// The utilization-coefficient table editor (resource 210, "编辑利用系数—岚序软件"): one
// luminaire's table as a 10 × 10 grid under the reflectance headings of its series, written back
// to NyData.mdb (created when missing) in one transaction. Also the table's matrix view and the
// headings of the two series, which the coefficient lookup shares.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "host/dialog.h"

class NyAccess;

// Ceiling values of the series' ten columns, highest first, and the wall values.
const std::array<int, 10>& CuCeilingColumns(bool eighty_series);
const std::array<int, 10>& CuWallColumns();

// The 10 × 10 view of a table: [pair position][RCR - 1], highest reflectances first, (0,0) last.
using CuMatrix = std::array<std::array<double, 10>, 10>;
// Reads the 100 rows in key order; other counts show the row-count messages and give none.
std::optional<CuMatrix> ReadCuMatrix(NyAccess* db, const std::string& name);

class CCuTableEditorDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 210;
  static constexpr int kGrid = 301;
  static constexpr int kSeries = 310;
  // Longest name of a table this editor creates, in characters.
  static constexpr std::size_t kMaxNewName = 30;

  explicit CCuTableEditorDlg(std::string table) : table_(std::move(table)) {}
  int DoModal();
  bool eighty_series() const { return eighty_; }

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;

 private:
  void ShowHeadings(nyhost::Dialog& dlg);
  bool Save(nyhost::Dialog& dlg);

  std::string table_;
  bool eighty_ = false;
};

// Opens the editor on a table (the lumen catalogue editor's "编辑利用系数表").
void EditCuTable(const std::string& table);
