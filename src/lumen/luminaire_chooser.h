// The lumen method's luminaire chooser (resource 201, "灯具设定—岚序软件") and the scheme-name
// entry (resource 236). Both modal.
#pragma once

#include <string>

#include "host/dialog.h"

class CLuminaireChooserDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 201;

  // Given the effective reflectances (fractions) and the RCR the coefficient is looked up for.
  CLuminaireChooserDlg(double ceiling, double wall, double rcr, double cu)
      : m_dCu(cu), ceiling_(ceiling), wall_(wall), rcr_(rcr) {}
  int DoModal(nyhost::Dialog* parent);

  // The choice on OK.
  std::string m_sModel, m_sLamp, m_sTable;
  double m_dSpacingRatio = 0;
  double m_dCu;  // also the coefficient shown at the start

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnSelChange(nyhost::Dialog& dlg, int id) override;
  void OnKillFocus(nyhost::Dialog& dlg, int id) override;
  void OnPaint(nyhost::Dialog& dlg, int id, nyhost::Painter& painter) override;

 private:
  void KindChosen(nyhost::Dialog& dlg);
  void ModelChosen(nyhost::Dialog& dlg);
  void AddDesignation(nyhost::Dialog& dlg);
  void RemoveDesignation(nyhost::Dialog& dlg);
  void WriteDesignations(nyhost::Dialog& dlg);

  double ceiling_, wall_, rcr_;
  std::string picture_;  // the chosen luminaire's picture file; empty when it has none
};

// The coefficient lookup window (resource 202): the chooser's reflectances, room index, table and
// coefficient, which the user may correct.
class CCuLookupDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 202;
  CCuLookupDlg(double ceiling, double wall, double rcr, std::string table, double cu)
      : m_dCu(cu), ceiling_(ceiling), wall_(wall), rcr_(rcr), table_(std::move(table)) {}
  int DoModal(nyhost::Dialog* parent);
  double m_dCu;
  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;

 private:
  double ceiling_, wall_, rcr_;
  std::string table_;
};

class CSchemeNameDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 236;
  explicit CSchemeNameDlg(std::string name) : m_sName(std::move(name)) {}
  int DoModal(nyhost::Dialog* parent);
  std::string m_sName;
  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
};
