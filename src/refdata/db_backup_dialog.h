// Database import and backup (dialog 222): copies NyData.mdb and ZirIrodoDot.mdb to a backup
// folder, or copies them from a folder into the data folder.
#pragma once

#include <string>

#include "host/dialog.h"

class CDbExImPortDlg : public nyhost::DialogController {
 public:
  static constexpr int kTemplateId = 222;
  static constexpr int kImportRadio = 378;
  static constexpr int kBackupRadio = 379;
  static constexpr int kLabel = 386;
  static constexpr int kFolderEdit = 352;
  static constexpr int kBrowse = 383;
  static constexpr int kStart = 376;
  static constexpr const char* kSection = "NyDlgDbExImPort";
  static constexpr const char* kFolderKey = "导出路径";

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnEditChange(nyhost::Dialog& dlg, int id) override;
  void OnDestroy(nyhost::Dialog& dlg) override;

  int direction() const { return direction_; }  // 0 import, 1 backup
  const std::string& folder() const { return folder_; }

  // The two operations of "开始". Each refuses an empty folder, names every file it could not
  // copy and reports completion only when nothing failed.
  void Backup();
  void Import();

 private:
  bool FolderChosen() const;
  void SetDirection(nyhost::Dialog& dlg, int direction);

  int direction_ = 0;
  std::string folder_;
};

// Runs the dialog modally (the catalogue editors' "数据库备份" buttons).
void RunDbImportBackupDialog();
