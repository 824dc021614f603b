#include "pointcalc/density.h"

#include <cmath>

#include <fmt/printf.h>

#include "support/ny_str.h"

namespace {

bool WholePart(const std::string& text, int& out) {
  double v = 0;
  // A count beyond a billion is no grid; past INT_MAX it would not even convert.
  if (!NyStr::IsDigit(v, text) || !(std::fabs(v) < 1e9)) return false;
  out = static_cast<int>(std::trunc(v));
  return true;
}

}  // namespace

bool ParseDensity(const std::string& input, Density& out) {
  std::string text = input;
  if (text.empty()) return false;
  std::string sep;
  for (const char* s : {"x", "X", "*"}) {
    if (text.find(s) != std::string::npos) {
      sep = s;
      break;
    }
  }
  if (sep.empty()) {
    // The full-width multiplication sign is read as "*".
    const std::string times = "×";
    if (auto pos = text.find(times); pos != std::string::npos) {
      text.replace(pos, times.size(), "*");
      sep = "*";
    }
  }
  Density d;
  if (sep.empty()) {
    if (!WholePart(text, d.x)) return false;
    d.y = d.x;
    d.two_numbers = false;
  } else {
    auto pos = text.find(sep);
    if (!WholePart(text.substr(0, pos), d.x) || !WholePart(text.substr(pos + sep.size()), d.y))
      return false;
    d.two_numbers = true;
  }
  out = d;
  return true;
}

std::string SpinDensity(Density& d, int step) {
  if (step > 0) {
    if (d.x > 10) d.x -= 10;
    if (d.y > 10) d.y -= 10;
  } else {
    d.x += 10;
    d.y += 10;
  }
  return d.two_numbers ? fmt::sprintf("%d*%d", d.x, d.y) : fmt::sprintf("%d", d.x);
}
