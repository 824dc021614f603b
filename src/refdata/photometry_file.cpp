#include "refdata/photometry_file.h"

#include <fmt/format.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <sstream>
#include <vector>

namespace {

constexpr double kEps = 1e-6;
// More angles, planes or lamps than any real file has: a count above it is damage.
constexpr double kMaxAngles = 10000;
constexpr double kMaxLamps = 1000;

struct Token {
  std::string text;
  int line;
};

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char ch = text[i];
    if (ch == '\r' || ch == '\n') {
      lines.push_back(line);
      line.clear();
      if (ch == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else {
      line += ch;
    }
  }
  if (!line.empty()) lines.push_back(line);
  return lines;
}

std::string Trimmed(std::string_view s) {
  std::size_t b = 0, e = s.size();
  while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) --e;
  return std::string(s.substr(b, e - b));
}

bool ParseNumber(const std::string& text, double& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  value = std::strtod(text.c_str(), &end);
  return end == text.c_str() + text.size() && std::isfinite(value);
}

// Reads the numbers of a file one after another and says where a problem is.
// `v` as a count from `min` up to `max`; otherwise false with the file and line in `error`.
bool WholeCount(const std::string& name, std::size_t line, const char* what, double v,
                double min, double max, int& count, std::string& error) {
  if (v != std::floor(v) || v < min || v > max) {
    error = fmt::format("{}:{}: {} must be a whole number from {} to {}, not {}", name, line, what,
                        min, max, v);
    return false;
  }
  count = static_cast<int>(v);
  return true;
}

class NumberReader {
 public:
  NumberReader(std::vector<Token> tokens, const std::string& name, int last_line)
      : tokens_(std::move(tokens)), name_(name), last_line_(last_line) {}

  // The next number, described by `what` in the message when it is missing or no number.
  bool Next(const char* what, double& value, std::string& error) {
    if (pos_ >= tokens_.size()) {
      error = fmt::format("{}:{}: too few numbers: {} missing", name_, last_line_, what);
      return false;
    }
    const Token& t = tokens_[pos_++];
    line_ = t.line;
    if (!ParseNumber(t.text, value)) {
      error = fmt::format("{}:{}: '{}' is not a number ({})", name_, t.line, t.text, what);
      return false;
    }
    return true;
  }
  // The next number as a count from `min` up to `max`.
  bool Count(const char* what, double min, int& count, std::string& error,
             double max = kMaxAngles) {
    double v = 0;
    return Next(what, v, error) && WholeCount(name_, line_, what, v, min, max, count, error);
  }
  // `count` ascending angles up to `max`, the first 0 when `from_zero`.
  bool Angles(const char* what, int count, double max, bool from_zero, std::vector<double>& angles,
              std::string& error) {
    angles.resize(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      double& a = angles[static_cast<std::size_t>(i)];
      if (!Next(what, a, error)) return false;
      if (i == 0 && from_zero && a != 0) {
        error = fmt::format("{}:{}: the {}s start at {}, not at 0", name_, line_, what, a);
        return false;
      }
      if (a < 0 || a > max) {
        error = fmt::format("{}:{}: {} {} is outside 0..{}", name_, line_, what, a, max);
        return false;
      }
      if (i > 0 && a <= angles[static_cast<std::size_t>(i) - 1]) {
        error = fmt::format("{}:{}: {} not ascending: {} after {}", name_, line_, what, a,
                            angles[static_cast<std::size_t>(i) - 1]);
        return false;
      }
    }
    return true;
  }
  int line() const { return line_; }

 private:
  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
  std::string name_;
  int last_line_;
  int line_ = 0;
};

// Numbers separated by blanks or commas, from line `first` (0-based) on.
std::vector<Token> Tokens(const std::vector<std::string>& lines, std::size_t first) {
  std::vector<Token> tokens;
  for (std::size_t i = first; i < lines.size(); ++i) {
    std::string line = lines[i];
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream in(line);
    std::string word;
    while (in >> word) tokens.push_back({word, static_cast<int>(i) + 1});
  }
  return tokens;
}

