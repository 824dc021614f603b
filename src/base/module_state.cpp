#include "base/module_state.h"

#include <filesystem>
#include <memory>

#include "host/host.h"
#include "support/ny_common.h"
#include "support/ny_ini_file.h"

namespace {
std::unique_ptr<ModuleState> g_state;
}

ModuleState& Module() {
  if (!g_state) g_state = std::make_unique<ModuleState>();
  return *g_state;
}

bool ModuleLoaded() { return g_state != nullptr; }

const void* ModuleAddress() { return reinterpret_cast<const void*>(&ModuleAddress); }

void InitModuleFolders(ModuleState& state, const std::string& module_file) {
  state.RootFolder = NyCommon::GetRootPath(ModuleAddress());
  state.DataFolder = state.RootFolder + "data/";
  state.ModuleFile = module_file;
  std::filesystem::path p(module_file.substr(0, 260));
  std::string base = p.stem().string();
  if (base.empty()) base = "NYLuxora";
  state.SettingsFile = state.DataFolder + base + ".ini";
  state.ColorEffectFile = state.DataFolder + "LXSetColor.syl";
  state.ReportLanguageFile = state.DataFolder + "材料表语言设置.txt";
}

void ShowHelp(const std::string& file, const std::string& topic) {
  if (!ModuleLoaded()) return;
  std::string path = Module().RootFolder + "help/" + file + "/" + topic;
  if (!NyCommon::FileExists(path)) return;
  nyhost::Host::Get().windows().OpenDocument(path);
}

// Used by the state's own reset at unload.
void ResetModuleState() { g_state.reset(); }

namespace {
int g_run_report_language = -1;
}  // namespace

int ReportLanguage() {
  if (g_run_report_language >= 0) return g_run_report_language;
  return NyIniFile::ReadKey("语言设置", "材料表", 0, Module().ReportLanguageFile);
}

void SetRunReportLanguage(int language) { g_run_report_language = language; }
