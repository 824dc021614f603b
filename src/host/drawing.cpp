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
  auto it =
      std::find_if(layers_.begin(), layers_.end(), [&](const Layer& l) { return l.name == name; });
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

void Drawing::NewGroup(const std::string& label) { undo_.push_back({++serial_, label, {}}); }

void Drawing::Record(Change c) {
  ++revision_;
  redo_.clear();
  if (group_depth_ == 0 || undo_.empty()) NewGroup({});
  undo_.back().changes.push_back(std::move(c));
}

void Drawing::BeginUndoGroup(const std::string& label) {
  if (group_depth_++ == 0) NewGroup(label);
}

void Drawing::EndUndoGroup() {
  if (group_depth_ == 0) return;
  if (--group_depth_ == 0 && !undo_.empty() && undo_.back().changes.empty()) undo_.pop_back();
}

bool Drawing::Undo() {
  if (group_depth_ > 0 || undo_.empty()) return false;
  Group group = std::move(undo_.back());
  undo_.pop_back();
  for (auto it = group.changes.rbegin(); it != group.changes.rend(); ++it) {
    Entity* current = FindMutable(it->id);
    it->after = *current;
    if (it->before) {
      *current = *it->before;
    } else {
      // An added entity is always the last one when its addition is undone.
      index_.erase(it->id);
      entities_.pop_back();
    }
  }
  redo_.push_back(std::move(group));
  ++revision_;
  return true;
}

bool Drawing::Redo() {
  if (group_depth_ > 0 || redo_.empty()) return false;
  Group group = std::move(redo_.back());
  redo_.pop_back();
  for (auto& c : group.changes) {
    if (c.before) {
      *FindMutable(c.id) = *c.after;
    } else {
      index_[c.id] = entities_.size();
      entities_.push_back(*c.after);
    }
    c.after.reset();
  }
  undo_.push_back(std::move(group));
  ++revision_;
  return true;
}

std::uint64_t Drawing::TopSerial() const {
  for (auto it = undo_.rbegin(); it != undo_.rend(); ++it)
    if (!it->changes.empty()) return it->serial;
  return 0;
}

bool Drawing::modified() const { return layers_changed_ || TopSerial() != saved_serial_; }

void Drawing::MarkSaved() {
  saved_serial_ = TopSerial();
  layers_changed_ = false;
}

bool Drawing::SetLayer(const Layer& l) {
  for (auto& mine : layers_)
    if (mine.name == l.name) {
      mine = l;
      layers_changed_ = true;
      ++revision_;
      return true;
    }
  return false;
}

}  // namespace nyhost
