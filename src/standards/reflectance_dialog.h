// The surface-reflectance dialog (resource 212, "反射率—岚序软件"): fifteen material buttons, up
// to six colour buttons of the chosen material, "+"/"-" steps; gives the reflectance in percent.
#pragma once

#include <string>

#include "host/dialog.h"

class CNySetReflectivityDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 212;
  static constexpr int kReflectance = 274;
  static constexpr int kMaterialText = 1082;
  static constexpr int kColourText = 1087;
  static constexpr int kFirstMaterial = 1039;  // 1039 … 1053
  static constexpr int kFirstColour = 1056;    // 1056 … 1061
  static constexpr int kPlus = 320;
  static constexpr int kMinus = 321;
  // The fifteen materials in button order.
  static const char* const kMaterials[15];

  int DoModal(nyhost::Dialog* parent);
  double m_dReflectivity = 0;  // percent

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  bool OnKey(nyhost::Dialog& dlg, int key) override;

 private:
  void MaterialChosen(nyhost::Dialog& dlg, const std::string& material);
  void ColourChosen(nyhost::Dialog& dlg, int button);
  void Step(nyhost::Dialog& dlg, double delta);
  std::string material_;
};
