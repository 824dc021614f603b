#include "standards/reflectance_dialog.h"

#include <fmt/printf.h>

#include <algorithm>
#include <cstdlib>

#include "base/module_state.h"
#include "host/host.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "resources/templates.h"
#include "support/ny_access.h"
#include "support/ny_str.h"

const char* const CNySetReflectivityDlg::kMaterials[15] = {
    "粉刷", "喷白",   "砂浆",     "混凝土",   "砖墙",   "釉面墙", "水磨石", "大理石",
    "沥青", "调和漆", "塑料贴面", "塑料壁纸", "马赛克", "钢板",   "玻璃"};

namespace {

constexpr const char* kNone = "无";

// The value of a single-row, single-column answer.
bool OneValue(const std::string& sql, double& value) {
  NyAccess* db = NyDataDb();
  std::vector<std::string> v;
  if (!db || sql.empty() || db->GetSelData(v, sql) != 1 || v.size() != 1) return false;
  value = std::atof(v[0].c_str());
  return true;
}

}  // namespace

int CNySetReflectivityDlg::DoModal(nyhost::Dialog* parent) {
  return nyhost::Host::Get().windows().RunModal(nyres::DialogTemplateOf(kTemplateId), *this,
                                                parent);
}

void CNySetReflectivityDlg::OnInitDialog(nyhost::Dialog& dlg) {
  for (int i = 0; i < 6; ++i) dlg.Enable(kFirstColour + i, false);
  dlg.SetText(kReflectance, fmt::sprintf("%.15g", m_dReflectivity));
}

void CNySetReflectivityDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id >= kFirstMaterial && id < kFirstMaterial + 15) {
    MaterialChosen(dlg, kMaterials[id - kFirstMaterial]);
  } else if (id >= kFirstColour && id < kFirstColour + 6) {
    ColourChosen(dlg, id);
  } else if (id == kPlus || id == kMinus) {
    Step(dlg, id == kPlus ? 10 : -10);
  } else if (id == nyhost::kIdOk) {
    double v = 0;
    if (!NyStr::IsDigit(v, dlg.GetText(kReflectance))) return;
    m_dReflectivity = v;
    dlg.EndDialog(nyhost::kIdOk);
  } else if (id == nyhost::kIdCancel) {
    dlg.EndDialog(nyhost::kIdCancel);
  }
}

bool CNySetReflectivityDlg::OnKey(nyhost::Dialog&, int key) {
  if (key == nyhost::kKeyF1) ShowHelp("NY", "ME/利用系数法照度计算/利用系数法照度计算.html");
  return false;
}

void CNySetReflectivityDlg::MaterialChosen(nyhost::Dialog& dlg, const std::string& material) {
  NyAccess* db = NyDataDb();
  if (!db) return;
  std::vector<std::string> colours;
  db->GetSelData(colours, MaterialColourStatementOf(material));
  if (colours.empty()) {
    nyhost::Host::Get().windows().MessageBox(kMessageCaption, "数据库中不存在此数据!",
                                             nyhost::MbIcon::kWarning, nyhost::MbButtons::kOk);
    return;
  }
  for (int i = 0; i < 6; ++i) {
    dlg.SetText(kFirstColour + i, kNone);
    dlg.Enable(kFirstColour + i, false);
  }
  int button = 0;
  for (std::size_t i = 0; i < colours.size() && button < 6; ++i) {
    if (i == 0 && colours[0] == kNone) continue;
    dlg.SetText(kFirstColour + button, colours[i]);
    dlg.Enable(kFirstColour + button, true);
    ++button;
  }
  material_ = material;
  dlg.SetText(kMaterialText, material);
  double v = 0;
  const bool bracketed = material == "钢板" || material == "玻璃";
  if (OneValue(FormatSql(
                   bracketed ? kSelectColourlessReflectanceBracketed : kSelectColourlessReflectance,
                   material),
               v))
    dlg.SetText(kReflectance, fmt::sprintf("%.15g", v * 100));
}

void CNySetReflectivityDlg::ColourChosen(nyhost::Dialog& dlg, int button) {
  const std::string colour = dlg.GetText(button);
  double v = 0;
  if (OneValue(FormatSql(kSelectColourReflectance, material_, colour), v))
    dlg.SetText(kReflectance, fmt::sprintf("%.15g", v * 100));
  dlg.SetText(kColourText, colour);
}

void CNySetReflectivityDlg::Step(nyhost::Dialog& dlg, double delta) {
  double v = 0;
  if (!NyStr::IsDigit(v, dlg.GetText(kReflectance))) v = 0;
  v = std::clamp(v + delta, 0.0, 100.0);
  dlg.SetText(kReflectance, fmt::sprintf("%.15g", v));
}
