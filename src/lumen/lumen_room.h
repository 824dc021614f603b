// The lumen method's room record and its arithmetic: areas, room cavity ratio, effective
// reflectances, the luminaire count, the illuminance reached, the power density and its verdicts,
// and the room size taken from a drawn outline.
#pragma once

#include <optional>
#include <string>

#include "standards/edition.h"

// Inputs and results under the names the dialog state, the scheme file and the report share.
struct LumenRoom {
  double length = 10.0;        // 房间长, m
  double width = 10.0;         // 房间宽, m
  double height = 2.8;         // 房间高: luminaire above the working plane, m
  double window_ratio = 15.0;  // 墙窗比, %
  double ceiling = 50.0;       // 顶棚反射率, %
  double wall = 50.0;          // 墙反射率, %
  double standard_lx = 100.0;  // 照度标准
  double standard_lpd = 0.0;   // 标准功率密度
  double maintenance = 0.7;    // 减光系数
  double cu = 0.0;             // 利用系数
  std::string cu_table;        // 利用系数表
  std::string model;           // 灯具类型
  std::string lamp;            // 灯具光源
  double spacing_ratio = 0.0;  // 距高比
  int count = 0;               // 灯具数
  double illuminance = 0.0;    // 实际照度
  struct LampSet {
    int lamps = 1;              // 灯数量
    int single_flux = 0;        // 单灯光通量
    int flux = 0;               // 灯光通量
    std::string power;          // 灯功率
    std::string ballast = "0";  // 镇流器功率
  } set1, set2;
  double floor_area = 0.0;     // 地板面积
  double perimeter = 0.0;      // 地板周长
  double wall_area = 0.0;      // 墙面积
  double lpd = 0.0;            // 功率密度
  double reference_lpd = 0.0;  // 标准 or 折算功率密度
};

// A = length × width, perimeter, wall area = perimeter × height, written into the record.
void UpdateRoomGeometry(LumenRoom& r);
// 2.5 × wall area ÷ floor area (0 for a room without floor).
double RoomCavityRatio(const LumenRoom& r);
// Fractions handed to the coefficient lookup; the window part of the wall counts as 0.09.
double EffectiveCeiling(const LumenRoom& r);
double EffectiveWall(const LumenRoom& r);
// ⌊u × 10^digits⌋ / 10^digits; -1 stays -1.
double CutCoefficient(double u, int digits);

// ((power 1 + ballast 1) × lamps 1 + (power 2 + ballast 2) × lamps 2) × N ÷ A, whole watts.
double ComputePowerDensity(const LumenRoom& r);
// ⌊E ÷ standard × limit × 100⌋ × 0.01; 0 for a standard near 0.
double ComputeReducedPowerDensity(const LumenRoom& r);

// The label of the reference field (control 405) and the tips of the reference (360), power
// density (358) and illuminance (227) fields.
struct LumenVerdicts {
  std::string label, reference_tip, lpd_tip, illuminance_tip;
};
// Applies the verdict rule of the edition (the reference becomes the standard limit when E
// reaches the standard); none while E is 0.
std::optional<LumenVerdicts> ShowPowerDensityVerdicts(
    LumenRoom& r, StandardEdition edition = StandardEdition::k2004);

// The whole calculation; on a stop, the message to show and the results untouched.
std::optional<std::string> CalculateAverageIlluminance(LumenRoom& r);
// A count typed or spun: E from N (cut to one decimal), then the power densities.
void IlluminanceFromCount(LumenRoom& r);
// An illuminance typed: N from E, then the power densities.
void CountFromIlluminance(LumenRoom& r);

// The room from an outline's area and perimeter in drawing units and the architectural scale:
// the rectangle of the same area and perimeter (a square when there is none). False for an area
// below 0.001.
bool RoomFromOutline(double area_du, double perimeter_du, double arch_scale, LumenRoom& r);
