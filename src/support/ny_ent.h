// Entity services on the current drawing.
#pragma once

#include <string>
#include <vector>

#include "host/entity.h"

class NyEnt {
 public:
  // Adds to model space of the current drawing; the null id when there is no drawing.
  static nyhost::EntityId AddEntToModalSpace(nyhost::Entity entity);
  // Deletes only an id that is valid, not erased and not null.
  static bool DeleteEnt(nyhost::EntityId id);
  static bool GetEntExtents(nyhost::EntityId id, nyhost::Point3& min, nyhost::Point3& max);
  // Ids of live model-space entities, optionally only of one layer and/or one DXF type
  // ("INSERT", "LWPOLYLINE", ...); empty filters match everything.
  static std::vector<nyhost::EntityId> GetEntIds(const std::string& layer = {},
                                                 const std::string& type = {});
};
