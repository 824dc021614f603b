// The drawing database: layers, block definitions, model space in insertion order, header values.
// Every change to an entity goes through Add / Replace / Erase so a front-end can undo a whole
// command as one step.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "host/entity.h"

namespace nyhost {

struct Layer {
  std::string name;
  int color = 7;
  bool off = false;
  bool frozen = false;
  std::string linetype = "CONTINUOUS";
  friend bool operator==(const Layer&, const Layer&) = default;
};

struct BlockDefinition {
  std::string name;
  Point3 base;
  std::vector<Entity> entities;
  friend bool operator==(const BlockDefinition&, const BlockDefinition&) = default;
};

class Drawing {
 public:
  Drawing();

  // File the drawing was read from or last saved to; empty for a new drawing.
  const std::string& path() const { return path_; }
  void set_path(std::string p) { path_ = std::move(p); }

  // Scales stored in the file. Drawing units x architectural scale = millimetres.
  double arch_scale() const { return arch_scale_; }
  double draw_scale() const { return draw_scale_; }
  void set_arch_scale(double s) { arch_scale_ = s; }
  void set_draw_scale(double s) { draw_scale_ = s; }

  // Layers in table order. EnsureLayer adds a layer of colour 7 if the name is new.
  const std::vector<Layer>& layers() const { return layers_; }
  const Layer* FindLayer(const std::string& name) const;
  Layer& EnsureLayer(const std::string& name, int color = 7);

  const std::vector<BlockDefinition>& blocks() const { return blocks_; }
  const BlockDefinition* FindBlock(const std::string& name) const;
  void SetBlock(BlockDefinition def);  // adds or replaces by name

  // Model space, in insertion order, erased entities included (check Entity::erased).
  const std::vector<Entity>& entities() const { return entities_; }
  const Entity* Find(EntityId id) const;  // null when unknown; erased entities are found
  // The live (not erased) entity of an id, or null.
  const Entity* FindLive(EntityId id) const;
  std::vector<EntityId> LiveIds() const;

  // Changes. Add assigns a new id (an id already set in e is replaced).
  EntityId Add(Entity e);
  // Replace the entity of e.id (which must exist); returns false for an unknown id.
  bool Replace(const Entity& e);
  // Read-modify-write helper over Replace.
  bool Modify(EntityId id, const std::function<void(Entity&)>& change);
  bool Erase(EntityId id);

  // Registered application names of extended data, in registration order.
  const std::vector<std::string>& apps() const { return apps_; }
  void RegisterApp(const std::string& app);

  // Undo. Changes between BeginUndoGroup and EndUndoGroup undo as one step; changes outside a
  // group undo one by one. `label` names the step (the command) for the front-end.
  void BeginUndoGroup(const std::string& label = {});
  void EndUndoGroup();
  bool Undo();
  // Applies the last undone step again; any new change forgets the undone steps.
  bool Redo();
  std::size_t undo_depth() const { return undo_.size(); }
  std::size_t redo_depth() const { return redo_.size(); }
  // The name of the step Undo / Redo would take back or apply again (may be empty).
  std::string UndoLabel() const { return undo_.empty() ? std::string() : undo_.back().label; }
  std::string RedoLabel() const { return redo_.empty() ? std::string() : redo_.back().label; }
  void ClearUndo() {
    undo_.clear();
    redo_.clear();
    group_depth_ = 0;
  }
  // Changed since it was read or saved: the undo history is not where it was at MarkSaved, or a
  // layer was changed. Undoing back to the saved step makes it unmodified again.
  bool modified() const;
  void MarkSaved();
  // Replaces the layer of l.name (false when there is none); marks the drawing modified.
  bool SetLayer(const Layer& l);
  // Monotonic counter bumped by every change; views use it to know when to repaint.
  std::uint64_t revision() const { return revision_; }

  // Used by readers that must preserve handles from a file.
  EntityId AddWithId(Entity e);
  EntityId NextId() const { return next_id_; }

  // Header variables the drawing does not interpret itself, kept for the round trip.
  std::map<std::string, std::string> header;

 private:
  struct Change {
    EntityId id;
    std::optional<Entity> before;  // none: the change added the entity
    std::optional<Entity> after;   // filled when the step is undone, for Redo
  };
  struct Group {
    std::uint64_t serial = 0;
    std::string label;
    std::vector<Change> changes;
  };
  void Record(Change c);
  void NewGroup(const std::string& label);
  // The serial of the last step holding changes (an open group may still be empty).
  std::uint64_t TopSerial() const;
  Entity* FindMutable(EntityId id);

  std::string path_;
  double arch_scale_ = 1;
  double draw_scale_ = 100;
  std::vector<Layer> layers_;
  std::vector<BlockDefinition> blocks_;
  std::vector<Entity> entities_;
  std::unordered_map<EntityId, std::size_t> index_;
  std::vector<std::string> apps_;
  EntityId next_id_ = 0x100;
  std::vector<Group> undo_, redo_;
  int group_depth_ = 0;
  std::uint64_t serial_ = 0;        // last serial given to a group
  std::uint64_t saved_serial_ = 0;  // TopSerial() at MarkSaved
  bool layers_changed_ = false;
  std::uint64_t revision_ = 0;
};

}  // namespace nyhost
