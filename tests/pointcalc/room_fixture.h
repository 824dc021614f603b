// A room of luminaire blocks for the point-method tests: the blocks carry the keyed texts the
// placing tools write, so filling records goes through the shipped databases.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/module_state.h"
#include "host/host.h"
#include "pointcalc/point_dialog.h"
#include "support/ny_xdata.h"
#include "test_support.h"

namespace nytest {

// A closed polyline through `corners` (x, y in drawing units).
inline nyhost::Entity ClosedOutline(const std::vector<std::pair<double, double>>& corners) {
  nyhost::Polyline pl;
  pl.closed = true;
  for (auto [x, y] : corners) {
    nyhost::PolylineVertex v;
    v.x = x;
    v.y = y;
    pl.vertices.push_back(v);
  }
  nyhost::Entity e;
  e.data = pl;
  return e;
}

// Luminaire block of 600 x 600 drawing units around its base point ("ZM1A" is a luminaire key
// of the shipped device table).
inline void DefineLuminaireBlock(nyhost::Drawing& d, const std::string& name = "ZM1A-格栅") {
  nyhost::BlockDefinition def;
  def.name = name;
  def.entities.push_back(ClosedOutline({{-300, -300}, {300, -300}, {300, 300}, {-300, 300}}));
  d.SetBlock(def);
}

// A 格栅荧光灯 YG701-3 (3 x T8 36 W + 4 W, 10050 lm remembered) at (x, y), `height` metres up.
inline nyhost::EntityId AddLuminaire(nyhost::Drawing& d, double x, double y,
                                     const std::string& height = "3", double rotation_deg = 0,
                                     const std::string& block = "ZM1A-格栅") {
  if (!d.FindBlock(block)) DefineLuminaireBlock(d, block);
  nyhost::BlockReference ref;
  ref.block = block;
  ref.position = {x, y, 0};
  ref.rotation_deg = rotation_deg;
  nyhost::Entity e;
  e.data = ref;
  NyXData::SetEntXData(e, "设备高", height);
  NyXData::SetEntXData(e, "名称", "格栅荧光灯");
  NyXData::SetEntXData(e, "型号", "YG701-3");
  return d.Add(e);
}

// The YG701-3 curve as the shipped ZirIrodoDot.mdb holds it (cd/klm at 0, 5, ... 90 degrees).
inline constexpr int kYg701A[19] = {230, 232, 236, 240, 242, 240, 232, 216, 195, 168,
                                    135, 98,  62,  32,  12,  4,   1,   0,   0};
inline constexpr int kYg701B[19] = {230, 228, 222, 212, 198, 180, 158, 134, 108, 82,
                                    58,  36,  18,  7,   2,   1,   0,   0,   0};

// The point dialog open on the 6 x 6 m room at the origin, with the density `grid`.
class PointRoomFixture : public HostFixture {
 protected:
  CNYDrawIsolineDlg* Room(const char* grid) {
    LoadModule();
    Type("ZIRIRODO_DOT ");
    CNYDrawIsolineDlg* dlg = Module().PointDialog;
    dlg->window()->UserType(338, grid);
    input.Point(0, 0);
    input.Point(6000, 6000);
    dlg->window()->UserClick(335);
    host().RunPendingCommands();
    return dlg;
  }
};

}  // namespace nytest
