#include "refdata/reference_db.h"

#include "base/module_state.h"
#include "host/host.h"
#include "host/text_util.h"
#include "support/ny_access.h"

NyAccess* GetDbConnection(const std::string& path) {
  if (!ModuleLoaded()) return nullptr;
  auto& cache = Module().DbConnectionCache;
  std::string key = nyhost::ToLowerAscii(path);
  // A file that failed once stays failed (null) until the cache is emptied: no second message.
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  auto* db = new NyAccess();
  if (!db->InitADOServer(path, "")) {
    nyhost::Host::Get().windows().MessageBox(kMessageCaption, "ADO ERR!", nyhost::MbIcon::kError,
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
  return Module().DataFolder + file;
}

NyAccess* NyDataDb() { return ModuleLoaded() ? GetDbConnection(DataFile(kNyDataDb)) : nullptr; }

NyAccess* ZirIrodoDotDb() {
  return ModuleLoaded() ? GetDbConnection(DataFile(kZirIrodoDotDb)) : nullptr;
}
