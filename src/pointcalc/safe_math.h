// Arithmetic guards of the point method: ratios that rounding pushes just past ±1 before an
// arccosine, doubles that are not numbers or too large before a cast to an integer, and the
// "%.0f" rounding of the keys of the position-index table.
#pragma once

#include <fmt/printf.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

// acos of a ratio clamped to [-1, 1]; a NaN ratio stays NaN (the callers test it).
inline double ClampedAcos(double ratio) { return std::acos(std::clamp(ratio, -1.0, 1.0)); }

// Truncation towards zero; NaN gives `fallback`, values beyond the int range the nearest limit.
inline int SafeToInt(double v, int fallback = 0) {
  if (std::isnan(v)) return fallback;
  if (v >= static_cast<double>(std::numeric_limits<int>::max()))
    return std::numeric_limits<int>::max();
  if (v <= static_cast<double>(std::numeric_limits<int>::min()))
    return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

// "%.0f" with halves rounded away from zero (printf rounds them to even: 0.5 would read "0").
inline std::string RoundedKeyText(double v) { return fmt::sprintf("%.0f", std::round(v)); }