double Normal(double c) {
  c = std::fmod(c, 360.0);
  if (c < 0) c += 360.0;
  return c >= 360.0 - kEps ? 0.0 : c;
}

// How the planes a file gives cover the circle.
enum class Symmetry { kRotational, kQuadrant0, kQuadrant90, kBilateral0, kBilateral90, kFull };

// The given plane whose values a plane at `c` takes.
double SourceAngle(double c, Symmetry s) {
  c = Normal(c);
  switch (s) {
    case Symmetry::kRotational:
      return 0;
    case Symmetry::kQuadrant0:
      if (c > 180) c = 360 - c;
      return c > 90 ? 180 - c : c;
    case Symmetry::kQuadrant90:
      if (c > 180) c = 360 - c;
      return c < 90 ? 180 - c : c;
    case Symmetry::kBilateral0:
      return c > 180 ? 360 - c : c;
    case Symmetry::kBilateral90:
      if (c < 90) return 180 - c;
      return c > 270 ? 540 - c : c;
    case Symmetry::kFull:
      return c;
  }
  return c;
}

// Fills p.c_angles / p.cd_klm over [0, 360) from the given planes.
void Unfold(const std::vector<double>& angles, const std::vector<std::vector<double>>& planes,
            Symmetry s, Photometry& p) {
  if (s == Symmetry::kRotational) {
    p.c_angles = {0};
    p.cd_klm = {planes.front()};
    return;
  }
  std::vector<double> all;
  for (double a : angles) {
    for (double x : {a, 360 - a, 180 - a, 180 + a}) {
      x = Normal(x);
      if (std::abs(SourceAngle(x, s) - a) > kEps) continue;
      if (std::none_of(all.begin(), all.end(), [&](double y) { return std::abs(x - y) < kEps; }))
        all.push_back(x);
    }
  }
  std::sort(all.begin(), all.end());
  p.c_angles = all;
  p.cd_klm.clear();
  for (double x : all) {
    const double source = SourceAngle(x, s);
    std::size_t i = 0;
    while (i + 1 < angles.size() && std::abs(angles[i] - source) > kEps) ++i;
    p.cd_klm.push_back(planes[i]);
  }
  // Symmetric about C90-C270 without a C180 plane: C0 lies between two planes; the grid starts
  // at 0 as every file does.
  if (p.c_angles.front() > kEps) {
    std::vector<double> c0;
    for (double g : p.gamma_angles) c0.push_back(PhotometryIntensity(p, 0, g));
    p.c_angles.insert(p.c_angles.begin(), 0.0);
    p.cd_klm.insert(p.cd_klm.begin(), c0);
  }
}

std::string StemOf(const std::string& name) { return std::filesystem::path(name).stem().string(); }

bool StartsWithNoCase(const std::string& s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
  return true;
}

// Interpolates a plane's values linearly in gamma.
double AlongGamma(const std::vector<double>& gammas, const std::vector<double>& values, double g) {
  if (gammas.empty() || !(g >= gammas.front() - kEps) || g > gammas.back() + kEps) return 0;
  auto it = std::upper_bound(gammas.begin(), gammas.end(), g);
  if (it == gammas.end()) return values.back();
  const std::size_t hi = static_cast<std::size_t>(it - gammas.begin());
  if (hi == 0) return values.front();
  const double t = (g - gammas[hi - 1]) / (gammas[hi] - gammas[hi - 1]);
  return values[hi - 1] + t * (values[hi] - values[hi - 1]);
}

}  // namespace

