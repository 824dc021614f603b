// Finding entities and snap points under the cursor, and window / crossing selection.
#pragma once

#include <vector>

#include "host/drawing.h"
#include "host/ports.h"

namespace nygui {

// True when the entity's layer is shown (neither off nor frozen).
bool OnVisibleLayer(const nyhost::Drawing& d, const nyhost::Entity& e);

// Distance from p to the entity's geometry: lines, polylines and circles by their curves; other
// entities by their extents (0 inside).
double EntityDistance(const nyhost::Drawing& d, const nyhost::Entity& e, nyhost::Point3 p);

// The nearest live, visible entity within `tolerance` (the latest drawn wins ties), or kNullId.
nyhost::EntityId PickEntity(const nyhost::Drawing& d, nyhost::Point3 p, double tolerance,
                            const nyhost::EntityFilter& filter = {});

// Window selection (left to right: entities wholly inside) or crossing selection (right to
// left: entities inside or touching the box).
std::vector<nyhost::EntityId> SelectInBox(const nyhost::Drawing& d, nyhost::Point3 a,
                                          nyhost::Point3 b, bool crossing,
                                          const nyhost::EntityFilter& filter = {});

}  // namespace nygui
