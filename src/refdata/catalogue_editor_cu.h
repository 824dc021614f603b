// The lumen-method luminaire editor (dialog 208) on table 灯具型号 of NyData.mdb and the
// luminaires' utilization-coefficient tables; built on the catalogue editors' shared base.
#pragma once

#include <string>

#include "refdata/catalogue_editor.h"

// How the editor opens a coefficient table: the table editor lives above this room.
using EditTableFn = void (*)(const std::string& table);

class CCuLuminaireCatalogueDlg : public CCatalogueEditor {
 public:
  static constexpr int kTemplateId = 208;
  static constexpr int kKindCombo = 304;
  static constexpr int kModel = 257;
  static constexpr int kRatio = 256;
  static constexpr int kMakerCombo = 379;
  static constexpr int kPicture = 299;
  static constexpr int kSave = 373;
  static constexpr int kDelete = 248;
  static constexpr int kEditTable = 250;
  static constexpr int kBackup = 384;
  static constexpr int kList = 261;

  explicit CCuLuminaireCatalogueDlg(EditTableFn edit_table);
  void OnInitDialog(nyhost::Dialog& dlg) override;
  // The picture button shows the row's picture file over its caption (the file name).
  void OnPaint(nyhost::Dialog& dlg, int id, nyhost::Painter& painter) override;
  // The coefficient table of the row last clicked: a new luminaire's table starts as its copy.
  const std::string& remembered_table() const { return remembered_; }

 protected:
  void OnButton(nyhost::Dialog& dlg, int id) override;
  void KindChosen(nyhost::Dialog& dlg) override;
  void MakerChosen(nyhost::Dialog& dlg) override;
  void RowClicked(nyhost::Dialog& dlg) override;
  void Reload(nyhost::Dialog& dlg) override;

 private:
  void ListKind(nyhost::Dialog& dlg, const std::string& kind);
  void ShowRow(nyhost::Dialog& dlg, const std::vector<std::string>& row);
  void ShowBitmap(nyhost::Dialog& dlg, const std::string& bitmap);
  void ChooseBitmap(nyhost::Dialog& dlg);
  std::string TableOf(const std::string& kind, const std::string& model) const;
  void Save(nyhost::Dialog& dlg);
  void Delete(nyhost::Dialog& dlg);

  EditTableFn edit_table_;
  std::string remembered_;
  std::string bitmap_;
};

void RunCuLuminaireCatalogueEditor(EditTableFn edit_table);
