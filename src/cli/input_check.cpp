#include "cli/input_check.h"

#include <fmt/format.h>

#include <charconv>
#include <cmath>

#include "host/text_util.h"

namespace nycli {

std::string Ordinal(std::size_t index) {
  static const char* const kNames[] = {"first", "second", "third", "fourth", "fifth"};
  if (index < std::size(kNames)) return kNames[index];
  return fmt::format("{}th", index + 1);
}

std::optional<double> CheckedNumber(std::string_view text, double limit, std::string& error) {
  std::string t = nyhost::Trim(text);
  std::string_view digits = t;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  double v = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (t.empty() || end != digits.data() + digits.size() ||
      (ec != std::errc() && ec != std::errc::result_out_of_range)) {
    error = "'" + t + "' is not a number";
    return std::nullopt;
  }
  if (std::isnan(v) || std::isinf(v) || ec == std::errc::result_out_of_range) {
    error = "'" + t + "' is not a finite number";
    return std::nullopt;
  }
  if (std::fabs(v) > limit) {
    error = fmt::format("'{}' is out of range (at most {:g} in size)", t, limit);
    return std::nullopt;
  }
  return v;
}

std::optional<double> CheckedPositive(std::string_view text, double max, std::string& error) {
  auto n = CheckedNumber(text, max, error);
  if (n && *n < 1) {
    error = "'" + nyhost::Trim(text) + "' is below 1";
    return std::nullopt;
  }
  return n;
}

std::optional<int> CheckedInteger(std::string_view text, int min, int max, std::string& error) {
  std::string t = nyhost::Trim(text);
  std::string_view digits = t;
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  long long v = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (t.empty() || ec != std::errc() || end != digits.data() + digits.size()) {
    error = "'" + t + "' is not a whole number";
    return std::nullopt;
  }
  if (v < min || v > max) {
    error = fmt::format("'{}' is out of range ({} to {})", t, min, max);
    return std::nullopt;
  }
  return static_cast<int>(v);
}

std::optional<nyhost::Point3> CheckedPoint(std::string_view text, std::string& error) {
  auto parts = nyhost::SplitString(nyhost::Trim(text), ',');
  if (parts.size() < 2 || parts.size() > 3) {
    error = "'" + nyhost::Trim(text) + "' is not a point X,Y or X,Y,Z";
    return std::nullopt;
  }
  double v[3] = {0, 0, 0};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::string why;
    auto n = CheckedNumber(parts[i], kMaxCoordinate, why);
    if (!n) {
      error = "the " + Ordinal(i) + " coordinate " + why;
      return std::nullopt;
    }
    v[i] = *n;
  }
  return nyhost::Point3{v[0], v[1], v[2]};
}

bool CheckedDensity(std::string_view text, std::string& error) {
  std::string t = nyhost::Trim(text);
  std::size_t sep = std::string::npos, width = 1;
  for (const char* s : {"x", "X", "*", "×"}) {
    sep = t.find(s);
    width = std::string_view(s).size();
    if (sep != std::string::npos) break;
  }
  std::vector<std::string> counts = {t};
  if (sep != std::string::npos) counts = {t.substr(0, sep), t.substr(sep + width)};
  for (std::size_t i = 0; i < counts.size(); ++i) {
    std::string why;
    if (!CheckedPositive(counts[i], kMaxDensity, why)) {
      error = "'" + t + "' is not a valid density (N or NxM): the " +
              (counts.size() == 1 ? std::string("count ") : Ordinal(i) + " count ") + why;
      return false;
    }
  }
  return true;
}

}  // namespace nycli
