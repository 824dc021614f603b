#include "draw/effects.h"

#include <SimpleIni.h>
#include <fmt/format.h>

#include <cmath>
#include <cstdlib>

#include "host/aci_colors.h"
#include "host/text_codec.h"
#include "support/ny_common.h"

namespace nydraw {
namespace {

struct Scale {
  const char* name;
  std::vector<std::uint32_t> stops;
};

const std::vector<Scale>& Scales() {
  static const std::vector<Scale> kScales = {
      {"彩虹", {0x0000FF, 0x00A0FF, 0x00C850, 0xFFE600, 0xFF8000, 0xFF0000}},
      {"灰度", {0x202020, 0xD0D0D0}},
      {"冷暖", {0x2850C8, 0xFFDC78, 0xDC3C1E}},
      {"蓝绿红", {0x0000FF, 0x00FFFF, 0x00FF00, 0xFFFF00, 0xFF0000}},
  };
  return kScales;
}

std::vector<std::string> Split(const std::string& text, char sep) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find(sep, start);
    std::string p = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    while (!p.empty() && p.front() == ' ') p.erase(p.begin());
    while (!p.empty() && p.back() == ' ') p.pop_back();
    if (!p.empty()) parts.push_back(p);
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return parts;
}

bool ParseStops(ColourEffect& e, const std::string& text, std::string& why) {
  for (const auto& item : Split(text, ';')) {
    auto rgb = Split(item, ',');
    double v[3] = {0, 0, 0};
    const std::size_t want = e.aci ? 1 : 3;
    if (rgb.size() != want) {
      why = "颜色 \"" + item + "\"";
      return false;
    }
    for (std::size_t k = 0; k < want; ++k)
      if (!ParseNumber(rgb[k], v[k]) || v[k] < 0 || v[k] > 255 || v[k] != std::floor(v[k])) {
        why = "颜色 \"" + item + "\"";
        return false;
      }
    if (e.aci) {
      if (v[0] < 1) {
        why = "颜色 \"" + item + "\"";
        return false;
      }
      e.stop_indices.push_back(static_cast<int>(v[0]));
      e.stops.push_back(nyhost::AciToRgb(static_cast<int>(v[0])));
    } else {
      e.stops.push_back(static_cast<std::uint32_t>(v[0]) << 16 |
                        static_cast<std::uint32_t>(v[1]) << 8 | static_cast<std::uint32_t>(v[2]));
    }
  }
  if (e.stops.empty()) why = "没有颜色";
  return !e.stops.empty();
}

std::string StopsText(const ColourEffect& e) {
  std::string out;
  for (std::size_t k = 0; k < e.stops.size(); ++k) {
    if (k) out += ";";
    if (e.aci && k < e.stop_indices.size()) {
      out += std::to_string(e.stop_indices[k]);
    } else {
      const std::uint32_t c = e.stops[k];
      out += fmt::format("{},{},{}", c >> 16 & 0xFF, c >> 8 & 0xFF, c & 0xFF);
    }
  }
  return out;
}

std::string Join(const std::vector<std::string>& items) {
  std::string out;
  for (const auto& s : items) out += (out.empty() ? "" : ";") + s;
  return out;
}

}  // namespace

bool ParseNumber(const std::string& text, double& out) {
  const char* s = text.c_str();
  char* end = nullptr;
  out = std::strtod(s, &end);
  if (end == s) return false;
  while (*end == ' ') ++end;
  return *end == '\0' && std::isfinite(out);
}

bool ParseRange(const std::string& text, double& min, double& max) {
  auto dash = text.find('-', 1);
  if (dash == std::string::npos) return false;
  return ParseNumber(text.substr(0, dash), min) && ParseNumber(text.substr(dash + 1), max) &&
         min < max;
}

