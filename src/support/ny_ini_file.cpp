#include "support/ny_ini_file.h"

#include <SimpleIni.h>
#include <fmt/format.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "host/dialog.h"
#include "host/text_codec.h"
#include "support/ny_common.h"

namespace {

// Case-sensitive keys: Chinese keys must never collide by byte case folding.
using Ini = CSimpleIniCaseA;

bool Load(Ini& ini, const std::string& file) {
  ini.SetUnicode(true);
  ini.SetMultiKey(false);
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::stringstream ss;
  ss << in.rdbuf();
  std::string text = nyhost::LegacyTextToUtf8(ss.str());
  return ini.LoadData(text.data(), text.size()) >= 0;
}

bool Save(Ini& ini, const std::string& file) {
  std::string out;
  ini.SetSpaces(false);
  if (ini.Save(out) < 0) return false;
  return NyCommon::WriteFileAtomic(file, out);
}

bool Write(const std::string& section, const std::string& key, const std::string& value,
           const std::string& file) {
  Ini ini;
  Load(ini, file);
  ini.SetValue(section.c_str(), key.c_str(), value.c_str());
  return Save(ini, file);
}

}  // namespace

std::string NyIniFile::ReadKey(const std::string& section, const std::string& key,
                               const std::string& fallback, const std::string& file) {
  Ini ini;
  if (!Load(ini, file)) return fallback;
  const char* v = ini.GetValue(section.c_str(), key.c_str(), nullptr);
  return v ? std::string(v) : fallback;
}

std::string NyIniFile::ReadKey(const std::string& section, const std::string& key,
                               const char* fallback, const std::string& file) {
  return ReadKey(section, key, std::string(fallback), file);
}

int NyIniFile::ReadKey(const std::string& section, const std::string& key, int fallback,
                       const std::string& file) {
  std::string v = ReadKey(section, key, std::string("\x01"), file);
  if (v == "\x01") return fallback;
  return std::atoi(v.c_str());
}

double NyIniFile::ReadKey(const std::string& section, const std::string& key, double fallback,
                          const std::string& file) {
  std::string v = ReadKey(section, key, std::string("\x01"), file);
  if (v == "\x01") return fallback;
  return std::atof(v.c_str());
}

bool NyIniFile::WriteKey(const std::string& section, const std::string& key,
                         const std::string& value, const std::string& file) {
  return Write(section, key, value, file);
}

bool NyIniFile::WriteKey(const std::string& section, const std::string& key, const char* value,
                         const std::string& file) {
  return Write(section, key, value, file);
}

bool NyIniFile::WriteKey(const std::string& section, const std::string& key, int value,
                         const std::string& file) {
  return Write(section, key, std::to_string(value), file);
}

bool NyIniFile::WriteKey(const std::string& section, const std::string& key, double value,
                         const std::string& file) {
  // Shortest text that reads back as the same double.
  return Write(section, key, fmt::format("{}", value), file);
}

bool NyIniFile::WriteKeys(const std::string& section,
                          const std::vector<std::pair<std::string, std::string>>& keys,
                          const std::string& file) {
  Ini ini;
  Load(ini, file);
  for (const auto& [key, value] : keys) ini.SetValue(section.c_str(), key.c_str(), value.c_str());
  return Save(ini, file);
}

std::vector<std::pair<std::string, std::string>> NyIniFile::ReadSection(const std::string& section,
                                                                        const std::string& file) {
  std::vector<std::pair<std::string, std::string>> out;
  Ini ini;
  if (!Load(ini, file)) return out;
  Ini::TNamesDepend names;
  ini.GetAllKeys(section.c_str(), names);
  names.sort(Ini::Entry::LoadOrder());
  for (const auto& n : names) out.emplace_back(n.pItem, ini.GetValue(section.c_str(), n.pItem, ""));
  return out;
}

bool NyIniFile::GetAllSeg(std::vector<std::string>& sections, const std::string& file) {
  sections.clear();
  Ini ini;
  if (!Load(ini, file)) return false;
  Ini::TNamesDepend names;
  ini.GetAllSections(names);
  names.sort(Ini::Entry::LoadOrder());
  for (const auto& n : names) sections.emplace_back(n.pItem);
  return true;
}

bool NyIniFile::DeleteSeg(const std::string& section, const std::string& file) {
  Ini ini;
  if (!Load(ini, file)) return false;
  if (!ini.Delete(section.c_str(), nullptr)) return false;
  return Save(ini, file);
}

bool NyIniFile::SaveWindowPos(const nyhost::Dialog& dlg, const std::string& section,
                              const std::string& file) {
  Ini ini;
  Load(ini, file);
  ini.SetValue(section.c_str(), "WindowLeft", std::to_string(dlg.left()).c_str());
  ini.SetValue(section.c_str(), "WindowTop", std::to_string(dlg.top()).c_str());
  ini.SetValue(section.c_str(), "WindowState", dlg.minimized() ? "minimized" : "normal");
  return Save(ini, file);
}

bool NyIniFile::LoadWindowPos(nyhost::Dialog& dlg, const std::string& section,
                              const std::string& file) {
  Ini ini;
  if (!Load(ini, file)) return false;
  const char* l = ini.GetValue(section.c_str(), "WindowLeft", nullptr);
  const char* t = ini.GetValue(section.c_str(), "WindowTop", nullptr);
  if (!l || !t) return false;
  dlg.MoveTo(std::atoi(l), std::atoi(t));
  return true;
}