std::optional<Photometry> ParseIes(std::string_view text, const std::string& name,
                                   std::string& error) {
  const std::vector<std::string> lines = SplitLines(text);
  Photometry p;
  std::size_t i = 0;
  // The 1986 form has no format line: labels run straight up to TILT=.
  if (!lines.empty() &&
      (StartsWithNoCase(Trimmed(lines[0]), "IESNA") || StartsWithNoCase(Trimmed(lines[0]), "IES:")))
    ++i;
  std::string lumcat, tilt;
  for (; i < lines.size(); ++i) {
    const std::string line = Trimmed(lines[i]);
    // "TILT=" (blanks allowed before the sign); a label that merely starts with the word is not it.
    if (StartsWithNoCase(line, "TILT") && Trimmed(line.substr(4)).starts_with('=')) {
      tilt = Trimmed(line.substr(line.find('=') + 1));
      break;
    }
    if (StartsWithNoCase(line, "[LUMCAT]")) lumcat = Trimmed(line.substr(8));
  }
  if (i == lines.size()) {
    error = fmt::format("{}:{}: no TILT= line: not an IES LM-63 file", name, lines.size());
    return std::nullopt;
  }
  NumberReader in(Tokens(lines, i + 1), name, static_cast<int>(lines.size()));
  const int tilt_line = static_cast<int>(i) + 1;
  std::string kind = tilt;
  for (char& ch : kind) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  if (kind == "INCLUDE") {
    // The factors apply only to a tilted lamp; the catalogue keeps the normal position.
    double unused = 0;
    int pairs = 0;
    if (!in.Next("lamp-to-luminaire geometry", unused, error) ||
        !in.Count("number of tilt angles", 1, pairs, error))
      return std::nullopt;
    for (int k = 0; k < 2 * pairs; ++k)
      if (!in.Next(k < pairs ? "tilt angle" : "tilt factor", unused, error)) return std::nullopt;
  } else if (kind != "NONE") {
    error = fmt::format(
        "{}:{}: TILT={} names a separate tilt file, which is not read; put the "
        "tilt data in the file with TILT=INCLUDE",
        name, tilt_line, tilt);
    return std::nullopt;
  }

  double lumens = 0, multiplier = 0, type = 0, value = 0, ballast = 1;
  int lamps = 0, nv = 0, nh = 0;
  if (!in.Count("number of lamps", 1, lamps, error, kMaxLamps) ||
      !in.Next("lumens per lamp", lumens, error))
    return std::nullopt;
  if (lumens < 0) {
    error = fmt::format(
        "{}:{}: absolute photometry (lumens per lamp {}) has no lamp flux to "
        "relate the intensities to",
        name, in.line(), lumens);
    return std::nullopt;
  }
  if (lumens == 0) {
    error = fmt::format("{}:{}: lumens per lamp is 0", name, in.line());
    return std::nullopt;
  }
  if (!in.Next("candela multiplier", multiplier, error) ||
      !in.Count("number of vertical angles", 1, nv, error) ||
      !in.Count("number of horizontal angles", 1, nh, error) ||
      !in.Next("photometric type", type, error))
    return std::nullopt;
  if (type != 1) {
    error = fmt::format("{}:{}: photometric type {} ({}) is not read: only type C (1)", name,
                        in.line(), type,
                        type == 2   ? "type B"
                        : type == 3 ? "type A"
                                    : "unknown");
    return std::nullopt;
  }
  if (!in.Next("units type", value, error) || !in.Next("width", value, error) ||
      !in.Next("length", value, error) || !in.Next("height", value, error) ||
      !in.Next("ballast factor", ballast, error) || !in.Next("future use", value, error) ||
      !in.Next("input watts", p.watts, error))
    return std::nullopt;
  if (!(multiplier > 0) || !(ballast > 0)) {
    error = fmt::format("{}:{}: candela multiplier and ballast factor must be positive", name,
                        in.line());
    return std::nullopt;
  }
  std::vector<double> horizontal;
  if (!in.Angles("vertical angle", nv, 180, true, p.gamma_angles, error) ||
      !in.Angles("horizontal angle", nh, 360, false, horizontal, error))
    return std::nullopt;
  const double first = horizontal.front(), last = horizontal.back();
  Symmetry s;
  if (nh == 1 && first == 0) {
    s = Symmetry::kRotational;
  } else if (first == 0 && last == 90) {
    s = Symmetry::kQuadrant0;
  } else if (first == 0 && last == 180) {
    s = Symmetry::kBilateral0;
  } else if (first == 0 && last > 180) {
    s = Symmetry::kFull;
  } else if (first == 90 && last == 180) {
    s = Symmetry::kQuadrant90;
  } else if (first == 90 && last == 270) {
    s = Symmetry::kBilateral90;
  } else {
    error = fmt::format(
        "{}:{}: horizontal angles {}..{} give no symmetry this reader knows "
        "(0, 0..90, 0..180, 0..360, 90..180, 90..270)",
        name, in.line(), first, last);
    return std::nullopt;
  }
  const double scale = multiplier * ballast * 1000.0 / (lumens * lamps);
  std::vector<std::vector<double>> planes(static_cast<std::size_t>(nh));
  for (auto& plane : planes) {
    plane.resize(static_cast<std::size_t>(nv));
    for (double& v : plane) {
      if (!in.Next("candela value", v, error)) return std::nullopt;
      v *= scale;
      if (!(v >= 0) || !std::isfinite(v)) {
        error = fmt::format("{}:{}: candela value out of range (negative or overflowing)", name,
                            in.line());
        return std::nullopt;
      }
    }
  }
  // A full circle's 360-degree plane is its 0-degree plane again.
  if (s == Symmetry::kFull && last == 360) {
    horizontal.pop_back();
    planes.pop_back();
  }
  Unfold(horizontal, planes, s, p);
  p.lamp_count = lamps;
  p.lamp_lumens = lumens * lamps;
  p.model = !lumcat.empty() ? lumcat : StemOf(name);
  return p;
}

