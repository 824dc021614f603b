#include "refdata/missing_curve.h"

#include <fmt/format.h>

#include <cstring>
#include <filesystem>
#include <system_error>

#include "base/module_state.h"
#include "host/text_util.h"
#include "refdata/curve_chooser.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"

namespace {

CurvePolicy g_policy;
std::vector<CurvelessLuminaire> g_curveless;

// Stores the chosen curve for name and model, over a row that holds no curve yet.
void RememberCurve(NyAccess& db, const std::string& curve, const std::string& name,
                   const std::string& model) {
  std::vector<std::string> found;
  if (db.GetSelData(found, FormatSql(kSelectRememberedExists, name, model)) > 0)
    db.ExecuteSQL(FormatSql(kUpdateRememberedCurve, curve, name, model));
  else
    db.ExecuteSQL(FormatSql(kInsertRememberedCurve, curve, name, model));
}

}  // namespace

CurvePolicy& CurrentCurvePolicy() { return g_policy; }

void ResetCurvePolicy() {
  g_policy = {};
  g_curveless.clear();
}

std::vector<CurvelessLuminaire>& CurvelessLuminaires() { return g_curveless; }

bool CurveForUnknownLuminaire(const std::string& name, const std::string& model,
                              const nyhost::Point3& position, std::string& curve) {
  curve.clear();
  if (g_policy.mode == MissingCurveMode::kAsk) {
    std::string prompt = "在数据库中没有找到灯具:\n名称为:" + name + "\n型号为:" + model +
                         "\n的配光曲线!" + "\n是否用其他配光曲线代替?";
    std::string chosen;
    // A chooser closed without a choice leaves the curve empty; the calculation reports it.
    if (!ChooseSubstituteCurve(prompt, chosen) || nyhost::Trim(chosen).empty()) return true;
    curve = chosen;
    NyAccess* db = ZirIrodoDotDb();
    if (db && g_policy.remember) RememberCurve(*db, curve, name, model);
    return true;
  }
  auto it = g_policy.substitutes.find(model);
  if (it != g_policy.substitutes.end()) {
    curve = it->second;
    return true;
  }
  g_curveless.push_back({name, model, position});
  return false;
}

extern "C" int NyLuxoraBatchMode(const char* settings_file, int use_settings, int missing_mode,
                                 const char* substitutes, char* message, int size) {
  if (!ModuleLoaded()) {
    CopyOut("the module is not loaded", message, size);
    return 1;
  }
  CurvePolicy policy;
  policy.remember = false;
  policy.mode = missing_mode == 1 ? MissingCurveMode::kSkip : MissingCurveMode::kFail;
  NyAccess* db = ZirIrodoDotDb();
  for (const auto& line : nyhost::SplitString(substitutes ? substitutes : "", '\n')) {
    std::size_t eq = line.find('=');
    if (eq == std::string::npos) continue;
    std::string model = line.substr(0, eq), table = nyhost::Trim(line.substr(eq + 1));
    if (!db || table.empty() || !db->IsTableInDatabase(table)) {
      CopyOut("there is no curve table '" + table + "' (for model " + model + ")", message, size);
      return 1;
    }
    policy.substitutes[model] = table;
  }
  g_policy = std::move(policy);
  g_curveless.clear();
  ModuleState& state = Module();
  if (settings_file && *settings_file) {
    std::error_code ec;
    if (use_settings && std::filesystem::exists(state.SettingsFile, ec))
      std::filesystem::copy_file(state.SettingsFile, settings_file,
                                 std::filesystem::copy_options::overwrite_existing, ec);
    state.SettingsFile = settings_file;
  }
  CopyOut("", message, size);
  return 0;
}

extern "C" int NyLuxoraCurvelessLuminaires(char* text, int size) {
  std::string all;
  for (const auto& l : g_curveless)
    all += l.name + "\t" + l.model + "\t" + fmt::format("{},{}", l.position.x, l.position.y) + "\n";
  return CopyOut(all, text, size);
}
