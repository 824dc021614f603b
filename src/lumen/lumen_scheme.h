// The lumen dialog's inputs as keys: the dialog state in the settings file, named schemes in
// "利用系数照度计算方案.txt" and the lamps remembered per luminaire model. All three stores use
// the same key names; every save is one atomic rewrite of its file.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "lumen/lumen_room.h"

// The record plus the positions selected in the four lamp lists (-1 = none).
struct LumenState {
  LumenRoom room;
  int lamp_kind1 = -1, lamp_kind2 = -1;    // 光源类型, 光源类型1
  int lamp_model1 = -1, lamp_model2 = -1;  // 灯型号, 灯型号1
};

using KeyValues = std::vector<std::pair<std::string, std::string>>;

// Every key in the order it is written, or only the lamp keys of the per-luminaire memory.
KeyValues StateKeys(const LumenState& s, bool lamps_only = false);
// Takes the values of the keys present; the others keep their current values.
void ApplyKeys(const KeyValues& keys, LumenState& s);

inline constexpr const char* kSchemeFileName = "利用系数照度计算方案.txt";
inline constexpr const char* kCurrentSchemeKey = "当前方案名称";

// Scheme names in file order (empty when the file is missing or holds none).
std::vector<std::string> SchemeNames(const std::string& file);
bool SchemeExists(const std::string& file, const std::string& name);
bool SaveScheme(const std::string& file, const std::string& name, const LumenState& s);
// Loads a scheme's keys over `s`; false when the scheme does not exist.
bool LoadScheme(const std::string& file, const std::string& name, LumenState& s);
bool DeleteScheme(const std::string& file, const std::string& name);
