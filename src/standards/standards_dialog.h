// The illuminance-standards dialog (resource 207, "照度标准—岚序软件"): a tree of categories and
// places from NyData.mdb; a click on a place gives its standard illuminance, power-density limits,
// glare limit and colour rendering. The right-click menu extends or prunes the standard.
#pragma once

#include <string>

#include "host/dialog.h"
#include "standards/edition.h"

class CNyStandardDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 207;
  static constexpr const char* kSection = "照度标准—岚序软件";

  // Control ids.
  static constexpr int kTree = 236;
  static constexpr int kStandLx = 360;
  static constexpr int kStandLPD = 361;
  static constexpr int kTagLPD = 362;
  static constexpr int kUGR = 363;
  static constexpr int kRa = 364;
  static constexpr int kEdition = 371;  // the edition of the standard (drop list)

  // A second settings file and section that remember the selection too (the lumen method's
  // scheme file and scheme name).
  void SetCallerSettings(const std::string& file, const std::string& section) {
    caller_file_ = file;
    caller_section_ = section;
  }
  // Runs the dialog modally with the module's resources; kIdOk or kIdCancel.
  int DoModal();

  // The values when the dialog closed (by OK or otherwise).
  int m_nStandLx = 0;
  double m_dStandLPD = 0;
  double m_dTagLPD = 0;
  int m_nUGR = 0;
  std::string m_sRa;
  // The edition the values come from, and the work-area uniformity it requires (2004: 0.7).
  StandardEdition m_edition = StandardEdition::k2004;
  double m_dU0 = 0.7;

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnSelChange(nyhost::Dialog& dlg, int id) override;
  void OnTreeRightClick(nyhost::Dialog& dlg, int id, int item) override;
  bool OnKey(nyhost::Dialog& dlg, int key) override;

 private:
  void FillTree(nyhost::Dialog& dlg);
  void LoadRemembered(const std::string& file, const std::string& section);
  void SaveRemembered(const std::string& file, const std::string& section) const;
  void ShowValues(nyhost::Dialog& dlg) const;
  bool ReadValues(const nyhost::Dialog& dlg);
  void PlaceClicked(nyhost::Dialog& dlg, int item);
  void NewCategory(nyhost::Dialog& dlg);
  void NewPlace(nyhost::Dialog& dlg, int category_item);
  void DeletePlace(nyhost::Dialog& dlg, int place_item);
  void DeleteCategory(nyhost::Dialog& dlg, int category_item);
  void EditionChosen(nyhost::Dialog& dlg);
  // The table that holds a category's places in the current edition.
  std::string TableOf(const std::string& category) const;

  std::string caller_file_, caller_section_;
  std::string category_, place_;  // remembered selection
  bool db_ok_ = false;
};

// The name-entry dialog of a new category (resource 217).
class CNyNewNameDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 217;
  static constexpr int kName = 1001;
  std::string m_sName;
  void OnClick(nyhost::Dialog& dlg, int id) override;
};

// The entry dialog of a new place with its values (resource 218).
class CNyNewPlaceDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 218;
  static constexpr int kName = 1001;
  static constexpr int kLx = 1002;
  static constexpr int kLPD = 1003;
  static constexpr int kTagLPD = 1004;
  static constexpr int kUGR = 1005;
  static constexpr int kRa = 1006;
  std::string m_sName;
  int m_nLx = 0;
  double m_dLPD = 0, m_dTagLPD = 0, m_dUGR = 0;
  int m_nRa = 80;
  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
};
