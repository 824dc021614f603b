#include "pointcalc/batch_edit.h"

#include "base/module_state.h"
#include "host/host.h"
#include "host/text_util.h"
#include "pointcalc/luminaire_table.h"
#include "refdata/curve_chooser.h"
#include "resources/templates.h"
#include "support/ny_scale.h"
#include "support/ny_str.h"

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
      return NyStr::LeadingInt(a) == NyStr::LeadingInt(b);
    case Compare::kNumber:
      return NyStr::LeadingReal(a) == NyStr::LeadingReal(b);
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
  initial_.clear();
  for (const auto& cell : g.cells[1]) initial_.push_back(cell.text);
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
  // The row's flux only stands for every luminaire when all its lamp cells are common; otherwise
  // each luminaire gets its own on "确定".
  nyhost::GridState& g = dlg.Grid(kGridId);
  auto& r = g.cells[1];
  for (int c = kColLamp1Name; c <= kColLamp2Count; ++c) {
    if (c == kColLamp1Ballast || c == kColLamp2Ballast) continue;
    if (nyhost::Trim(r[static_cast<std::size_t>(c)].text).empty()) r[kColFlux].text.clear();
  }
  dlg.GridChanged(kGridId);
}

bool CNyBatchEditDlg::Apply(const nyhost::Dialog& dlg) {
  const nyhost::GridState* g = dlg.GridOf(kGridId);
  if (!g || g->rows() < 2) return false;
  const auto& batch = g->cells[1];
  auto text = [&](int c) -> const std::string& { return batch[static_cast<std::size_t>(c)].text; };
  auto filled = [&](int c) { return !nyhost::Trim(text(c)).empty(); };
  auto changed = [&](int c) {
    return filled(c) && (static_cast<std::size_t>(c) >= initial_.size() ||
                         text(c) != initial_[static_cast<std::size_t>(c)]);
  };
  bool lamps_changed = false;
  for (int c = kColLamp1Name; c <= kColLamp2Count; ++c) lamps_changed = lamps_changed || changed(c);

  // Each record goes through a table row of its own: the filled cells replace its values, the
  // flux follows its own lamps, and the row is read back with the main table's checks.
  const double scale = ArchScale();
  std::vector<LuminaireRecord> out = records_;
  nyhost::GridState rows;
  SetUpLuminaireGrid(rows, 600);
  for (auto& rec : out) {
    FillLuminaireRow(rows, 1, rec, scale, {});
    auto& r = rows.cells[1];
    for (int c = 0; c < kLuminaireColumns; ++c)
      if (c != kColFlux && filled(c)) r[static_cast<std::size_t>(c)].text = text(c);
    if (lamps_changed) {
      RecomputeFlux(rows, 1);
    } else if (changed(kColFlux)) {
      r[kColFlux].text = text(kColFlux);
    }
    std::string message;
    if (!ReadLuminaireRow(rows, 1, scale, rec, message)) {
      nyhost::Host::Get().windows().MessageBox(kMessageCaption, message, nyhost::MbIcon::kWarning,
                                               nyhost::MbButtons::kOk);
      return false;
    }
    rec.name = r[kColName].text;
    rec.model = r[kColModel].text;
  }
  records_ = std::move(out);
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
