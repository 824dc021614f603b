#include "pointcalc/batch_edit.h"

#include <cmath>
#include <cstdlib>

#include "base/module_state.h"
#include "host/host.h"
#include "host/text_util.h"
#include "pointcalc/luminaire_table.h"
#include "refdata/curve_chooser.h"
#include "resources/templates.h"
#include "support/ny_scale.h"

namespace {

enum class Compare { kText, kWhole, kNumber };

Compare CompareOf(int col) {
  switch (col) {
    case kColHeight:
    case kColRotationZ:
    case kColTiltX:
    case kColTiltY:
      return Compare::kNumber;
    case kColLamp1Power:
    case kColLamp1Ballast:
    case kColLamp1Count:
    case kColLamp2Power:
    case kColLamp2Ballast:
    case kColLamp2Count:
    case kColFlux:
      return Compare::kWhole;
    default:
      return Compare::kText;
  }
}

bool Same(const std::string& a, const std::string& b, Compare how) {
  switch (how) {
    case Compare::kWhole:
      return std::atoi(a.c_str()) == std::atoi(b.c_str());
    case Compare::kNumber:
      return std::atof(a.c_str()) == std::atof(b.c_str());
    case Compare::kText:
      break;
  }
  return nyhost::ToLowerAscii(nyhost::Trim(a)) == nyhost::ToLowerAscii(nyhost::Trim(b));
}

double ArchScale() { return NyScale::GetArchScale(nyhost::Host::Get().drawing()); }

}  // namespace

std::string CommonCell(const std::vector<std::string>& cells, int col) {
  if (cells.empty()) return {};
  for (const auto& c : cells)
    if (!Same(c, cells.front(), CompareOf(col))) return {};
  return cells.front();
}

int CNyBatchEditDlg::DoModal(nyhost::Dialog* parent) {
  return nyhost::Host::Get().windows().RunModal(nyres::DialogTemplateOf(kTemplateId), *this,
                                                parent);
}

void CNyBatchEditDlg::OnInitDialog(nyhost::Dialog& dlg) {
  dlg.SetToolTip(402, "确定修改");
  dlg.SetToolTip(403, "取消修改");
  nyhost::GridState& g = dlg.Grid(kGridId);
  const nyhost::ControlState* frame = dlg.Control(404);
  SetUpLuminaireGrid(g, frame ? frame->tpl.w * 3 / 2 : 600);
  if (records_.empty()) return;
  // Every record as a table row, then the row shown keeps only what all of them share.
  nyhost::GridState all;
  SetUpLuminaireGrid(all, 600);
  const double scale = ArchScale();
  const auto names = LampNameOptions();
  for (std::size_t i = 0; i < records_.size(); ++i)
    FillLuminaireRow(all, static_cast<int>(i + 1), records_[i], scale, names);
  FillLuminaireRow(g, 1, records_.front(), scale, names);
  for (int col = 0; col < kLuminaireColumns; ++col) {
    std::vector<std::string> cells;
    for (int row = 1; row < all.rows(); ++row)
      cells.push_back(all.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].text);
    g.cells[1][static_cast<std::size_t>(col)].text = CommonCell(cells, col);
  }
  dlg.GridChanged(kGridId);
}

void CNyBatchEditDlg::OnCellClick(nyhost::Dialog& dlg, int id, int row, int col) {
  if (id != kGridId || row != 1 || col != kColCurve) return;
  std::string curve = dlg.GetCell(kGridId, row, col);
  if (ChooseSubstituteCurve("你正在:\n改变配光曲线", curve)) dlg.SetCell(kGridId, row, col, curve);
}

void CNyBatchEditDlg::OnCellEndEdit(nyhost::Dialog& dlg, int id, int row, int col) {
  if (id != kGridId) return;
  // Only the lists and the flux follow an edit here; the drawing changes when the table of the
  // dialog is written back.
  if (col == kColRotationZ || col == kColTiltX || col == kColTiltY) return;
  if (!CheckBallastCell(dlg, kGridId, row, col)) return;
  OnLuminaireRowChanged(dlg, kGridId, row, col, {});
}

bool CNyBatchEditDlg::Apply(const nyhost::Dialog& dlg) {
  const nyhost::GridState* g = dlg.GridOf(kGridId);
  if (!g || g->rows() < 2) return false;
  const auto& r = g->cells[1];
  auto text = [&](int c) -> const std::string& { return r[static_cast<std::size_t>(c)].text; };
  auto set = [&](int c) { return !nyhost::Trim(text(c)).empty(); };
  if (set(kColHeight) && std::atof(text(kColHeight).c_str()) * 1000 / ArchScale() <= 0) {
    nyhost::Host::Get().windows().MessageBox(kMessageCaption, "灯具安装高度有误!",
                                             nyhost::MbIcon::kWarning, nyhost::MbButtons::kOk);
    return false;
  }
  for (auto& rec : records_) {
    auto whole = [&](int c) { return std::atoi(text(c).c_str()); };
    auto num = [&](int c) { return std::atof(text(c).c_str()); };
    if (set(kColName)) rec.name = text(kColName);
    if (set(kColModel)) rec.model = text(kColModel);
    if (set(kColHeight)) rec.position.z = num(kColHeight) * 1000 / ArchScale();
    if (set(kColRotationZ)) rec.rotation_z = num(kColRotationZ);
    if (set(kColTiltX)) rec.tilt_x = num(kColTiltX);
    if (set(kColTiltY)) rec.tilt_y = num(kColTiltY);
    if (set(kColLamp1Name)) rec.lamp1_name = text(kColLamp1Name);
    if (set(kColLamp1Model)) rec.lamp1_model = text(kColLamp1Model);
    if (set(kColLamp1Power)) rec.lamp1_power = whole(kColLamp1Power);
    if (set(kColLamp1Ballast)) rec.lamp1_ballast_power = whole(kColLamp1Ballast);
    if (set(kColLamp1Count)) rec.lamp1_count = whole(kColLamp1Count);
    if (set(kColLamp2Name)) rec.lamp2_name = text(kColLamp2Name);
    if (set(kColLamp2Model)) rec.lamp2_model = text(kColLamp2Model);
    if (set(kColLamp2Power)) rec.lamp2_power = whole(kColLamp2Power);
    if (set(kColLamp2Ballast)) rec.lamp2_ballast_power = whole(kColLamp2Ballast);
    if (set(kColLamp2Count)) rec.lamp2_count = whole(kColLamp2Count);
    if (set(kColFlux)) rec.total_flux = whole(kColFlux);
    if (set(kColCurve)) rec.curve_table = text(kColCurve);
  }
  return true;
}

void CNyBatchEditDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == 402 || id == nyhost::kIdOk) {
    if (Apply(dlg)) dlg.EndDialog(nyhost::kIdOk);
  } else if (id == 403 || id == nyhost::kIdCancel) {
    dlg.EndDialog(nyhost::kIdCancel);
  }
}

bool CNyBatchEditDlg::OnKey(nyhost::Dialog&, int key) {
  return key == nyhost::kKeyEnter || key == nyhost::kKeyEscape;
}