std::optional<Photometry> ParseLdt(std::string_view text, const std::string& name,
                                   std::string& error) {
  std::vector<std::string> lines = SplitLines(text);
  // Numbers of the fixed part, line by line (1-based line numbers).
  auto number = [&](std::size_t line, const char* what, double& v) {
    if (line > lines.size()) {
      error = fmt::format("{}:{}: too few lines: {} missing", name, lines.size(), what);
      return false;
    }
    std::string t = Trimmed(lines[line - 1]);
    std::replace(t.begin(), t.end(), ',', '.');  // some writers use a decimal comma
    if (!ParseNumber(t, v)) {
      error = fmt::format("{}:{}: '{}' is not a number ({})", name, line, t, what);
      return false;
    }
    return true;
  };
  auto count = [&](std::size_t line, const char* what, double min, double max, int& n) {
    double v = 0;
    return number(line, what, v) && WholeCount(name, line, what, v, min, max, n, error);
  };
  int isym = 0, mc = 0, ng = 0, sets = 0;
  double v = 0;
  if (!count(3, "symmetry indicator Isym", 0, 4, isym) ||
      !count(4, "number of C planes", 1, kMaxAngles, mc) ||
      !count(6, "number of polar angles", 1, kMaxAngles, ng))
    return std::nullopt;
  for (std::size_t line = 13; line <= 25; ++line)
    if (!number(line, "dimension, ratio or tilt", v)) return std::nullopt;
  if (!count(26, "number of lamp sets", 1, 20, sets)) return std::nullopt;
  const std::size_t n = static_cast<std::size_t>(sets);
  const std::size_t lamp_line = 27, flux_line = 27 + 2 * n, watts_line = 27 + 5 * n;
  double lamps = 0;
  Photometry p;
  if (!number(lamp_line, "number of lamps", lamps)) return std::nullopt;
  if (lamps <= 0 || lamps != std::floor(lamps) || lamps > kMaxLamps) {
    error = fmt::format("{}:{}: {} lamps: {}", name, lamp_line, lamps,
                        lamps < 0 ? "absolute photometry has no lamp flux to relate to"
                                  : "a whole number from 1 to 1000 is needed");
    return std::nullopt;
  }
  if (!number(flux_line, "lamp flux", p.lamp_lumens) || !number(watts_line, "wattage", p.watts))
    return std::nullopt;
  if (!(p.lamp_lumens > 0)) {
    error = fmt::format("{}:{}: lamp flux must be positive", name, flux_line);
    return std::nullopt;
  }
  for (std::size_t line = 27 + 6 * n; line < 37 + 6 * n; ++line)
    if (!number(line, "direct ratio", v)) return std::nullopt;

  NumberReader in(Tokens(lines, 36 + 6 * n), name, static_cast<int>(lines.size()));
  std::vector<double> c_angles;
  if (!in.Angles("C angle", mc, 360, true, c_angles, error) ||
      !in.Angles("polar angle", ng, 180, true, p.gamma_angles, error))
    return std::nullopt;
  if (((isym == 2 || isym == 3) && mc % 2) || (isym >= 3 && mc % 4)) {
    error =
        fmt::format("{}:{}: {} C planes cannot hold symmetry Isym {}", name, in.line(), mc, isym);
    return std::nullopt;
  }
  // The planes the file gives for its symmetry (first index, count) and how they unfold.
  static constexpr Symmetry kSymmetries[] = {Symmetry::kFull, Symmetry::kRotational,
                                             Symmetry::kBilateral0, Symmetry::kBilateral90,
                                             Symmetry::kQuadrant0};
  const int first = isym == 3 ? 3 * mc / 4 : 0;
  const int given = isym == 0 ? mc : isym == 1 ? 1 : isym == 4 ? mc / 4 + 1 : mc / 2 + 1;
  std::vector<double> angles;
  std::vector<std::vector<double>> planes;
  for (int k = 0; k < given; ++k) {
    double c = c_angles[static_cast<std::size_t>((first + k) % mc)];
    // C270..C90 across C0 mirror onto C90..C270, the half the unfolding starts from.
    if (isym == 3) c = Normal(180 - c);
    angles.push_back(c);
    planes.emplace_back(static_cast<std::size_t>(ng));
    for (double& value : planes.back()) {
      if (!in.Next("intensity", value, error)) return std::nullopt;
      if (value < 0) {
        error = fmt::format("{}:{}: negative intensity {}", name, in.line(), value);
        return std::nullopt;
      }
    }
  }
  const double expected_last[] = {angles.back(), 0, 180, 270, 90};
  if (isym == 3) {
    std::vector<std::size_t> order(angles.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
    std::sort(order.begin(), order.end(), [&](auto a, auto b) { return angles[a] < angles[b]; });
    std::vector<double> a2;
    std::vector<std::vector<double>> p2;
    for (auto k : order) a2.push_back(angles[k]), p2.push_back(planes[k]);
    angles = a2, planes = p2;
  }
  if (std::abs(angles.back() - expected_last[isym]) > kEps) {
    error = fmt::format("{}:{}: symmetry Isym {} needs the C{} plane among the C angles", name,
                        in.line(), isym, isym == 3 ? 90 : expected_last[isym]);
    return std::nullopt;
  }
  Unfold(angles, planes, kSymmetries[isym], p);
  p.lamp_count = static_cast<int>(lamps);
  p.model = Trimmed(lines.size() >= 10 ? lines[9] : std::string());
  if (p.model.empty()) p.model = StemOf(name);
  return p;
}

std::optional<Photometry> ReadPhotometryFile(const std::string& path, std::string& error) {
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    error = path + ": cannot be opened";
    return std::nullopt;
  }
  std::ostringstream text;
  text << file.rdbuf();
  const std::string content = text.str();
  std::string ext = std::filesystem::path(path).extension().string();
  for (char& ch : ext) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
  if (ext == ".ldt") return ParseLdt(content, path, error);
  return ParseIes(content, path, error);
}

