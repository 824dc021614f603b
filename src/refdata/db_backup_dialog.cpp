#include "refdata/db_backup_dialog.h"

#include <filesystem>
#include <vector>

#include "base/module_state.h"
#include "host/host.h"
#include "host/text_util.h"
#include "refdata/mdb_import.h"
#include "refdata/photometry_import.h"
#include "refdata/reference_db.h"
#include "resources/templates.h"
#include "support/ny_access.h"
#include "support/ny_common.h"
#include "support/ny_ini_file.h"

namespace fs = std::filesystem;

namespace {

// The databases that hold the user's extensions, in the order they are checked; the first is
// known to the dialog as "NYDATA.mdb" (names compare without regard to case).
const std::vector<std::string>& DatabaseNames() {
  static const std::vector<std::string> names = {"NYDATA.mdb", kZirIrodoDotDb};
  return names;
}

// The name the program gives a database ("NYDATA.mdb" is NyData.mdb).
std::string CanonicalName(const std::string& name) {
  return nyhost::ToLowerAscii(name) == nyhost::ToLowerAscii(kNyDataDb) ? kNyDataDb : name;
}

// The file a database of `folder` is called by: its own spelling when present.
fs::path FileIn(const std::string& folder, const std::string& name) {
  std::string found = NyCommon::FindFileNoCase(folder, name);
  return found.empty() ? fs::path(folder) / CanonicalName(name) : fs::path(found);
}

// Whether `path` is a reference database the program can work with: a database file holding
// the tables the program reads from it.
bool IsUsableDatabase(const fs::path& path, const std::string& name) {
  NyAccess probe;
  if (!probe.InitADOServer(path.string())) return false;
  for (const auto& table : RequiredTables(CanonicalName(name)))
    if (!probe.IsTableInDatabase(table, "TABLE")) return false;
  return true;
}

std::string WithoutTrailingSeparator(std::string folder) {
  while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\')) folder.pop_back();
  return folder;
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += (out.empty() ? "" : "\n") + line;
  return out;
}

// The kept photometric files go with the point-method catalogue, whose curves name them: copies
// every file of `from` into `to`, a failure per file that could not be copied.
void CopyPhotometry(const fs::path& from, const fs::path& to, std::vector<std::string>& failures) {
  std::error_code ec;
  if (!fs::is_directory(from, ec)) return;
  fs::create_directories(to, ec);
  for (const auto& entry : fs::directory_iterator(from, ec)) {
    if (!entry.is_regular_file(ec)) continue;
    std::string error;
    if (!NyCommon::CopyFileAtomic(entry.path().string(), (to / entry.path().filename()).string(),
                                  &error))
      failures.push_back("<" + entry.path().string() + ">: " + error);
  }
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

bool CDbExImPortDlg::FolderChosen() const {
  if (!nyhost::Trim(folder_).empty()) return true;
  Message("请先填写或选择导入/备份的文件夹!", nyhost::MbIcon::kWarning);
  return false;
}

void CDbExImPortDlg::Backup() {
  if (!FolderChosen()) return;
  std::vector<std::string> failures;
  std::error_code ec;
  fs::create_directories(folder_, ec);
  for (const auto& name : DatabaseNames()) {
    fs::path source = FileIn(Module().DataFolder, name);
    if (!fs::is_regular_file(source, ec)) continue;
    // An older copy of any letter case is replaced in place.
    fs::path target = FileIn(folder_, source.filename().string());
    std::string error;
    if (!NyCommon::CopyFileAtomic(source.string(), target.string(), &error))
      failures.push_back("<" + source.string() + ">: " + error);
  }
  CopyPhotometry(Module().DataFolder + kPhotometryFolder, fs::path(folder_) / kPhotometryFolder,
                 failures);
  if (failures.empty())
    Message("备份操作完成!", nyhost::MbIcon::kInformation);
  else
    Message("备份失败,下列文件没有复制:\n" + Lines(failures), nyhost::MbIcon::kError);
}

void CDbExImPortDlg::Import() {
  if (!FolderChosen()) return;
  // The files are about to be replaced: no connection may keep the old ones.
  CloseAllConnections();
  std::vector<fs::path> sources;
  for (const auto& name : DatabaseNames()) {
    std::string source = NyCommon::FindFileNoCase(folder_, name);
    if (source.empty())
      Message("<" + (fs::path(folder_) / name).string() + ">文件不存在!", nyhost::MbIcon::kWarning);
    sources.emplace_back(source);
  }
  std::vector<std::string> failures;
  for (std::size_t i = 0; i < sources.size(); ++i) {
    if (sources[i].empty()) continue;
    const std::string& name = DatabaseNames()[i];
    // A file that is not a database would leave the program without its reference data.
    if (!IsUsableDatabase(sources[i], name)) {
      failures.push_back("<" + sources[i].string() + ">: 不是有效的数据库文件");
      continue;
    }
    std::string error;
    if (!NyCommon::CopyFileAtomic(sources[i].string(), FileIn(Module().DataFolder, name).string(),
                                  &error))
      failures.push_back("<" + sources[i].string() + ">: " + error);
    else if (name == kZirIrodoDotDb)
      CopyPhotometry(fs::path(folder_) / kPhotometryFolder,
                     Module().DataFolder + kPhotometryFolder, failures);
  }
  if (failures.empty())
    Message("导入操作完成!", nyhost::MbIcon::kInformation);
  else
    Message("导入失败,下列文件没有导入,原有数据保持不变:\n" + Lines(failures),
            nyhost::MbIcon::kError);
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
