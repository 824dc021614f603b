// The module's state: folders, settings files, the two calculation dialogs and the database
// connection cache. One instance per loaded module, created by ExModuleLoad.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>

class NyAccess;
class CNYDrawIsolineDlg;
class CZirIrodoDlg;

struct ModuleState {
  std::string RootFolder;  // ends with "/"
  std::string DataFolder;  // ends with "/"
  std::string SettingsFile;
  std::string ColorEffectFile;
  std::string ReportLanguageFile;
  CNYDrawIsolineDlg* PointDialog = nullptr;
  CZirIrodoDlg* LyxsDialog = nullptr;
  // Lower-cased full path -> open connection, or null when opening that file failed once.
  std::unordered_map<std::string, NyAccess*> DbConnectionCache;
  std::string ModuleFile;  // full path of the module file

  ModuleState() { DbConnectionCache.reserve(10); }
};

// The state of the loaded module; valid between ExModuleLoad and ExModuleUnload.
ModuleState& Module();
bool ModuleLoaded();

// The address the module uses to find its own file (and so its folders).
const void* ModuleAddress();

// Caption of every message box of the module.
inline constexpr const char* kMessageCaption = "岚序软件";

// Fills the state's folders and file names (load steps 3 to 5).
void InitModuleFolders(ModuleState& state, const std::string& module_file);

// The language of both calculation reports: 1 English, anything else Chinese. It is 材料表 of
// the language switch file, unless a batch run chose one for itself (`language` >= 0; -1 goes
// back to the file).
int ReportLanguage();
void SetRunReportLanguage(int language);

// Opens a help topic: `file` relative to RootFolder + "help/", `topic` inside it. Nothing happens
// when the desktop has no opener.
void ShowHelp(const std::string& file, const std::string& topic);