std::string WriteIes(const Photometry& p) {
  const int lamps = std::max(1, p.lamp_count);
  const double lumens = p.lamp_lumens > 0 ? p.lamp_lumens : 1000.0;
  std::string out = "IESNA:LM-63-2002\n[TEST] \n[MANUFAC] \n";
  out += "[LUMCAT] " + p.model + "\n[LUMINAIRE] " + p.model + "\nTILT=NONE\n";
  const bool one_plane = p.c_angles.size() <= 1;
  const std::size_t nh = one_plane ? 1 : p.c_angles.size() + 1;
  out += fmt::format("{} {:.10g} {:.10g} {} {} 1 2 0 0 0\n1 1 {:.10g}\n", lamps, lumens / lamps,
                     lumens / 1000.0, p.gamma_angles.size(), nh, p.watts);
  // At most ten numbers a line, as the format asks of lines no longer than 256 characters; each
  // in its shortest form that reads back exactly, so angles meet the file's own again.
  auto write = [&out](const std::vector<double>& values) {
    for (std::size_t k = 0; k < values.size(); ++k)
      out += fmt::format("{}{}", values[k], (k % 10 == 9 || k + 1 == values.size()) ? "\n" : " ");
  };
  write(p.gamma_angles);
  std::vector<double> c = one_plane ? std::vector<double>{0} : p.c_angles;
  if (!one_plane) c.push_back(360);
  write(c);
  for (std::size_t k = 0; k < nh; ++k) write(p.cd_klm[k % p.cd_klm.size()]);
  return out;
}

