// Switching luminaires of the room off and on: an off luminaire leaves the room's records (and so
// every calculation) and is drawn one colour index lower; switching it on reverses both.
#include <algorithm>

#include "base/module_state.h"
#include "host/host.h"
#include "pointcalc/luminaire_table.h"
#include "pointcalc/point_dialog.h"
#include "pointcalc/room_grid.h"
#include "support/ny_geo.h"

namespace {

nyhost::Host& Host() { return nyhost::Host::Get(); }

// Shifts a block reference's colour index by `delta` where `allowed` says so, and redraws it.
void ShiftColour(nyhost::EntityId id, int delta, bool (*allowed)(int)) {
  nyhost::Drawing* d = Host().drawing();
  const nyhost::Entity* e = d ? d->FindLive(id) : nullptr;
  if (!e || !e->As<nyhost::BlockReference>() || !allowed(e->color)) return;
  d->Modify(id, [delta](nyhost::Entity& m) { m.color += delta; });
  Host().RedrawEntity(id);
}

}  // namespace

// The selection of both commands with the dialog hidden; false when nothing was selected or the
// dialog went away meanwhile (then `this` must not be touched).
bool CNYDrawIsolineDlg::SelectLuminaires(const char* prompt, std::vector<nyhost::EntityId>& ids) {
  HideForPicking();
  const int rc = Host().SelectObjects(prompt, nullptr, ids);
  if (!ModuleLoaded() || Module().PointDialog != this || !IsOpen()) {
    Host().Print("\n对话框已关闭!");
    return false;
  }
  if (rc != nyhost::kRtNorm || ids.empty()) {
    ShowAfterPicking();
    return false;
  }
  return true;
}

void CNYDrawIsolineDlg::SwitchLuminairesOff() {
  std::vector<nyhost::EntityId> ids;
  if (!SelectLuminaires("\n请选择要关闭的灯:", ids)) return;
  auto& records = data_.m_records;
  for (nyhost::EntityId id : ids) {
    auto it = std::find_if(records.begin(), records.end(),
                           [id](const LuminaireRecord& r) { return r.entity_id == id; });
    if (it == records.end()) continue;  // not a luminaire of this room
    data_.m_offLuminaires.push_back(id);
    ShiftColour(id, -1, [](int c) { return c > 0; });
    records.erase(it);
  }
  FillLuminaireTable(*window_, kLuminaireGridId, records);
  ShowAfterPicking();
}

void CNYDrawIsolineDlg::SwitchLuminairesOn() {
  std::vector<nyhost::EntityId> ids;
  if (!SelectLuminaires("\n请选择要打开的灯:", ids)) return;
  auto& records = data_.m_records;
  std::vector<nyhost::Point3> outline;
  nyhost::Extents extents;
  RoomPolygon(data_.m_idOutline, outline, extents);
  for (nyhost::EntityId id : ids) {
    if (std::any_of(records.begin(), records.end(),
                    [id](const LuminaireRecord& r) { return r.entity_id == id; })) {
      Host().Print("\n灯已经打开!");
      continue;
    }
    const nyhost::Drawing* d = Host().drawing();
    const nyhost::Entity* e = d ? d->FindLive(id) : nullptr;
    const auto* ref = e ? e->As<nyhost::BlockReference>() : nullptr;
    if (!ref || NyGeo::IsPointInPolygon(outline, ref->position) == NyGeo::kOutside) continue;
    std::erase(data_.m_offLuminaires, id);
    ShiftColour(id, +1, [](int c) { return c < 256; });
    LuminaireRecord record;
    // A copy: filling may ask for a curve in a dialog while the drawing changes.
    const nyhost::Entity now = *Host().drawing()->FindLive(id);
    if (FillLuminaireRecord(now, record)) records.push_back(record);
  }
  FillLuminaireTable(*window_, kLuminaireGridId, records);
  ShowAfterPicking();
}
