// Folders of the module and file helpers.
//
// RootFolder is the user's own copy of the program data: $NYLUXORA_HOME, else
// $XDG_DATA_HOME/nyluxora/, else ~/.local/share/nyluxora/. It is seeded on first use (and any file
// missing later is copied in) from the shipped, read-only data beside the module:
// <module dir>/../share/nyluxora/ ($NYLUXORA_SHARE overrides). DataFolder is RootFolder + "data/".
#pragma once

#include <string>
#include <vector>

class NyCommon {
 public:
  // Both end with "/". The module address locates the shipped data.
  static std::string GetRootPath(const void* module_address);
  static std::string GetTxtPath(const void* module_address);
  static std::string ShippedFolder(const void* module_address);
  // Full path of the shared object or executable that contains the address.
  static std::string ModuleFileName(const void* module_address);

  // Copies files of `from` into `to` that `to` lacks under any letter case (recursively);
  // existing files are kept. Each copy appears whole or not at all, so programs starting at
  // the same time never see a half-copied file and never copy one twice.
  static bool SeedFolder(const std::string& from, const std::string& to);

  // The file of `folder` whose name equals `name` without regard to letter case (the exact
  // spelling first); empty when there is none.
  static std::string FindFileNoCase(const std::string& folder, const std::string& name);

  // Writes through a temporary file in the same folder, fsync and a rename, so a reader never
  // sees a half-written file and a failure leaves the old file as it was.
  static bool WriteFileAtomic(const std::string& path, const std::string& content,
                              std::string* error = nullptr);
  // Copies `from` to `to` the same way. With `replace` false an existing `to` is kept (and
  // counts as success). False with the reason in `error` on failure.
  static bool CopyFileAtomic(const std::string& from, const std::string& to,
                             std::string* error = nullptr, bool replace = true);
  static bool ReadFile(const std::string& path, std::string& content);
  // The lines of a text file written by the program (UTF-8) or by the legacy tools (code page
  // 936), without their line ends; false when the file cannot be read.
  static bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);
  static bool FileExists(const std::string& path);
  // The file is held by another program, so it must not be replaced: an office program's lock
  // file beside it, or it cannot be opened for writing.
  static bool IsFileOpenElsewhere(const std::string& path);
};
