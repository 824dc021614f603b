// Batch edit of luminaires of one name and model (resource 235): a one-row table with the values
// the selected luminaires share; every filled cell is applied to all of them on "确定".
#pragma once

#include <string>
#include <vector>

#include "host/dialog.h"
#include "refdata/luminaire_record.h"

class CNyBatchEditDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 235;
  static constexpr int kGridId = 4513;

  explicit CNyBatchEditDlg(std::vector<LuminaireRecord> records) : records_(std::move(records)) {}
  // Runs modally; kIdOk when the records were changed.
  int DoModal(nyhost::Dialog* parent);
  const std::vector<LuminaireRecord>& records() const { return records_; }

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnCellClick(nyhost::Dialog& dlg, int id, int row, int col) override;
  void OnCellEndEdit(nyhost::Dialog& dlg, int id, int row, int col) override;
  bool OnKey(nyhost::Dialog& dlg, int key) override;

 private:
  bool Apply(const nyhost::Dialog& dlg);
  std::vector<LuminaireRecord> records_;
  std::vector<std::string> initial_;  // the batch row as the dialog opened
};

// The text the batch row shows in column `col`: the common value of all rows, or empty.
std::string CommonCell(const std::vector<std::string>& cells, int col);
