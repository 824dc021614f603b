// The distribution-curve chooser (dialog 219): pick the curve of a catalogue luminaire of
// ZirIrodoDot.mdb, with a preview of its A-A and B-B curves.
#pragma once

#include <string>
#include <vector>

#include "host/dialog.h"
#include "refdata/curve_preview.h"

// Shows the chooser modally with `prompt`. On entry `curve_table` is the current curve (may be
// empty; when catalogue rows use it, their kind and manufacturer are preselected). True with the
// chosen curve table in `curve_table` when the user confirmed; false leaves it unchanged.
bool ChooseSubstituteCurve(const std::string& prompt, std::string& curve_table);

class CCurveSelectDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 219;
  static constexpr int kPrompt = 354;
  static constexpr int kKindCombo = 304;
  static constexpr int kMakerCombo = 379;
  static constexpr int kList = 353;
  static constexpr int kPreview = 376;
  static constexpr const char* kAllMakers = "全部";

  CCurveSelectDlg(std::string prompt, std::string current)
      : prompt_(std::move(prompt)), current_(std::move(current)) {}

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnDoubleClick(nyhost::Dialog& dlg, int id) override;
  void OnSelChange(nyhost::Dialog& dlg, int id) override;
  void OnPaint(nyhost::Dialog& dlg, int id, nyhost::Painter& painter) override;
  bool OnKey(nyhost::Dialog& dlg, int key) override;

  const std::string& chosen() const { return chosen_; }
  const PreviewCurve& preview() const { return preview_; }

 private:
  void FillMakers(nyhost::Dialog& dlg, const std::string& kind);
  void FillList(nyhost::Dialog& dlg);
  void ShowPreview(nyhost::Dialog& dlg);
  bool Choose(nyhost::Dialog& dlg);

  std::string prompt_;
  std::string current_;
  std::string chosen_;
  PreviewCurve preview_;
};
