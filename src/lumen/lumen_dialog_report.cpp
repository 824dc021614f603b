// The lumen dialog's report buttons: "出计算书" fills the template of the report language and
// hands the lines to the word processor; "编辑模板" opens that template.
#include <ctime>
#include <filesystem>

#include "base/module_state.h"
#include "host/host.h"
#include "host/text_codec.h"
#include "lumen/lumen_dialog.h"
#include "lumen/lumen_report.h"
#include "support/ny_common.h"
#include "support/ny_glb.h"
#include "support/ny_ini_file.h"
#include "support/ny_word.h"

namespace {

int Box(const std::string& text, nyhost::MbIcon icon,
        nyhost::MbButtons buttons = nyhost::MbButtons::kOk) {
  return nyhost::Host::Get().windows().MessageBox(kMessageCaption, text, icon, buttons);
}

// Company and user name from setup.ini in the root folder, each at most 2048 bytes as the
// legacy tools stored them; empty when the file is missing (after saying so).
void ReadInstallation(std::string& company, std::string& user) {
  company.clear();
  user.clear();
  const std::string folder = Module().RootFolder;
  std::error_code ec;
  if (folder.empty() || !std::filesystem::is_directory(folder, ec)) return;
  const std::string file = folder + "setup.ini";
  if (!NyCommon::FileExists(file)) {
    Box("配置文件 setup.ini 丢失! 程序无法继续!", nyhost::MbIcon::kWarning);
    return;
  }
  company =
      nyhost::GbkPrefix(NyIniFile::ReadKey("安装信息", "公司名称", std::string(), file), 2047);
  user = nyhost::GbkPrefix(NyIniFile::ReadKey("安装信息", "用户名称", std::string(), file), 2047);
}

}  // namespace

extern "C" void NyLuxoraReportLanguage(int language) { SetRunReportLanguage(language); }

void CZirIrodoDlg::WriteCalculationReport() {
  if (!window_ || !UpdateData(true)) return;
  const bool english = report_language_ == 1;
  std::vector<std::string> lines;  // a template that cannot be read gives an empty document
  NyCommon::ReadTextLines(
      Module().DataFolder + (english ? kEnglishReportTemplate : kReportTemplate), lines);

  LumenReportInput in;
  in.room = state_.room;
  ReadInstallation(in.company, in.designer);
  const nyhost::Dialog& dlg = *window_;
  in.lamp_model1 = dlg.GetItemText(230, dlg.GetCurSel(230));
  if (dlg.IsEnabled(237)) in.lamp_model2 = dlg.GetItemText(237, dlg.GetCurSel(237));
  in.english = english;
  in.edition = edition_;
  const std::time_t now = std::time(nullptr);
  localtime_r(&now, &in.time);
  in.names = names_;
  const std::vector<std::string> paragraphs = LumenReportLines(lines, in);

  auto target = nyhost::Host::Get().windows().FileDialog(
      true, "", english ? "照度计算书(英文).docx" : "照度计算书.docx",
      "Microsoft Word 文档 (*.docx)|*.docx|PDF 文件 (*.pdf)|*.pdf||");
  if (!target) return;
  std::string path = *target;
  const std::string ext = std::filesystem::path(path).extension().string();
  const bool pdf = ext == ".pdf";
  if (!pdf && ext != ".docx") path += ".docx";
  if (NyCommon::FileExists(path)) {
    if (Box("该计算书已存在,是否覆盖?", nyhost::MbIcon::kQuestion, nyhost::MbButtons::kYesNo) !=
        nyhost::kIdYes)
      return;
    // The new document replaces the old one in a single step, so the old one is not deleted
    // first; one that another program holds open is left alone.
    if (NyCommon::IsFileOpenElsewhere(path)) {
      Box("无法覆盖" + path + ":共享冲突.\n源文件或目标文件可能正在使用!", nyhost::MbIcon::kError);
      return;
    }
  }
  if (pdf) {
    std::string error;
    if (!nyhost::Host::Get().reports().WritePdf(LumenReportDocument(paragraphs, in), nullptr, path,
                                               error)) {
      Box("计算书无法保存:" + path + "\n" + error, nyhost::MbIcon::kError);
      return;
    }
    NyGlb::OpenDocument(path);
    return;
  }
  NyWord word;
  word.NewFile();
  word.WriteContent(paragraphs, 10.0, "宋体");
  if (!word.SaveAsFile(path)) {
    Box("计算书无法保存:" + path + "\n" + word.error(), nyhost::MbIcon::kError);
    return;
  }
  word.SetAppVisible(true);
}

void CZirIrodoDlg::EditReportTemplate() {
  const std::string file =
      Module().DataFolder + (report_language_ == 0 ? kReportTemplate : kEnglishReportTemplate);
  if (!NyCommon::FileExists(file)) {
    Box("模板文件" + file + "不存在!", nyhost::MbIcon::kWarning);
    return;
  }
  NyGlb::OpenDocument(file);
}