double PhotometryIntensity(const Photometry& p, double c, double gamma) {
  if (p.cd_klm.empty()) return 0;
  const auto& planes = p.c_angles;
  if (planes.size() <= 1) return AlongGamma(p.gamma_angles, p.cd_klm.front(), gamma);
  c = Normal(c);
  // The neighbouring planes, the last wrapping round to the first.
  auto it = std::upper_bound(planes.begin(), planes.end(), c);
  const std::size_t hi = static_cast<std::size_t>(it - planes.begin()) % planes.size();
  const std::size_t lo = (hi + planes.size() - 1) % planes.size();
  double span = planes[hi] - planes[lo];
  double offset = c - planes[lo];
  if (span <= 0) span += 360;
  if (offset < 0) offset += 360;
  const double a = AlongGamma(p.gamma_angles, p.cd_klm[lo], gamma);
  const double b = AlongGamma(p.gamma_angles, p.cd_klm[hi], gamma);
  return a + (b - a) * offset / span;
}

std::array<double, kCurveRows> CurvePlane(const Photometry& p, double c) {
  std::array<double, kCurveRows> plane{};
  for (int k = 0; k < kCurveRows; ++k)
    plane[static_cast<std::size_t>(k)] = PhotometryIntensity(p, c, 5.0 * k);
  return plane;
}

Photometry PhotometryFromCurve(const std::array<double, kCurveRows>& a,
                               const std::array<double, kCurveRows>& b) {
  Photometry p;
  for (int k = 0; k < kCurveRows; ++k) p.gamma_angles.push_back(5.0 * k);
  std::vector<double> va(a.begin(), a.end()), vb(b.begin(), b.end());
  if (a == b) {
    p.c_angles = {0};
    p.cd_klm = {va};
  } else {
    p.c_angles = {0, 90, 180, 270};
    p.cd_klm = {va, vb, va, vb};
  }
  p.lamp_lumens = 1000;
  return p;
}

double UpwardLor(const Photometry& p) {
  if (p.gamma_angles.empty() || p.gamma_angles.back() <= 90) return 0;
  // Midpoint sums over the upper half sphere, 1 degree in gamma, 5 degrees in C.
  constexpr double kDeg = std::numbers::pi / 180.0;
  double flux = 0;
  for (double g = 90.5; g < 180; g += 1.0)
    for (double c = 2.5; c < 360; c += 5.0)
      flux += PhotometryIntensity(p, c, g) * std::sin(g * kDeg) * kDeg * 5.0 * kDeg;
  return flux / 1000.0;
}

double MaxSpacingToHeight(const Photometry& p) {
  constexpr double kDeg = std::numbers::pi / 180.0;
  double best = -1;
  for (double c : {0.0, 90.0}) {
    // Intensity towards a point at horizontal distance d (in mounting heights) along the plane,
    // times cos^3 of its angle: the illuminance there, per height squared.
    auto e = [&](double plane, double d) {
      const double g = std::atan(d) / kDeg;
      return PhotometryIntensity(p, plane, g) * std::pow(std::cos(g * kDeg), 3);
    };
    double ratio = 0;
    for (double r = 0.01; r <= 4.0 + kEps; r += 0.01) {
      const double midway = e(c, r / 2) + e(c + 180, r / 2);
      const double beneath = e(c, 0) + e(c + 180, r);
      if (!(beneath > 0) || midway < 0.7 * beneath) break;
      ratio = r;
    }
    best = best < 0 ? ratio : std::min(best, ratio);
  }
  // To a tenth, rounded down, as the catalogue gives its ratios.
  return std::floor(std::max(best, 0.0) * 10 + kEps) / 10;
}
