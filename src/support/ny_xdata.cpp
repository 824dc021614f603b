#include "support/ny_xdata.h"

#include "host/host.h"

namespace {

nyhost::XDataGroup* AppGroup(nyhost::Entity& e, bool create) {
  for (auto& g : e.xdata)
    if (g.app == NyXData::kAppName) return &g;
  if (!create) return nullptr;
  e.xdata.push_back({NyXData::kAppName, {}});
  return &e.xdata.back();
}

}  // namespace

bool NyXData::GetEntXData(std::string& out, const nyhost::Entity& entity, const std::string& key) {
  out.clear();
  for (const auto& g : entity.xdata) {
    if (g.app != kAppName) continue;
    for (const auto& item : g.items) {
      if (item.code != 1000) continue;
      auto eq = item.text.find('=');
      if (eq != std::string::npos && item.text.compare(0, eq, key) == 0 && eq == key.size()) {
        out = item.text.substr(eq + 1);
        return true;
      }
    }
  }
  return false;
}

bool NyXData::GetEntXData(std::string& out, nyhost::EntityId id, const std::string& key) {
  out.clear();
  nyhost::Drawing* d = nyhost::Host::Get().drawing();
  const nyhost::Entity* e = d ? d->Find(id) : nullptr;
  return e && GetEntXData(out, *e, key);
}

void NyXData::SetEntXData(nyhost::Entity& entity, const std::string& key, const std::string& text) {
  nyhost::XDataGroup* g = AppGroup(entity, true);
  std::string item = key + "=" + text;
  for (auto& it : g->items) {
    auto eq = it.text.find('=');
    if (it.code == 1000 && eq == key.size() && it.text.compare(0, eq, key) == 0) {
      it.text = item;
      return;
    }
  }
  g->items.push_back({1000, item, 0, 0});
}

bool NyXData::SetEntXData(nyhost::EntityId id, const std::string& key, const std::string& text) {
  nyhost::Drawing* d = nyhost::Host::Get().drawing();
  if (!d || !d->FindLive(id)) return false;
  d->RegisterApp(kAppName);
  return d->Modify(id, [&](nyhost::Entity& e) { SetEntXData(e, key, text); });
}
