#include "refdata/reference_db.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>

#include "base/module_state.h"
#include "host/host.h"
#include "host/text_util.h"
#include "support/ny_access.h"
#include "support/ny_common.h"
#include "support/ny_str.h"

namespace fs = std::filesystem;

NyAccess* GetDbConnection(const std::string& path) {
  if (!ModuleLoaded()) return nullptr;
  auto& cache = Module().DbConnectionCache;
  std::string key = nyhost::ToLowerAscii(path);
  // A file that failed once stays failed (null) until the cache is emptied: no second message.
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  // File names compare without regard to case: "NYDATA.mdb" is the file NyData.mdb.
  fs::path given(path);
  std::string file =
      NyCommon::FindFileNoCase(given.parent_path().string(), given.filename().string());
  if (file.empty()) file = path;
  auto* db = new NyAccess();
  if (!db->InitADOServer(file, "")) {
    std::string text = db->busy() ? "<" + file + ">正被其他程序使用,数据文件夹忙,请稍后再试!"
                                  : std::string("ADO ERR!");
    nyhost::Host::Get().windows().MessageBox(kMessageCaption, text, nyhost::MbIcon::kError,
                                             nyhost::MbButtons::kOk);
    delete db;
    db = nullptr;
  }
  cache[key] = db;
  return db;
}

void CloseAllConnections() {
  if (!ModuleLoaded()) return;
  for (auto& [key, db] : Module().DbConnectionCache) {
    if (db) db->CloseAll();
    delete db;
  }
  Module().DbConnectionCache.clear();
}

std::string DataFile(const std::string& file) {
  if (!ModuleLoaded()) return {};
  std::string found = NyCommon::FindFileNoCase(Module().DataFolder, file);
  return found.empty() ? Module().DataFolder + file : found;
}

NyAccess* NyDataDb() { return ModuleLoaded() ? GetDbConnection(DataFile(kNyDataDb)) : nullptr; }

NyAccess* ZirIrodoDotDb() {
  return ModuleLoaded() ? GetDbConnection(DataFile(kZirIrodoDotDb)) : nullptr;
}

bool ReadDbNumber(const std::string& text, double max, double& value) {
  value = 0;
  if (nyhost::Trim(text).empty()) return true;
  double v = 0;
  if (!NyStr::IsDigit(v, text) || !std::isfinite(v) || v < 0 || v > max) return false;
  value = v;
  return true;
}

int CopyOut(const std::string& text, char* out, int size) {
  if (out && size > 0) {
    std::size_t n = std::min(text.size(), static_cast<std::size_t>(size - 1));
    // Never cut a UTF-8 character in half.
    while (n > 0 && n < text.size() && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) --n;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
  }
  return static_cast<int>(text.size());
}
