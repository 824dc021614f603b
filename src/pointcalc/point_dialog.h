// The point-method dialog (resource 214): the modeless window that drives the point-by-point
// calculation.
#pragma once

#include "frame/dialog_base.h"

class CNYDrawIsolineDlg : public ModelessDialogBase {
 public:
  static constexpr int kTemplateId = 214;
  static constexpr const char* kSection = "CNYDrawIsolineDlg";

  CNYDrawIsolineDlg() : ModelessDialogBase(kTemplateId) {}

  // Operations of the commands that need this dialog.
  void ShowRowLuminaires();
  void DrawDistribution();
  void CalculateVerticalPlane();
  void SwitchLuminairesOff();
  void SwitchLuminairesOn();
  void PickRectangleRoom();
  void PickPolygonRoom();
  void WriteReport();
  void CalculateGlareAtPoint();

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnDestroy(nyhost::Dialog& dlg) override;

 protected:
  void ShowHelpTopic() override;
};