bool LoadEffects(const std::string& path, std::vector<ColourEffect>& effects, std::string& error) {
  effects.clear();
  std::string raw;
  if (!NyCommon::ReadFile(path, raw)) {
    error = path + ": 文件不存在或无法读取";
    return false;
  }
  const std::string text = nyhost::LegacyTextToUtf8(raw);
  CSimpleIniCaseA ini;
  ini.SetUnicode(true);
  if (ini.LoadData(text.data(), text.size()) < 0) {
    error = path + ": 文件已损坏";
    return false;
  }
  CSimpleIniCaseA::TNamesDepend sections;
  ini.GetAllSections(sections);
  sections.sort(CSimpleIniCaseA::Entry::LoadOrder());
  std::vector<ColourEffect> out;
  for (const auto& s : sections) {
    ColourEffect e;
    e.name = s.pItem;
    auto get = [&](const char* key) {
      const char* v = ini.GetValue(s.pItem, key, nullptr);
      return v ? std::string(v) : std::string();
    };
    std::string why;
    e.scale = get("色调").empty() ? "自定义" : get("色调");
    const std::string kind = get("颜色类型");
    e.aci = kind == "ACI";
    if (kind != "RGB" && kind != "ACI") why = "颜色类型 \"" + kind + "\"";
    if (why.empty()) ParseStops(e, get("颜色"), why);
    if (why.empty() && (!ParseNumber(get("最大照度"), e.range_max) ||
                        !ParseNumber(get("最小照度"), e.range_min) || e.range_min >= e.range_max))
      why = "照度范围";
    if (why.empty()) {
      e.recommended = Split(get("推荐值"), ';');
      for (const auto& r : e.recommended) {
        double a = 0, b = 0;
        if (!ParseRange(r, a, b)) why = "推荐值 \"" + r + "\"";
      }
    }
    if (!why.empty()) {
      error = path + ": [" + e.name + "] " + why + " 有误";
      return false;
    }
    out.push_back(std::move(e));
  }
  effects = std::move(out);
  return true;
}

bool SaveEffects(const std::string& path, const std::vector<ColourEffect>& effects) {
  std::string out =
      "; 照度分布颜色效果: 每节一个效果. 色调 = 色系名称; 颜色类型 = RGB 或 ACI;\n"
      "; 颜色 = 由低到高的颜色, 以 ; 分隔 (R,G,B 或颜色号); 最大照度 / 最小照度 = 绝对范围 lx;\n"
      "; 推荐值 = 推荐范围 最小-最大, 以 ; 分隔.\n";
  for (const auto& e : effects) {
    out +=
        fmt::format("\n[{}]\n色调={}\n颜色类型={}\n颜色={}\n最大照度={:g}\n最小照度={:g}\n", e.name,
                    e.scale, e.aci ? "ACI" : "RGB", StopsText(e), e.range_max, e.range_min);
    out += "推荐值=" + Join(e.recommended) + "\n";
  }
  return NyCommon::WriteFileAtomic(path, out);
}

int EffectColourIndex(const ColourEffect& effect, double t) {
  if (effect.stops.empty()) return 7;
  if (!(t > 0)) t = 0;
  if (t > 1) t = 1;
  if (effect.stops.size() == 1) return nyhost::NearestAci(effect.stops[0]);
  const double u = t * static_cast<double>(effect.stops.size() - 1);
  const auto k = std::min(static_cast<std::size_t>(u), effect.stops.size() - 2);
  const double f = u - static_cast<double>(k);
  const std::uint32_t a = effect.stops[k], b = effect.stops[k + 1];
  std::uint32_t rgb = 0;
  for (int shift : {16, 8, 0}) {
    const double ca = a >> shift & 0xFF, cb = b >> shift & 0xFF;
    rgb |= static_cast<std::uint32_t>(std::lround(ca + f * (cb - ca))) << shift;
  }
  return nyhost::NearestAci(rgb);
}

std::vector<std::string> ColourScaleNames() {
  std::vector<std::string> names;
  for (const auto& s : Scales()) names.push_back(s.name);
  return names;
}

std::vector<std::uint32_t> ColourScaleStops(const std::string& name) {
  for (const auto& s : Scales())
    if (name == s.name) return s.stops;
  return {};
}

}  // namespace nydraw
