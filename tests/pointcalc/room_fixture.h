// A room of luminaire blocks for the point-method tests: the blocks carry the keyed texts the
// placing tools write, so filling records goes through the shipped databases.
#pragma once

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "base/module_state.h"
#include "host/host.h"
#include "pointcalc/intensity.h"
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

// Both planes of the YG701-3 curve as intensity tables.
inline void Yg701Tables(IntensityTable& a, IntensityTable& b) {
  std::copy_n(kYg701A, 19, a.cd.begin());
  std::copy_n(kYg701B, 19, b.cd.begin());
  a.loaded = b.loaded = true;
}

// The illuminance on a level plane at (px, py, pz) from an untilted luminaire at (lx, ly, lz) (mm)
// turned `rot_deg`, with the planes `a` and `b`, written out plainly apart from the code under
// test.
inline double PlainIlluminance(double lx, double ly, double lz, double rot_deg, double flux,
                               double px, double py, double pz, const int* a = kYg701A,
                               const int* b = kYg701B) {
  const double dx = px - lx, dy = py - ly, dz = lz - pz;
  if (dz < 1e-5) return 0;
  const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
  const int t = static_cast<int>(std::acos(dz / d) * 180 / std::numbers::pi);
  auto lookup = [&](const int* c) {
    return t > 85 ? 0 : c[t / 5] + (c[t / 5 + 1] - c[t / 5]) * (t % 5) / 5.0;
  };
  const double phi =
      rot_deg * std::numbers::pi / 180 - ((dx == 0 && dy == 0) ? 0 : std::atan2(dy, dx));
  const double i = std::hypot(lookup(a) * std::cos(phi), lookup(b) * std::sin(phi));
  return flux * i * std::pow(dz / d, 3) / (1000 * (dz / 1000) * (dz / 1000));
}

// The point dialog, and the dialog open on a room from the origin to (w, h).
class PointRoomFixture : public HostFixture {
 protected:
  CNYDrawIsolineDlg* Open() {
    if (!module_loaded) LoadModule();
    Type("ZIRIRODO_DOT ");
    return Module().PointDialog;
  }
  // Types the density `grid` (unless null) and picks the room.
  CNYDrawIsolineDlg* Pick(CNYDrawIsolineDlg* dlg, const char* grid, double w = 6000,
                          double h = 6000) {
    if (grid) dlg->window()->UserType(338, grid);
    input.Point(0, 0);
    input.Point(w, h);
    dlg->window()->UserClick(335);
    host().RunPendingCommands();
    return dlg;
  }
  CNYDrawIsolineDlg* Room(const char* grid, double w = 6000, double h = 6000) {
    return Pick(Open(), grid, w, h);
  }
  // Answers the next pick of points with the drawn points at `at`, then Escape.
  void PickDrawnPoints(const std::vector<std::pair<double, double>>& at) {
    for (auto [x, y] : at)
      for (auto id : drawing().LiveIds())
        if (auto* p = drawing().Find(id)->As<nyhost::PointEntity>();
            p && p->position.x == x && p->position.y == y)
          input.Pick(id);
    input.Escape();
  }
};

}  // namespace nytest
