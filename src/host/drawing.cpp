#include "host/drawing.h"

#include <algorithm>

namespace nyhost {

const char* EntityTypeName(const Entity& e) {
  static constexpr const char* kNames[] = {"INSERT", "LWPOLYLINE", "TEXT",  "MTEXT", "POINT",
                                           "LINE",   "CIRCLE",     "SOLID", "HATCH"};
  if (const auto* o = e.As<OpaqueEntity>()) return o->type.c_str();
  return kNames[e.data.index()];
}

Drawing::Drawing() { layers_.push_back(Layer{"0", 7}); }

const Layer* Drawing::FindLayer(const std::string& name) const {
  auto it = std::find_if(layers_.begin(), layers_.end(),
                         [&](const Layer& l) { return l.name == name; });
  return it == layers_.end() ? nullptr : &*it;
}

Layer& Drawing::EnsureLayer(const std::string& name, int color) {
  for (auto& l : layers_)
    if (l.name == name) return l;
  layers_.push_back(Layer{name, color});
  ++revision_;
  return layers_.back();
}

const BlockDefinition* Drawing::FindBlock(const std::string& name) const {
  auto it = std::find_if(blocks_.begin(), blocks_.end(),
                         [&](const BlockDefinition& b) { return b.name == name; });
  return it == blocks_.end() ? nullptr : &*it;
}

void Drawing::SetBlock(BlockDefinition def) {
  ++revision_;
  for (auto& b : blocks_)
    if (b.name == def.name) {
      b = std::move(def);
      return;
    }
  blocks_.push_back(std::move(def));
}

const Entity* Drawing::Find(EntityId id) const {
  auto it = index_.find(id);
  return it == index_.end() ? nullptr : &entities_[it->second];
}

Entity* Drawing::FindMutable(EntityId id) {
  auto it = index_.find(id);
  return it == index_.end() ? nullptr : &entities_[it->second];
}

const Entity* Drawing::FindLive(EntityId id) const {
  const Entity* e = Find(id);
  return e && !e->erased ? e : nullptr;
}

std::vector<EntityId> Drawing::LiveIds() const {
  std::vector<EntityId> ids;
  for (const auto& e : entities_)
    if (!e.erased) ids.push_back(e.id);
  return ids;
}

EntityId Drawing::AddWithId(Entity e) {
  if (e.id == kNullId || index_.count(e.id)) e.id = next_id_;
  next_id_ = std::max(next_id_, e.id + 1);
  index_[e.id] = entities_.size();
  EntityId id = e.id;
  entities_.push_back(std::move(e));
  Record({id, std::nullopt});
  return id;
}

EntityId Drawing::Add(Entity e) {
  e.id = kNullId;
  return AddWithId(std::move(e));
}

bool Drawing::Replace(const Entity& e) {
  Entity* target = FindMutable(e.id);
  if (!target) return false;
  Record({e.id, *target});
  *target = e;
  return true;
}

bool Drawing::Modify(EntityId id, const std::function<void(Entity&)>& change) {
  const Entity* current = Find(id);
  if (!current) return false;
  Entity copy = *current;
  change(copy);
  copy.id = id;
  return Replace(copy);
}

bool Drawing::Erase(EntityId id) {
  Entity* target = FindMutable(id);
  if (!target || target->erased) return false;
  Record({id, *target});
  target->erased = true;
  return true;
}

void Drawing::RegisterApp(const std::string& app) {
  if (std::find(apps_.begin(), apps_.end(), app) == apps_.end()) apps_.push_back(app);
}

void Drawing::Record(Change c) {
  ++revision_;
  if (group_depth_ > 0 && !undo_.empty()) {
    undo_.back().push_back(std::move(c));
  } else {
    undo_.push_back({std::move(c)});
  }
}

void Drawing::BeginUndoGroup() {
  if (group_depth_++ == 0) undo_.emplace_back();
}

void Drawing::EndUndoGroup() {
  if (group_depth_ == 0) return;
  if (--group_depth_ == 0 && !undo_.empty() && undo_.back().empty()) undo_.pop_back();
}

bool Drawing::Undo() {
  if (group_depth_ > 0 || undo_.empty()) return false;
  auto changes = std::move(undo_.back());
  undo_.pop_back();
  for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
    if (it->before) {
      *FindMutable(it->id) = *it->before;
    } else {
      // An added entity is always the last one when its addition is undone.
      index_.erase(it->id);
      entities_.pop_back();
    }
  }
  ++revision_;
  return true;
}

}  // namespace nyhost
