#include "pointcalc/density.h"

#include <fmt/printf.h>

#include <climits>
#include <optional>

#include "support/ny_number.h"
#include "support/ny_str.h"

namespace {

// A count of at least one: "0", "-5" or "1e12" are no grid.
bool WholePart(const std::string& text, int& out) {
  double v = 0;
  if (!NyStr::IsDigit(v, text)) return false;
  const std::optional<int> whole = NyNumber::TruncToInt(v);
  if (!whole || *whole < 1) return false;
  out = *whole;
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
    d.x = d.x > INT_MAX - 10 ? d.x : d.x + 10;
    d.y = d.y > INT_MAX - 10 ? d.y : d.y + 10;
  }
  return d.two_numbers ? fmt::sprintf("%d*%d", d.x, d.y) : fmt::sprintf("%d", d.x);
}
