// Folders of the module and file helpers.
//
// RootFolder is the user's own copy of the program data: $NYLUXORA_HOME, else
// $XDG_DATA_HOME/nyluxora/, else ~/.local/share/nyluxora/. It is seeded on first use (and any file
// missing later is copied in) from the shipped, read-only data beside the module:
// <module dir>/../share/nyluxora/ ($NYLUXORA_SHARE overrides). DataFolder is RootFolder + "data/".
#pragma once

#include <string>

class NyCommon {
 public:
  // Both end with "/". The module address locates the shipped data.
  static std::string GetRootPath(const void* module_address);
  static std::string GetTxtPath(const void* module_address);
  static std::string ShippedFolder(const void* module_address);
  // Full path of the shared object or executable that contains the address.
  static std::string ModuleFileName(const void* module_address);

  // Copies files of `from` into `to` that `to` lacks (recursively); existing files are kept.
  static bool SeedFolder(const std::string& from, const std::string& to);

  // Writes through a temporary file in the same folder and a rename, so a reader never sees a
  // half-written file and a failure leaves the old file as it was.
  static bool WriteFileAtomic(const std::string& path, const std::string& content);
  static bool ReadFile(const std::string& path, std::string& content);
  static bool FileExists(const std::string& path);
};
