#include "refdata/db_backup_dialog.h"

#include <filesystem>
#include <vector>

#include "base/module_state.h"
#include "host/host.h"
#include "host/text_util.h"
#include "refdata/file_copy.h"
#include "refdata/reference_db.h"
#include "resources/templates.h"
#include "support/ny_access.h"
#include "support/ny_ini_file.h"

namespace fs = std::filesystem;

namespace {

// The databases that hold the user's extensions, in the order they are checked; the first is
// known to the dialog as "NYDATA.mdb" (names compare without regard to case).
const std::vector<std::string>& DatabaseNames() {
  static const std::vector<std::string> names = {"NYDATA.mdb", kZirIrodoDotDb};
  return names;
}

// The file a database of the data folder is called by (its own spelling when present).
fs::path DataFolderFile(const std::string& name) {
  fs::path folder = Module().DataFolder;
  fs::path found = FindFileNoCase(folder, name);
  if (!found.empty()) return found;
  return folder / (nyhost::ToLowerAscii(name) == "nydata.mdb" ? std::string(kNyDataDb) : name);
}

std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

void Message(const std::string& text, nyhost::MbIcon icon) {
  nyhost::Host::Get().windows().MessageBox(kMessageCaption, text, icon, nyhost::MbButtons::kOk);
}

}  // namespace

void CDbExImPortDlg::OnInitDialog(nyhost::Dialog& dlg) {
  folder_ = WithoutTrailingSeparator(NyIniFile::ReadKey(
      kSection, kFolderKey, Module().RootFolder + "Bak/Db", Module().SettingsFile));
  dlg.SetText(kFolderEdit, folder_);
  SetDirection(dlg, 0);
}

void CDbExImPortDlg::SetDirection(nyhost::Dialog& dlg, int direction) {
  direction_ = direction;
  dlg.SetCheck(kImportRadio, direction == 0 ? 1 : 0);
  dlg.SetCheck(kBackupRadio, direction == 1 ? 1 : 0);
  dlg.SetText(kLabel, direction == 0 ? "从...导入" : "备份到...");
}

void CDbExImPortDlg::OnEditChange(nyhost::Dialog& dlg, int id) {
  if (id == kFolderEdit) folder_ = WithoutTrailingSeparator(dlg.GetText(kFolderEdit));
}

void CDbExImPortDlg::OnClick(nyhost::Dialog& dlg, int id) {
  switch (id) {
    case kImportRadio:
      SetDirection(dlg, 0);
      break;
    case kBackupRadio:
      SetDirection(dlg, 1);
      break;
    case kBrowse:
      if (auto chosen = dlg.windows().FolderDialog("当前选择的目录:" + folder_, folder_)) {
        folder_ = WithoutTrailingSeparator(*chosen);
        dlg.SetText(kFolderEdit, folder_);
      }
      break;
    case kStart:
      folder_ = WithoutTrailingSeparator(dlg.GetText(kFolderEdit));
      if (direction_ == 1)
        Backup();
      else
        Import();
      break;
    case nyhost::kIdCancel:
      dlg.EndDialog(nyhost::kIdCancel);
      break;
    default:
      break;
  }
}

void CDbExImPortDlg::Backup() {
  std::error_code ec;
  fs::create_directories(folder_, ec);
  for (const auto& name : DatabaseNames()) {
    fs::path source = DataFolderFile(name);
    if (!fs::is_regular_file(source, ec)) continue;
    // An older copy of any letter case is replaced in place.
    fs::path target = FindFileNoCase(folder_, name);
    if (target.empty()) target = fs::path(folder_) / source.filename();
    CopyFileAtomic(source, target);
  }
  Message("备份操作完成!", nyhost::MbIcon::kInformation);
}

void CDbExImPortDlg::Import() {
  // The files are about to be replaced: no connection may keep the old ones.
  CloseAllConnections();
  std::vector<fs::path> sources;
  for (const auto& name : DatabaseNames()) {
    fs::path source = FindFileNoCase(folder_, name);
    if (source.empty())
      Message("<" + (fs::path(folder_) / name).string() + ">文件不存在!",
              nyhost::MbIcon::kWarning);
    sources.push_back(source);
  }
  for (std::size_t i = 0; i < sources.size(); ++i) {
    if (sources[i].empty()) continue;
    // A file that is not a database would leave the program without its reference data.
    NyAccess probe;
    if (!probe.InitADOServer(sources[i].string())) {
      Message("<" + sources[i].string() + ">不是有效的数据库文件,未导入!", nyhost::MbIcon::kError);
      continue;
    }
    probe.CloseAll();
    CopyFileAtomic(sources[i], DataFolderFile(DatabaseNames()[i]));
  }
  Message("导入操作完成!", nyhost::MbIcon::kInformation);
}

void CDbExImPortDlg::OnDestroy(nyhost::Dialog&) {
  NyIniFile::WriteKey(kSection, kFolderKey, folder_, Module().SettingsFile);
}

void RunDbImportBackupDialog() {
  nyhost::DialogTemplate tpl = nyres::DialogTemplateOf(CDbExImPortDlg::kTemplateId);
  if (tpl.id == 0) return;
  CDbExImPortDlg controller;
  nyhost::Host::Get().windows().RunModal(tpl, controller);
}
