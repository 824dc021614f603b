// The effect dialog (resource 234): add and delete effects, choose their colour scale, set the
// absolute range and the recommended ranges, preview the colours; OK writes the effect file.
#pragma once

#include <string>
#include <vector>

#include "draw/effects.h"
#include "host/dialog.h"

namespace nydraw {

class EffectDialog : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 234;

  EffectDialog(std::string file, std::string name)
      : file_(std::move(file)), name_(std::move(name)) {}

  // The dialog's result (kIdOk when the file was written).
  int DoModal();
  const std::string& name() const { return name_; }
  const std::vector<ColourEffect>& effects() const { return effects_; }

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnSelChange(nyhost::Dialog& dlg, int id) override;
  void OnKillFocus(nyhost::Dialog& dlg, int id) override;
  bool OnKey(nyhost::Dialog& dlg, int key) override;
  void OnPaint(nyhost::Dialog& dlg, int id, nyhost::Painter& p) override;

 private:
  ColourEffect* Current();
  void ShowEffect(nyhost::Dialog& dlg);
  bool ReadRange(nyhost::Dialog& dlg);
  void AddEffect(nyhost::Dialog& dlg);
  void DeleteEffect(nyhost::Dialog& dlg);
  void OnOk(nyhost::Dialog& dlg);

  std::string file_, name_;
  std::vector<ColourEffect> effects_;
  int current_ = -1;
};

// Runs the effect dialog over `file`; `name` is the effect to start on and comes back as the
// one chosen. False when it was cancelled or the file could not be used.
bool RunEffectDialog(const std::string& file, std::string& name);

}  // namespace nydraw
