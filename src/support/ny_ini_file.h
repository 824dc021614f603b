// Profile (INI) files through SimpleIni. Written as UTF-8; files written in code page 936 by
// older versions are read transparently. Every write replaces the file atomically.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace nyhost {
class Dialog;
}

class NyIniFile {
 public:
  static std::string ReadKey(const std::string& section, const std::string& key,
                             const std::string& fallback, const std::string& file);
  static std::string ReadKey(const std::string& section, const std::string& key,
                             const char* fallback, const std::string& file);
  static int ReadKey(const std::string& section, const std::string& key, int fallback,
                     const std::string& file);
  static double ReadKey(const std::string& section, const std::string& key, double fallback,
                        const std::string& file);

  static bool WriteKey(const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file);
  static bool WriteKey(const std::string& section, const std::string& key, const char* value,
                       const std::string& file);
  static bool WriteKey(const std::string& section, const std::string& key, int value,
                       const std::string& file);
  static bool WriteKey(const std::string& section, const std::string& key, double value,
                       const std::string& file);

  // Several keys of one section in one atomic rewrite of the file (existing keys keep their
  // place, new ones are appended in the given order).
  static bool WriteKeys(const std::string& section,
                        const std::vector<std::pair<std::string, std::string>>& keys,
                        const std::string& file);
  // Every key of a section with its value; empty when the file or section is missing.
  static std::vector<std::pair<std::string, std::string>> ReadSection(const std::string& section,
                                                                      const std::string& file);

  // Section names in file order.
  static bool GetAllSeg(std::vector<std::string>& sections, const std::string& file);
  static bool DeleteSeg(const std::string& section, const std::string& file);

  // Window position under keys "WindowLeft", "WindowTop", "WindowState".
  static bool SaveWindowPos(const nyhost::Dialog& dlg, const std::string& section,
                            const std::string& file);
  static bool LoadWindowPos(nyhost::Dialog& dlg, const std::string& section,
                            const std::string& file);
};
