#include "host/aci_colors.h"

#include <array>
#include <cmath>

namespace nyhost {
namespace {

// Indices 10..249 are 24 hues (15 degrees apart) x 5 brightness levels x (full, half
// saturation); each channel is truncated, as the classic table is.
std::uint32_t Generated(int index) {
  static constexpr double kValue[5] = {255, 204, 153, 127, 76};
  int hue_step = (index - 10) / 10;
  int k = (index - 10) % 10;
  double v = kValue[k / 2];
  double s = (k % 2) ? 0.5 : 1.0;
  double h = hue_step * 15.0;
  double c = v * s;
  double m = v - c;
  double hp = h / 60.0;
  double x = c * (1 - std::fabs(std::fmod(hp, 2.0) - 1));
  double r = 0, g = 0, b = 0;
  switch (static_cast<int>(hp)) {
    case 0:
      r = c, g = x;
      break;
    case 1:
      r = x, g = c;
      break;
    case 2:
      g = c, b = x;
      break;
    case 3:
      g = x, b = c;
      break;
    case 4:
      r = x, b = c;
      break;
    default:
      r = c, b = x;
      break;
  }
  auto ch = [&](double u) { return static_cast<std::uint32_t>(std::floor(u + m)); };
  return ch(r) << 16 | ch(g) << 8 | ch(b);
}

std::array<std::uint32_t, 256> BuildTable() {
  std::array<std::uint32_t, 256> t{};
  t[0] = 0x000000;
  t[1] = 0xFF0000;
  t[2] = 0xFFFF00;
  t[3] = 0x00FF00;
  t[4] = 0x00FFFF;
  t[5] = 0x0000FF;
  t[6] = 0xFF00FF;
  t[7] = 0xFFFFFF;
  t[8] = 0x808080;
  t[9] = 0xC0C0C0;
  for (int i = 10; i < 250; ++i) t[i] = Generated(i);
  static constexpr std::uint32_t kGrey[6] = {0x333333, 0x505050, 0x696969,
                                             0x828282, 0xBEBEBE, 0xFFFFFF};
  for (int i = 0; i < 6; ++i) t[250 + i] = kGrey[i];
  return t;
}

}  // namespace

std::uint32_t AciToRgb(int index) {
  static const std::array<std::uint32_t, 256> table = BuildTable();
  if (index < 0 || index > 255) index = 7;
  return table[static_cast<std::size_t>(index)];
}

}  // namespace nyhost

namespace nyhost {

int NearestAci(std::uint32_t rgb) {
  auto channel = [](std::uint32_t c, int shift) { return static_cast<int>((c >> shift) & 0xFF); };
  int best = 1;
  long best_d = -1;
  for (int i = 1; i < 256; ++i) {
    if (i == 7 || i == 255) continue;
    const std::uint32_t c = AciToRgb(i);
    long d = 0;
    for (int shift : {16, 8, 0}) {
      const long e = channel(c, shift) - channel(rgb, shift);
      d += e * e;
    }
    if (best_d < 0 || d < best_d) {
      best_d = d;
      best = i;
    }
  }
  return best;
}

}  // namespace nyhost
