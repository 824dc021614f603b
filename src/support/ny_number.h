// Numbers on their way into the calculations: inverse cosines and sines of ratios that rounding
// pushed just past ±1, and doubles turned into integers only when they fit.
#pragma once

#include <algorithm>
#include <climits>
#include <cmath>
#include <optional>

class NyNumber {
 public:
  // acos / asin (radians) of a ratio clamped to [-1, 1]: h / d of a point on a luminaire's axis
  // can come out as 1.0000000000000002. A NaN stays NaN.
  static double Acos(double ratio) { return std::acos(std::clamp(ratio, -1.0, 1.0)); }
  static double Asin(double ratio) { return std::asin(std::clamp(ratio, -1.0, 1.0)); }

  // The integer part of v (towards zero), or nothing when v is not finite or does not fit an int.
  static std::optional<int> TruncToInt(double v) {
    if (!std::isfinite(v)) return std::nullopt;
    const double t = std::trunc(v);
    if (t < static_cast<double>(INT_MIN) || t > static_cast<double>(INT_MAX)) return std::nullopt;
    return static_cast<int>(t);
  }

  // The integer part of v held to the int range; NaN gives 0.
  static int SaturateToInt(double v) {
    if (std::isnan(v)) return 0;
    const double t =
        std::clamp(std::trunc(v), static_cast<double>(INT_MIN), static_cast<double>(INT_MAX));
    return static_cast<int>(t);
  }

  // Finite and within [lo, hi].
  static bool InRange(double v, double lo, double hi) {
    return std::isfinite(v) && v >= lo && v <= hi;
  }
};
