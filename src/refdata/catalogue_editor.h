// The catalogue editors: the light sources of NyData.mdb (dialog 209) and the point-method
// luminaires of ZirIrodoDot.mdb with their distribution-curve tables (dialog 221). Both are a kind
// and a manufacturer combo (filters that double as edit fields) above a list of catalogue rows,
// edit fields for one row, and buttons to save, delete, edit the row's table and open the
// database backup; CCatalogueEditor holds what they share.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "host/dialog.h"
#include "refdata/curve_preview.h"

class NyAccess;

// Runs the editors modally (the calculation dialogs' "光源扩充" and "灯具扩充" buttons).
void RunLampCatalogueEditor();
void RunDotLuminaireCatalogueEditor();

class CCatalogueEditor : public nyhost::DialogController {
 public:
  // First entry of every manufacturer combo: no manufacturer filter.
  static constexpr const char* kAllMakers = "全部";
  static constexpr const char* kGeneral = "通用";

  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnSelChange(nyhost::Dialog& dlg, int id) override;
  bool OnKey(nyhost::Dialog& dlg, int key) override;

 protected:
  struct Ids {
    int kind_combo, maker_combo, list, backup;
  };
  // `db` gives the catalogue's connection; asked anew for every operation, because the backup
  // dialog's import closes all connections.
  CCatalogueEditor(Ids ids, NyAccess* (*db)()) : ids_(ids), db_(db) {}

  virtual void OnButton(nyhost::Dialog& dlg, int id) = 0;
  virtual void KindChosen(nyhost::Dialog& dlg) = 0;
  virtual void MakerChosen(nyhost::Dialog& dlg) = 0;
  virtual void RowClicked(nyhost::Dialog& dlg) = 0;
  // After the backup dialog: the files may have been replaced by an import.
  virtual void Reload(nyhost::Dialog& dlg) = 0;

  NyAccess* Db() const { return db_(); }
  const Ids& ids() const { return ids_; }

  // Message boxes with the module's caption; Ask is a yes/no question, true for yes.
  static void Message(const std::string& text, nyhost::MbIcon icon);
  static bool Ask(const std::string& text);

  // The text of an edit or combo field, blanks at both ends removed.
  static std::string Field(const nyhost::Dialog& dlg, int id);
  // Selects the item of that text, or (absent) shows the text with no item selected.
  static void SelectText(nyhost::Dialog& dlg, int id, const std::string& text);
  static void AddMissing(nyhost::Dialog& dlg, int id, const std::string& text);
  static void RemoveItem(nyhost::Dialog& dlg, int id, const std::string& text);
  // Adds the first value of each result row once, skipping empty ones.
  void AddQueryValues(nyhost::Dialog& dlg, int id, const std::string& sql) const;

  // The manufacturer combo: "全部" (selected), then the manufacturers `sql` returns.
  void FillMakers(nyhost::Dialog& dlg, const std::string& sql) const;
  // The list: one row per result row.
  void FillList(nyhost::Dialog& dlg, const std::string& sql) const;
  // The columns of the selected list row; empty when none is selected.
  std::vector<std::string> SelectedRow(const nyhost::Dialog& dlg) const;
  // The selected row to delete when it has at least `columns` columns; otherwise warns with
  // `none_chosen` and gives an empty row.
  std::vector<std::string> RowToDelete(const nyhost::Dialog& dlg, std::size_t columns,
                                       const char* none_chosen) const;
  // The chosen manufacturer filter: the selected item, "全部" when none is selected.
  std::string MakerFilter(const nyhost::Dialog& dlg) const;

 private:
  Ids ids_;
  NyAccess* (*db_)();
};

// Light sources (dialog 209) on table 光源 of NyData.mdb.
class CLampCatalogueDlg : public CCatalogueEditor {
 public:
  static constexpr int kTemplateId = 209;
  static constexpr int kKindCombo = 305;
  static constexpr int kModel = 296;
  static constexpr int kPower = 294;
  static constexpr int kFlux = 295;
  static constexpr int kMakerCombo = 378;
  static constexpr int kSave = 292;
  static constexpr int kDelete = 293;
  static constexpr int kBackup = 385;
  static constexpr int kList = 229;

  CLampCatalogueDlg();
  void OnInitDialog(nyhost::Dialog& dlg) override;

 protected:
  void OnButton(nyhost::Dialog& dlg, int id) override;
  void KindChosen(nyhost::Dialog& dlg) override;
  void MakerChosen(nyhost::Dialog& dlg) override;
  void RowClicked(nyhost::Dialog& dlg) override;
  void Reload(nyhost::Dialog& dlg) override;

 private:
  void Save(nyhost::Dialog& dlg);
  void Delete(nyhost::Dialog& dlg);
  void ListKind(nyhost::Dialog& dlg, const std::string& kind);
};

// Point-method luminaires (dialog 221) on table 灯具型号 of ZirIrodoDot.mdb and their curve
// tables. The preview (picture 375) shows the curve of the row in the edit fields.
class CDotLuminaireCatalogueDlg : public CCatalogueEditor {
 public:
  static constexpr int kTemplateId = 221;
  static constexpr int kKindCombo = 304;
  static constexpr int kModel = 381;
  static constexpr int kMakerCombo = 379;
  static constexpr int kPicture = 375;
  static constexpr int kAdd = 247;
  static constexpr int kSave = 373;
  static constexpr int kDelete = 248;
  static constexpr int kEditCurve = 250;
  static constexpr int kBackup = 384;
  static constexpr int kList = 261;
  static constexpr int kImportFile = 390;
  // Pseudo-kind of the kind combo: every catalogue row.
  static constexpr const char* kAllKinds = "全部";

  CDotLuminaireCatalogueDlg();
  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnPaint(nyhost::Dialog& dlg, int id, nyhost::Painter& painter) override;

  // The curve table of the row last clicked: a new luminaire's curve starts as a copy of it.
  const std::string& remembered_curve() const { return remembered_; }

 protected:
  void OnButton(nyhost::Dialog& dlg, int id) override;
  void KindChosen(nyhost::Dialog& dlg) override;
  void MakerChosen(nyhost::Dialog& dlg) override;
  void RowClicked(nyhost::Dialog& dlg) override;
  void Reload(nyhost::Dialog& dlg) override;

 private:
  void FillKinds(nyhost::Dialog& dlg);
  void ListKind(nyhost::Dialog& dlg, const std::string& kind);
  void ShowRow(nyhost::Dialog& dlg, const std::vector<std::string>& row);
  void ShowPreview(nyhost::Dialog& dlg, const std::string& kind, const std::string& model);
  std::string CurveOf(const std::string& kind, const std::string& model) const;
  void Save(nyhost::Dialog& dlg, bool adding);
  void Delete(nyhost::Dialog& dlg);
  void EditCurve(nyhost::Dialog& dlg);
  // An IES or EULUMDAT file into both catalogues, under the kind and maker of the combos.
  void ImportFile(nyhost::Dialog& dlg);
  void ShowLuminaire(nyhost::Dialog& dlg, const std::string& kind, const std::string& model);

  std::string remembered_;
  PreviewCurve preview_;
};
