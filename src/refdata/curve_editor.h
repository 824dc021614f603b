// The distribution-curve editor (dialog 216): edits one curve table of ZirIrodoDot.mdb as a grid
// of 19 rows (angle, A-A, B-B) and creates the table when it does not exist yet.
#pragma once

#include <array>
#include <optional>
#include <string>

#include "host/dialog.h"

class CCurveEditDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 216;
  static constexpr int kGridId = 302;
  static constexpr int kRows = 19;  // angles 0, 5, ..., 90

  explicit CCurveEditDlg(std::string table) : table_(std::move(table)) {}

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  bool OnKey(nyhost::Dialog& dlg, int key) override;

  // Writes the grid into the table (validating every cell first); true when everything was
  // written. Shows the messages of a failed check or write.
  bool Save(nyhost::Dialog& dlg);

 private:
  using Rows = std::array<std::array<int, 3>, kRows>;
  bool LoadTable(nyhost::Dialog& dlg);
  std::string table_;
  // The table as it was opened: a changed curve no longer matches a photometric file kept for it.
  std::optional<Rows> loaded_;
};

// Runs the editor modally on `table`; true when the user saved.
bool EditCurveTable(const std::string& table);
