#include "support/ny_ent.h"

#include "host/entity_geometry.h"
#include "host/host.h"

nyhost::EntityId NyEnt::AddEntToModalSpace(nyhost::Entity entity) {
  nyhost::Drawing* d = nyhost::Host::Get().drawing();
  if (!d) return nyhost::kNullId;
  d->EnsureLayer(entity.layer);
  return d->Add(std::move(entity));
}

bool NyEnt::DeleteEnt(nyhost::EntityId id) {
  nyhost::Drawing* d = nyhost::Host::Get().drawing();
  if (!d || id == nyhost::kNullId || !d->FindLive(id)) return false;
  return d->Erase(id);
}

bool NyEnt::GetEntExtents(nyhost::EntityId id, nyhost::Point3& min, nyhost::Point3& max) {
  nyhost::Drawing* d = nyhost::Host::Get().drawing();
  const nyhost::Entity* e = d ? d->FindLive(id) : nullptr;
  if (!e) return false;
  nyhost::Extents ext = nyhost::EntityExtents(*d, *e);
  if (ext.Empty()) return false;
  min = ext.min;
  max = ext.max;
  return true;
}

std::vector<nyhost::EntityId> NyEnt::GetEntIds(const std::string& layer, const std::string& type) {
  std::vector<nyhost::EntityId> ids;
  nyhost::Drawing* d = nyhost::Host::Get().drawing();
  if (!d) return ids;
  for (const auto& e : d->entities()) {
    if (e.erased) continue;
    if (!layer.empty() && e.layer != layer) continue;
    if (!type.empty() && type != nyhost::EntityTypeName(e)) continue;
    ids.push_back(e.id);
  }
  return ids;
}
