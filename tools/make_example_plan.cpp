// Builds the example floor plan examples/office.dxf with the host's drawing API.
//
//   make_example_plan OUTPUT.dxf          writes the plan
//   make_example_plan --check FILE.dxf    exits 1 unless FILE.dxf is exactly what would be written
//   make_example_plan --hall SCENE.json OUTPUT.dxf
//                                         writes the hall of a reference scene (tests/data/
//                                         radiance-s4): one downlight block per luminaire, with
//                                         its keyed texts, the model named after its curve
//
// The output depends on nothing but this program (no time stamps, ids in creation order), so the
// committed file can be checked against it. Units are millimetres (architectural scale 1), the
// drawing scale is 1:100. Interior faces of the walls are the round coordinates below.
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "host/drawing.h"
#include "host/dxf_io.h"

namespace {

using namespace nyhost;

constexpr double kWall = 200;        // wall thickness
constexpr double kDoor = 900;        // door leaf width
constexpr double kTextHeight = 350;  // 3.5 mm on paper at 1:100
constexpr const char* kApp = "NYLUXORA";

Entity Make(EntityData data, const std::string& layer, int color = kColorByLayer) {
  Entity e;
  e.layer = layer;
  e.color = color;
  e.data = std::move(data);
  return e;
}

Entity MakeLine(double x1, double y1, double x2, double y2, const std::string& layer) {
  return Make(Line{{x1, y1, 0}, {x2, y2, 0}}, layer, kColorByBlock);
}

Polyline Rectangle(double x0, double y0, double x1, double y1) {
  Polyline p;
  p.closed = true;
  p.vertices = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
  return p;
}

// Block contents sit on layer 0 in colour BYBLOCK, so each reference shows its own layer's colour.
BlockDefinition LuminaireGrille() {  // 600 x 1200 recessed grille luminaire, three tubes
  BlockDefinition b{"ZM1A格栅灯", {0, 0, 0}, {}};
  b.entities.push_back(Make(Rectangle(-300, -600, 300, 600), "0", kColorByBlock));
  for (double x : {-150.0, 0.0, 150.0}) b.entities.push_back(MakeLine(x, -550, x, 550, "0"));
  return b;
}

BlockDefinition LuminaireDownlight() {  // downlight: circle with a cross
  BlockDefinition b{"ZM2筒灯", {0, 0, 0}, {}};
  b.entities.push_back(Make(Circle{{0, 0, 0}, 100}, "0", kColorByBlock));
  b.entities.push_back(MakeLine(-150, 0, 150, 0, "0"));
  b.entities.push_back(MakeLine(0, -150, 0, 150, "0"));
  return b;
}

BlockDefinition LuminairePanel() {  // 600 x 600 LED panel: square with an X
  BlockDefinition b{"ZM3B平板灯", {0, 0, 0}, {}};
  b.entities.push_back(Make(Rectangle(-300, -300, 300, 300), "0", kColorByBlock));
  b.entities.push_back(MakeLine(-300, -300, 300, 300, "0"));
  b.entities.push_back(MakeLine(-300, 300, 300, -300, "0"));
  return b;
}

BlockDefinition Switch() {  // single-pole switch: dot, lever and tick
  BlockDefinition b{"KG1开关", {0, 0, 0}, {}};
  b.entities.push_back(Make(Circle{{0, 0, 0}, 60}, "0", kColorByBlock));
  b.entities.push_back(MakeLine(42, 42, 230, 230, "0"));
  b.entities.push_back(MakeLine(230, 230, 300, 160, "0"));
  return b;
}

BlockDefinition Socket() {  // socket: half circle on the wall line, pointing into the room (+y)
  BlockDefinition b{"CZ1插座", {0, 0, 0}, {}};
  Polyline half;
  half.vertices = {{150, 0, 1}, {-150, 0}};  // bulge 1: half circle through (0, 150)
  b.entities.push_back(Make(half, "0", kColorByBlock));
  b.entities.push_back(MakeLine(-150, 0, 150, 0, "0"));
  b.entities.push_back(MakeLine(0, 150, 0, 250, "0"));
  return b;
}

// Room walls: a closed polyline on the wall centre line, so the inside face lies on the room's
// interior rectangle and each room outline can be picked whole.
void AddRoomWalls(Drawing& d, double x0, double y0, double x1, double y1) {
  const double h = kWall / 2;
  Polyline p = Rectangle(x0 - h, y0 - h, x1 + h, y1 + h);
  p.constant_width = kWall;
  d.Add(Make(p, "墙体"));
}

// Door in a wall: jambs across the wall, the open leaf and its 90-degree swing. The hinge is at
// (hx, hy); the leaf opens along (lx, ly) (a unit vector into the room); the closed leaf lies
// along (cx, cy).
void AddDoor(Drawing& d, double hx, double hy, double cx, double cy, double lx, double ly) {
  const double w = kDoor, t = kWall;
  double ex = hx + cx * w, ey = hy + cy * w;  // latch side of the opening
  d.Add(Make(Line{{hx, hy, 0}, {hx - lx * t, hy - ly * t, 0}}, "门窗"));
  d.Add(Make(Line{{ex, ey, 0}, {ex - lx * t, ey - ly * t, 0}}, "门窗"));
  d.Add(Make(Line{{hx, hy, 0}, {hx + lx * w, hy + ly * w, 0}}, "门窗"));
  Polyline swing;
  // From the closed position to the open one: a quarter circle, its turn given by the cross
  // product of the two directions.
  double turn = cx * ly - cy * lx;
  swing.vertices = {
      {ex, ey, turn > 0 ? std::tan(std::numbers::pi / 8) : -std::tan(std::numbers::pi / 8)},
      {hx + lx * w, hy + ly * w}};
  d.Add(Make(swing, "门窗"));
}

void AddText(Drawing& d, const std::string& text, double x, double y) {
  Text t;
  t.position = {x, y, 0};
  t.height = kTextHeight;
  t.text = text;
  t.middle = true;
  d.Add(Make(t, "文字"));
}

struct Luminaire {
  const char* name;    // 名称
  const char* model;   // 型号
  const char* height;  // 设备高: metres above the work plane
};

void AddLuminaire(Drawing& d, const std::string& block, double x, double y, double rotation_deg,
                  const Luminaire& l, const char* tilt_x = nullptr) {
  Entity e = Make(BlockReference{block, {x, y, 0}, rotation_deg, 1, 1, 1, {}}, "照明");
  XDataGroup g{kApp, {}};
  auto keyed = [&](const std::string& key, const std::string& value) {
    g.items.push_back({1000, key + "=" + value, 0, 0});
  };
  keyed("设备高", l.height);
  keyed("名称", l.name);
  keyed("型号", l.model);
  if (tilt_x) keyed("X轴旋转", tilt_x);
  e.xdata.push_back(g);
  d.Add(e);
}

void AddDevice(Drawing& d, const std::string& block, double x, double y, double rotation_deg) {
  d.Add(Make(BlockReference{block, {x, y, 0}, rotation_deg, 1, 1, 1, {}}, "电气"));
}

Drawing BuildPlan() {
  Drawing d;
  d.set_arch_scale(1);
  d.set_draw_scale(100);
  d.EnsureLayer("墙体", 8);
  d.EnsureLayer("门窗", 3);
  d.EnsureLayer("文字", 7);
  d.EnsureLayer("照明", 1);
  d.EnsureLayer("电气", 5);
  d.RegisterApp(kApp);
  for (BlockDefinition b :
       {LuminaireGrille(), LuminaireDownlight(), LuminairePanel(), Switch(), Socket()})
    d.SetBlock(std::move(b));

  // Interior rectangles (the inside faces of the walls).
  AddRoomWalls(d, 0, 0, 6000, 6000);       // 办公室一
  AddRoomWalls(d, 6200, 0, 12200, 6000);   // 办公室二
  AddRoomWalls(d, 12400, 0, 18000, 6000);  // 会议室
  AddRoomWalls(d, 0, 6200, 18000, 9000);   // 走廊

  // Doors from the corridor, opening into the rooms; the entrance at the west end of the corridor.
  AddDoor(d, 4800, 6000, 1, 0, 0, -1);
  AddDoor(d, 11000, 6000, 1, 0, 0, -1);
  AddDoor(d, 13700, 6000, -1, 0, 0, -1);
  AddDoor(d, 0, 8100, 0, -1, 1, 0);

  AddText(d, "办公室一", 3000, 3000);
  AddText(d, "办公室二", 9200, 3000);
  AddText(d, "会议室", 15200, 3000);
  AddText(d, "走廊", 9000, 7600);

  const Luminaire grille{"格栅荧光灯", "YG701-3", "2.25"};
  const Luminaire panel{"LED平板灯", "LED-P600", "2.25"};
  const Luminaire downlight{"筒灯", "TD-150", "2.25"};
  const Luminaire wall_lamp{"壁灯", "BD-01", "1.45"};  // 2.2 m above the floor

  // 办公室一: 3 x 2 grille luminaires; the two by the east wall tilt 15 degrees about X.
  for (double y : {1500.0, 4500.0})
    for (double x : {1000.0, 3000.0, 5000.0})
      AddLuminaire(d, "ZM1A格栅灯", x, y, 0, grille, x == 5000 ? "15" : nullptr);
  // 办公室二: 2 x 2 LED panels.
  for (double y : {1500.0, 4500.0})
    for (double x : {7700.0, 10700.0}) AddLuminaire(d, "ZM3B平板灯", x, y, 0, panel);
  // 会议室: 2 x 2 downlights and a wall lamp on the east wall.
  for (double y : {1500.0, 4500.0})
    for (double x : {13800.0, 16600.0}) AddLuminaire(d, "ZM2筒灯", x, y, 0, downlight);
  AddLuminaire(d, "ZM2筒灯", 17850, 3000, 90, wall_lamp);

  // Switches beside the doors, sockets on the walls (rotated to face into the room).
  AddDevice(d, "KG1开关", 5900, 5700, 180);
  AddDevice(d, "KG1开关", 12100, 5700, 180);
  AddDevice(d, "KG1开关", 12500, 5700, -90);
  AddDevice(d, "CZ1插座", 1500, 0, 0);
  AddDevice(d, "CZ1插座", 0, 3000, -90);
  AddDevice(d, "CZ1插座", 9200, 0, 0);
  AddDevice(d, "CZ1插座", 12200, 3000, 90);
  AddDevice(d, "CZ1插座", 15200, 0, 0);
  AddDevice(d, "CZ1插座", 18000, 1500, 90);
  d.ClearUndo();
  return d;
}

// The reference scene's luminaires in a plan of millimetres: model "<curve>-<flux>", name
// 宽配光筒灯, the mounting height in metres above the calculation plane.
bool BuildHall(const std::string& scene_path, Drawing& d, std::string& error) {
  std::ifstream in(scene_path, std::ios::binary);
  nlohmann::json scene = nlohmann::json::parse(in, nullptr, false);
  if (scene.is_discarded() || !scene.contains("luminaires")) {
    error = scene_path + ": not a scene with luminaires";
    return false;
  }
  d.set_arch_scale(1);
  d.set_draw_scale(100);
  d.EnsureLayer("照明", 1);
  d.RegisterApp(kApp);
  d.SetBlock(LuminaireDownlight());
  const double plane = scene.value("plane_z", 0.0);
  for (const auto& l : scene["luminaires"]) {
    const auto& pos = l.at("pos");
    const std::string model =
        l.at("curve").get<std::string>() + "-" + std::to_string(l.at("flux_lm").get<int>());
    const std::string height = std::to_string(pos.at(2).get<double>() - plane);
    AddLuminaire(d, "ZM2筒灯", pos.at(0).get<double>() * 1000, pos.at(1).get<double>() * 1000, 0,
                 Luminaire{"宽配光筒灯", model.c_str(), height.c_str()});
  }
  d.ClearUndo();
  return true;
}

std::string ReadFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool check = !args.empty() && args[0] == "--check";
  if (check) args.erase(args.begin());
  if (!check && args.size() == 3 && args[0] == "--hall") {
    Drawing hall;
    std::string error;
    DxfResult r;
    if (BuildHall(args[1], hall, error)) r = WriteDxf(hall, args[2]);
    if (!error.empty() || !r.ok) {
      std::cerr << "make_example_plan: " << (error.empty() ? r.error : error) << "\n";
      return 1;
    }
    return 0;
  }
  if (args.size() != 1) {
    std::cerr << "usage: make_example_plan [--check] FILE.dxf | --hall SCENE.json FILE.dxf\n";
    return 2;
  }
  Drawing plan = BuildPlan();
  if (!check) {
    DxfResult r = WriteDxf(plan, args[0]);
    if (!r.ok) {
      std::cerr << "make_example_plan: " << r.error << "\n";
      return 1;
    }
    return 0;
  }
  // Write beside the system's temporary files and compare byte for byte.
  auto fresh = std::filesystem::temp_directory_path() /
               ("make_example_plan-" + std::to_string(::getpid()) + ".dxf");
  DxfResult r = WriteDxf(plan, fresh.string());
  if (!r.ok) {
    std::cerr << "make_example_plan: " << r.error << "\n";
    return 1;
  }
  bool same = ReadFile(fresh) == ReadFile(args[0]);
  std::filesystem::remove(fresh);
  if (!same) {
    std::cerr << "make_example_plan: " << args[0]
              << " differs from the generated plan; run make_example_plan " << args[0] << "\n";
    return 1;
  }
  return 0;
}
