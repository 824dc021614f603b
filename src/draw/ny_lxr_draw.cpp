#include "draw/ny_lxr_draw.h"

#include <fmt/format.h>

#include <cstdlib>
#include <stdexcept>

#include "draw/distribution.h"
#include "draw/effect_dialog.h"
#include "draw/effects.h"
#include "host/entity_geometry.h"
#include "host/host.h"
#include "support/ny_geo.h"
#include "support/ny_xdata.h"

namespace {

// What the plan shows besides the room's own earlier drawing (about to be replaced): lines and
// polyline edges as segments, so a wall around the whole floor does not block everything; the
// insides of other rooms (closed outlines that do not hold this room), even empty ones; and
// everything else by its extents.
class PlanContent {
 public:
  PlanContent(const nyhost::Drawing& d, const std::string& own_tag, nyhost::Point3 in_room) {
    for (nyhost::EntityId id : d.LiveIds()) {
      const nyhost::Entity* e = d.FindLive(id);
      std::string owner;
      if (!e || (NyXData::GetEntXData(owner, *e, NyLXRDrawDll::kTagKey) && owner == own_tag))
        continue;
      if (const auto* l = e->As<nyhost::Line>()) {
        segments_.push_back({l->start, l->end});
      } else if (const auto* pl = e->As<nyhost::Polyline>()) {
        std::vector<nyhost::Point3> outline;
        for (const auto& v : pl->vertices) outline.push_back({v.x, v.y, 0});
        for (std::size_t i = 0; i + 1 < outline.size() + (pl->closed ? 1 : 0); ++i)
          segments_.push_back({outline[i], outline[(i + 1) % outline.size()]});
        if (pl->closed && outline.size() > 2 &&
            NyGeo::IsPointInPolygon(outline, in_room) == NyGeo::kOutside)
          rooms_.push_back(std::move(outline));
      } else if (nyhost::Extents box = nyhost::EntityExtents(d, *e); !box.Empty()) {
        boxes_.push_back(box);
      }
    }
  }

  bool Covers(const nyhost::Extents& place) const {
    for (const auto& [a, b] : segments_)
      if (nyhost::SegmentMeetsBox(a, b, place)) return true;
    for (const auto& box : boxes_)
      if (box.min.x <= place.max.x && box.max.x >= place.min.x && box.min.y <= place.max.y &&
          box.max.y >= place.min.y)
        return true;
    // No edge crosses the place: it lies in another room only if one of its corners does.
    for (const auto& room : rooms_)
      if (NyGeo::IsPointInPolygon(room, place.min) != NyGeo::kOutside) return true;
    return false;
  }

 private:
  std::vector<std::pair<nyhost::Point3, nyhost::Point3>> segments_;
  std::vector<nyhost::Extents> boxes_;
  std::vector<std::vector<nyhost::Point3>> rooms_;
};

}  // namespace

void NyLXRDrawDll::SetCalValue(const std::vector<nyhost::Point3>& points, double max, double min) {
  points_ = points;
  cal_max_ = max;
  cal_min_ = min;
}

void NyLXRDrawDll::SetCalCount(int columns, int rows) {
  columns_ = columns;
  rows_ = rows;
}

void NyLXRDrawDll::SetCalType(unsigned type) { cal_type_ = type; }
void NyLXRDrawDll::SetDim(int dim) { dim_ = dim; }
void NyLXRDrawDll::SetDrawMode(int mode) { draw_mode_ = mode; }
void NyLXRDrawDll::SetEffectName(const std::string& name) { effect_name_ = name; }
void NyLXRDrawDll::SetEffectType(int type) { effect_type_ = type; }

void NyLXRDrawDll::SetLayer(const std::string& point_layer, const std::string& text_layer) {
  point_layer_ = point_layer;
  text_layer_ = text_layer;
}

void NyLXRDrawDll::SetWallId(nyhost::EntityId id) { wall_id_ = id; }

void NyLXRDrawDll::SetEffectFile(const std::string& path) { effect_file_ = path; }

void NyLXRDrawDll::GetCurEffects(std::vector<std::string>& names) const {
  names.clear();
  std::vector<nydraw::ColourEffect> effects;
  std::string error;
  if (!nydraw::LoadEffects(effect_file_, effects, error)) return;
  for (const auto& e : effects) names.push_back(e.name);
}

bool NyLXRDrawDll::LoadDlgSetEffect(std::string& name) {
  if (name.empty()) name = effect_name_;
  return nydraw::RunEffectDialog(effect_file_, name);
}

void NyLXRDrawDll::DrawLight() {
  nyhost::Drawing* d = nyhost::Host::Get().drawing();
  if (!d) throw std::runtime_error("no drawing");
  std::vector<nydraw::ColourEffect> effects;
  std::string error;
  if (!nydraw::LoadEffects(effect_file_, effects, error)) throw std::runtime_error(error);
  if (effects.empty()) throw std::runtime_error(effect_file_ + ": no effects");

  nydraw::DrawRequest r;
  r.effect = effects.front();
  for (const auto& e : effects)
    if (e.name == effect_name_) r.effect = e;
  r.points = points_;
  r.point_texts = point_texts_;
  r.cal_max = cal_max_;
  r.cal_min = cal_min_;
  r.mode = static_cast<nydraw::DrawMode>(draw_mode_ < 0 || draw_mode_ > 2 ? 0 : draw_mode_);
  r.labels = dim_ != 0;
  r.cal_type = cal_type_;
  r.range_type = effect_type_ == 1 ? 1 : 0;
  r.point_layer = point_layer_.empty() ? "0" : point_layer_;
  r.text_layer = text_layer_.empty() ? "0" : text_layer_;
  if (const nyhost::Entity* wall = wall_id_ ? d->FindLive(wall_id_) : nullptr)
    if (const auto* pl = wall->As<nyhost::Polyline>()) {
      for (const auto& v : pl->vertices) r.outline.push_back({v.x, v.y, 0});
      if (!r.outline.empty()) r.outline.push_back(r.outline.front());
    }
  r.unit = d->draw_scale() / (d->arch_scale() > 0 ? d->arch_scale() : 1);
  const std::string tag = fmt::format("{:X}", wall_id_);
  const PlanContent content(*d, tag, r.points.empty() ? nyhost::Point3{} : r.points.front());
  r.occupied = [&content](const nyhost::Extents& place) { return content.Covers(place); };
  std::vector<nyhost::Entity> entities = nydraw::BuildDistribution(r);

  d->BeginUndoGroup();
  // The room's earlier drawing goes, and so does any drawing whose room outline is gone.
  for (nyhost::EntityId id : d->LiveIds()) {
    std::string owner;
    const nyhost::Entity* e = d->FindLive(id);
    if (!e || !NyXData::GetEntXData(owner, *e, kTagKey) || owner.empty()) continue;
    const nyhost::EntityId owner_id = std::strtoull(owner.c_str(), nullptr, 16);
    if (owner == tag || owner_id == nyhost::kNullId || !d->FindLive(owner_id)) d->Erase(id);
  }
  d->EnsureLayer(r.point_layer);
  d->EnsureLayer(r.text_layer);
  d->RegisterApp(NyXData::kAppName);
  for (auto& e : entities) {
    NyXData::SetEntXData(e, kTagKey, tag);
    d->Add(std::move(e));
  }
  d->EndUndoGroup();
  nyhost::Host& host = nyhost::Host::Get();
  host.SetVar("PDMODE", 35);
  host.SetVar("PDSIZE", 0.3 * r.unit);
}
