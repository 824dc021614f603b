// Colour effects of the distribution drawing and their file, "LXSetColor.syl": an INI file with
// one section per effect, in the order the effects are offered:
//
//   [彩虹]
//   色调=彩虹                       name of the colour scale (one of ColourScaleNames, or 自定义)
//   颜色类型=RGB                    how 颜色 is written: RGB or ACI
//   颜色=0,0,255;0,200,80;255,0,0   stops from the lowest to the highest value, ";" between
//                                   them: R,G,B each 0..255, or one colour index 1..255
//   最大照度=500                    the absolute range (range type 1), lx
//   最小照度=0
//   推荐值=0-300;0-500;100-750      recommended ranges "minimum-maximum", ";" between them
//
// Lines starting with ";" are comments. Files written by older tools in code page 936 are read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace nydraw {

struct ColourEffect {
  std::string name;
  std::string scale = "自定义";
  bool aci = false;                  // stops written as colour indices
  std::vector<std::uint32_t> stops;  // 0xRRGGBB (converted from indices when aci)
  std::vector<int> stop_indices;     // the indices as written, when aci
  double range_max = 500, range_min = 0;
  std::vector<std::string> recommended;  // "minimum-maximum"
};

// Loads every effect. False with `error` set (and `effects` empty) when the file is missing or
// unreadable, or an effect is malformed: a damaged file is reported, never half used.
bool LoadEffects(const std::string& path, std::vector<ColourEffect>& effects, std::string& error);

// Writes every effect through a temporary file and a rename.
bool SaveEffects(const std::string& path, const std::vector<ColourEffect>& effects);

// The effect's colour at t in [0, 1] (clamped) as the nearest colour index.
int EffectColourIndex(const ColourEffect& effect, double t);

// The colour scales offered by the effect dialog, and the stops of one of them (empty when
// unknown).
std::vector<std::string> ColourScaleNames();
std::vector<std::uint32_t> ColourScaleStops(const std::string& name);

// A whole text as a finite number (blanks after it allowed).
bool ParseNumber(const std::string& text, double& out);

// "a-b" -> a, b; false when not of that form or not a < b.
bool ParseRange(const std::string& text, double& min, double& max);

}  // namespace nydraw
