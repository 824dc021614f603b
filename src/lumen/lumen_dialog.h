// The utilization-coefficient (lumen method) dialog (resource 215).
#pragma once

#include "base/dialog_base.h"

class CZirIrodoDlg : public ModelessDialogBase {
 public:
  static constexpr int kTemplateId = 215;
  static constexpr const char* kSection = "CZirIrodoDlg";

  CZirIrodoDlg() : ModelessDialogBase(kTemplateId) {}

  void PickRectangleRoom();
  void PickPolygonRoom();

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnDestroy(nyhost::Dialog& dlg) override;

 protected:
  void ShowHelpTopic() override;
};
