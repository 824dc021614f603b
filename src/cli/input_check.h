// Numbers read from the user or a script, checked at the door: finite, in a sane range, and a
// message that names the text that is wrong.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "host/geometry.h"

namespace nycli {

// Coordinates beyond this (a thousand kilometres in millimetres) are refused.
inline constexpr double kMaxCoordinate = 1e9;
// Grid counts beyond this along one side are refused.
inline constexpr double kMaxDensity = 2000;

// A number within [-limit, limit]; else nullopt and `error` says why, quoting the text.
std::optional<double> CheckedNumber(std::string_view text, double limit, std::string& error);
// A number from 1 to `max` (a count, a scale).
std::optional<double> CheckedPositive(std::string_view text, double max, std::string& error);
// A whole number within [min, max].
std::optional<int> CheckedInteger(std::string_view text, int min, int max, std::string& error);
// "X,Y" or "X,Y,Z", each a checked coordinate; the error names the coordinate.
std::optional<nyhost::Point3> CheckedPoint(std::string_view text, std::string& error);
// A grid density as the point-method dialog reads it: "N" or "NxM" with x, X, * or the
// full-width ×, each count from 1 to kMaxDensity.
bool CheckedDensity(std::string_view text, std::string& error);
// "first", "second", ... for messages.
std::string Ordinal(std::size_t index);

}  // namespace nycli
