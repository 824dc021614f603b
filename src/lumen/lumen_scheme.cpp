#include "lumen/lumen_scheme.h"

#include <fmt/format.h>

#include <algorithm>
#include <cstdlib>
#include <variant>

#include "support/ny_ini_file.h"

namespace {

using Ref = std::variant<int*, double*, std::string*>;

struct Field {
  const char* key;
  Ref ref;
  bool lamp;  // also kept per luminaire model
};

// The keys in the order they are written.
std::vector<Field> Fields(LumenState& s) {
  LumenRoom& r = s.room;
  return {
      {"单灯光通量1", &r.set2.single_flux, false},
      {"单灯光通量", &r.set1.single_flux, false},
      {"利用系数", &r.cu, false},
      {"地板面积", &r.floor_area, false},
      {"地板周长", &r.perimeter, false},
      {"墙面积", &r.wall_area, false},
      {"墙窗比", &r.window_ratio, false},
      {"距高比", &r.spacing_ratio, false},
      {"灯具数", &r.count, false},
      {"照度标准", &r.standard_lx, false},
      {"标准功率密度", &r.standard_lpd, false},
      {"实际照度", &r.illuminance, false},
      {"减光系数", &r.maintenance, false},
      {"墙反射率", &r.wall, false},
      {"顶棚反射率", &r.ceiling, false},
      {"房间长", &r.length, false},
      {"房间宽", &r.width, false},
      {"房间高", &r.height, false},
      {"利用系数表", &r.cu_table, false},
      {"灯具类型", &r.model, false},
      {"灯具光源", &r.lamp, false},
      {"光源类型1", &s.lamp_kind2, true},
      {"光源类型", &s.lamp_kind1, true},
      {"灯型号1", &s.lamp_model2, true},
      {"灯型号", &s.lamp_model1, true},
      {"灯数量", &r.set1.lamps, true},
      {"灯数量1", &r.set2.lamps, true},
      {"灯功率", &r.set1.power, true},
      {"灯功率1", &r.set2.power, true},
      {"镇流器功率", &r.set1.ballast, true},
      {"镇流器功率1", &r.set2.ballast, true},
      {"灯光通量", &r.set1.flux, true},
      {"灯光通量1", &r.set2.flux, true},
  };
}

std::string Text(const Ref& ref) {
  if (auto* i = std::get_if<int*>(&ref)) return std::to_string(**i);
  if (auto* d = std::get_if<double*>(&ref)) return fmt::format("{}", **d);
  return *std::get<std::string*>(ref);
}

void Assign(const Ref& ref, const std::string& v) {
  if (auto* i = std::get_if<int*>(&ref)) {
    **i = std::atoi(v.c_str());
  } else if (auto* d = std::get_if<double*>(&ref)) {
    **d = std::atof(v.c_str());
  } else {
    *std::get<std::string*>(ref) = v;
  }
}

}  // namespace

KeyValues StateKeys(const LumenState& s, bool lamps_only) {
  KeyValues out;
  LumenState copy = s;
  for (const auto& f : Fields(copy))
    if (!lamps_only || f.lamp) out.emplace_back(f.key, Text(f.ref));
  return out;
}

void ApplyKeys(const KeyValues& keys, LumenState& s) {
  const auto fields = Fields(s);
  for (const auto& [key, value] : keys) {
    auto it = std::find_if(fields.begin(), fields.end(),
                           [&key = key](const Field& f) { return key == f.key; });
    if (it != fields.end()) Assign(it->ref, value);
  }
}

std::vector<std::string> SchemeNames(const std::string& file) {
  std::vector<std::string> names;
  NyIniFile::GetAllSeg(names, file);
  return names;
}

bool SchemeExists(const std::string& file, const std::string& name) {
  const auto names = SchemeNames(file);
  return std::find(names.begin(), names.end(), name) != names.end();
}

bool SaveScheme(const std::string& file, const std::string& name, const LumenState& s) {
  return NyIniFile::WriteKeys(name, StateKeys(s), file);
}

bool LoadScheme(const std::string& file, const std::string& name, LumenState& s) {
  if (!SchemeExists(file, name)) return false;
  ApplyKeys(NyIniFile::ReadSection(name, file), s);
  return true;
}

bool DeleteScheme(const std::string& file, const std::string& name) {
  return NyIniFile::DeleteSeg(name, file);
}
