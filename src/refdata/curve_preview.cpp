#include "refdata/curve_preview.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "host/dialog.h"
#include "host/host.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"

namespace {

constexpr int kCurveRows = 19;
constexpr double kDegToRad = 0.017453292519943295;
constexpr std::uint32_t kAxisColor = 0x808080;
constexpr std::uint32_t kGridColor = 0xD0D0D0;
constexpr std::uint32_t kColorA = 0xD02020;
constexpr std::uint32_t kColorB = 0x2040D0;

std::string Trim(const std::string& s) {
  std::size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return {};
  return s.substr(b, s.find_last_not_of(' ') - b + 1);
}

}  // namespace

bool LoadPreviewCurve(const std::string& table, PreviewCurve& curve) {
  std::string name = Trim(table);
  if (name.empty()) return false;
  NyAccess* db = ZirIrodoDotDb();
  if (!db || !db->IsTableInDatabase(name, "TABLE")) return false;
  NyStTable rows;
  int n = db->GetSelData(rows, FormatSql(kSelectCurveRows, name));
  if (n != kCurveRows) {
    nyhost::Host::Get().Print("<" + name + ">数据错误,请在(灯具扩充)中修改!");
    return false;
  }
  PreviewCurve loaded;
  std::vector<std::string> row;
  static constexpr const char* kColumns[] = {"角度", "光强A", "光强B"};
  for (int r = 0; r < n; ++r) {
    rows.GetValueRecord(row, r);
    if (row.size() < 3) continue;
    double v[3];
    for (std::size_t c = 0; c < 3; ++c) {
      if (!ReadDbNumber(row[c], c == 0 ? 90 : kMaxDbIntensity, v[c])) {
        nyhost::Host::Get().Print(
            fmt::sprintf("<%s>第%d行[%s]的值\"%s\"不是合理的数字,请在(灯具扩充)中修改!", name,
                         r + 1, kColumns[c], row[c]));
        return false;
      }
    }
    loaded.a.push_back({v[0], v[1]});
    loaded.b.push_back({v[0], v[2]});
  }
  curve = std::move(loaded);
  return true;
}

void PaintPreviewCurve(nyhost::Painter& p, const PreviewCurve& curve) {
  double w = p.Width(), h = p.Height();
  p.Rect(0, 0, w, h, kAxisColor, 0xFFFFFF);
  double cx = w / 2, cy = 14;
  double radius = std::max(1.0, std::min(w / 2, h - cy) - 8);
  double max_i = 0;
  for (const auto* list : {&curve.a, &curve.b})
    for (const auto& pt : *list) max_i = std::max(max_i, pt.intensity);
  // Rounded scale so the rings carry readable values.
  double scale_top = 100;
  while (scale_top < max_i) scale_top += scale_top < 1000 ? 100 : 500;
  auto at = [&](double angle_deg, double r, int side) {
    double a = angle_deg * kDegToRad;
    return std::pair<double, double>{cx + side * r * std::sin(a), cy + r * std::cos(a)};
  };
  // Rings at quarters of the scale, rays every 30 degrees.
  for (int ring = 1; ring <= 4; ++ring) {
    double r = radius * ring / 4;
    for (int side : {-1, 1})
      for (int deg = 0; deg < 90; deg += 5) {
        auto [x1, y1] = at(deg, r, side);
        auto [x2, y2] = at(deg + 5, r, side);
        p.Line(x1, y1, x2, y2, kGridColor);
      }
    auto [tx, ty] = at(0, r, 1);
    p.Text(tx + 2, ty - 2, std::to_string(static_cast<int>(scale_top * ring / 4)), kAxisColor, 9);
  }
  for (int deg = 0; deg <= 90; deg += 30)
    for (int side : {-1, 1}) {
      auto [x, y] = at(deg, radius, side);
      p.Line(cx, cy, x, y, deg == 0 ? kAxisColor : kGridColor);
    }
  auto draw = [&](const std::vector<CurvePoint>& pts, int side, std::uint32_t color) {
    for (std::size_t i = 1; i < pts.size(); ++i) {
      auto [x1, y1] = at(pts[i - 1].angle, radius * pts[i - 1].intensity / scale_top, side);
      auto [x2, y2] = at(pts[i].angle, radius * pts[i].intensity / scale_top, side);
      p.Line(x1, y1, x2, y2, color, 1.5);
    }
  };
  draw(curve.a, -1, kColorA);
  draw(curve.b, 1, kColorB);
  p.Text(4, 2, "A-A", kColorA, 10);
  p.Text(w - 28, 2, "B-B", kColorB, 10);
  p.Text(4, h - 12, "cd/klm", kAxisColor, 9);
}
