#include "pointcalc/luminaire_table.h"

#include <fmt/printf.h>

#include <cmath>
#include <cstdlib>

#include "base/module_state.h"
#include "host/host.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "support/ny_access.h"
#include "support/ny_common.h"
#include "support/ny_number.h"
#include "support/ny_scale.h"
#include "support/ny_str.h"

namespace {

using nyhost::CellKind;

constexpr const char* kHeaders[kLuminaireColumns] = {
    "灯具名称", "灯具型号", "高度",     "Z轴旋转",      "X轴倾角",  "Y轴倾角",
    "第一光源名称", "光源类型", "功率", "镇流器功率",   "数量",     "第二光源名称",
    "光源类型", "功率",     "镇流器功率", "数量",        "总光通量", "改变配光曲线"};
// 0 = the default width (frame width / 10 - 5).
constexpr int kWidths[kLuminaireColumns] = {85, 45, 45, 45, 45, 45, 0, 0, 45,
                                            55, 45, 0,  0,  45, 55, 45, 45, 65};

// The NyData.mdb connection when the file is there; lists stay empty otherwise.
NyAccess* LampDb() {
  if (!ModuleLoaded()) return nullptr;
  std::string path = DataFile(kNyDataDb);
  if (!NyCommon::FileExists(path)) return nullptr;
  return GetDbConnection(path);
}

std::vector<std::string> Query(const std::string& sql) {
  std::vector<std::string> values;
  if (NyAccess* db = LampDb()) db->GetSelData(values, sql);
  return values;
}

std::vector<std::string> Unique(std::vector<std::string> v) {
  NyStr::RemoveSameStr(v, 0);
  return v;
}

nyhost::GridCell Cell(std::string text, CellKind kind = CellKind::kEdit,
                      std::vector<std::string> options = {}) {
  nyhost::GridCell c;
  c.text = std::move(text);
  c.kind = kind;
  c.options = std::move(options);
  return c;
}

// A cell that only takes one of its options.
nyhost::GridCell DropList(std::string text, std::vector<std::string> options) {
  nyhost::GridCell c = Cell(std::move(text), CellKind::kCombo, std::move(options));
  c.list_only = true;
  return c;
}

// Sane ranges of what a row holds; anything outside is refused when the table is read back.
constexpr double kMinHeightM = 0.001, kMaxHeightM = 1000;
constexpr double kMaxTypedAngle = 360;
constexpr int kMaxWatts = 100000;
constexpr int kMaxCount = 1000;
constexpr int kMaxFlux = 100000000;

std::string AngleText(double degrees) { return fmt::sprintf("%.0f", degrees); }

// A typed angle: a number within one turn either way.
bool TypedAngle(const std::string& text, double& degrees) {
  return NyStr::IsDigit(degrees, text) && std::fabs(degrees) <= kMaxTypedAngle;
}

double ArchScale() { return NyScale::GetArchScale(nyhost::Host::Get().drawing()); }

bool IsDataRow(const nyhost::GridState& g, int row) { return row >= 1 && row < g.rows(); }

void RefreshPowers(nyhost::GridState& g, int row, int type_col) {
  auto& r = g.cells[static_cast<std::size_t>(row)];
  auto powers = LampPowerOptions(r[type_col - 1].text, r[type_col].text, false);
  auto& power = r[static_cast<std::size_t>(type_col + 1)];
  power.options = powers;
  if (!powers.empty()) power.text = powers.front();
  RecomputeFlux(g, row);
}

}  // namespace

void RecomputeFlux(nyhost::GridState& g, int row) {
  auto& r = g.cells[static_cast<std::size_t>(row)];
  auto group = [&](int name, int type, int power, int count) {
    const double flux = LampFlux(r[name].text, r[type].text, NyStr::LeadingInt(r[power].text));
    return flux * NyStr::LeadingInt(r[count].text);
  };
  const double total = group(kColLamp1Name, kColLamp1Model, kColLamp1Power, kColLamp1Count) +
                       group(kColLamp2Name, kColLamp2Model, kColLamp2Power, kColLamp2Count);
  r[kColFlux].text = fmt::sprintf("%d", NyNumber::SaturateToInt(total));
}

std::string HeightText(double metres) {
  // The drawing's own precision up to millimetres: 3.0, 2.25, 2.125.
  std::string s = fmt::sprintf("%.3f", metres);
  while (s.size() > 2 && s.back() == '0' && s[s.size() - 2] != '.') s.pop_back();
  return s;
}

const std::vector<std::string>& AngleOptions() {
  static const std::vector<std::string> v{"0",  "5",   "10",  "15",  "30",  "45", "90",
                                          "-5", "-10", "-15", "-30", "-45", "-90"};
  return v;
}

const std::vector<std::string>& CountOptions() {
  static const std::vector<std::string> v{"1", "2", "3", "4", "5", "0"};
  return v;
}

const std::vector<std::string>& BallastOptions() {
  static const std::vector<std::string> v = [] {
    std::vector<std::string> o;
    for (int i = 0; i <= 9; ++i) o.push_back(fmt::sprintf("%d", i));
    return o;
  }();
  return v;
}

std::vector<std::string> LampNameOptions() { return Unique(Query(kSelectLampKindsSorted)); }

std::vector<std::string> LampTypeOptions(const std::string& name) {
  return Unique(Query(FormatSql(kSelectLampModelsOfKind, name)));
}

std::vector<std::string> LampPowerOptions(const std::string& name, const std::string& type,
                                          bool for_fill) {
  // Filling uses the statement without a blank before AND, a changed type the one with it.
  return Unique(Query(
      FormatSql(for_fill ? kSelectLampPowersNoBlank : kSelectLampPowers, name, type)));
}

int LampFlux(const std::string& name, const std::string& type, int power) {
  auto v = Query(FormatSql(kSelectLampFlux, name, type, power));
  return v.empty() ? 0 : std::atoi(v.front().c_str());
}

void SetUpLuminaireGrid(nyhost::GridState& grid, int frame_width_px) {
  grid.fixed_rows = 1;
  grid.fixed_cols = 0;
  grid.cells.assign(1, std::vector<nyhost::GridCell>(kLuminaireColumns));
  grid.col_widths.assign(kLuminaireColumns, 0);
  const int default_width = frame_width_px / 10 - 5;
  for (int c = 0; c < kLuminaireColumns; ++c) {
    grid.cells[0][static_cast<std::size_t>(c)] = Cell(kHeaders[c], CellKind::kReadOnly);
    grid.col_widths[static_cast<std::size_t>(c)] = kWidths[c] ? kWidths[c] : default_width;
  }
}

void FillLuminaireRow(nyhost::GridState& grid, int row, const LuminaireRecord& rec,
                      double arch_scale, const std::vector<std::string>& lamp_names) {
  if (grid.rows() <= row) grid.cells.resize(static_cast<std::size_t>(row + 1));
  auto& r = grid.cells[static_cast<std::size_t>(row)];
  r.assign(kLuminaireColumns, {});
  r[kColName] = Cell(rec.name);
  r[kColModel] = Cell(rec.model);
  r[kColHeight] = Cell(HeightText(rec.position.z * arch_scale * 0.001));
  r[kColRotationZ] = Cell(AngleText(rec.rotation_z), CellKind::kCombo, AngleOptions());
  r[kColTiltX] = Cell(AngleText(rec.tilt_x), CellKind::kCombo, AngleOptions());
  r[kColTiltY] = Cell(AngleText(rec.tilt_y), CellKind::kCombo, AngleOptions());
  auto group = [&](int first, const std::string& name, const std::string& type, int power,
                   int ballast, int count) {
    r[first] = DropList(name, lamp_names);
    r[first + 1] = DropList(type, LampTypeOptions(name));
    r[first + 2] = DropList(fmt::sprintf("%d", power), LampPowerOptions(name, type, true));
    r[first + 3] = Cell(fmt::sprintf("%d", ballast), CellKind::kCombo, BallastOptions());
    r[first + 4] = DropList(fmt::sprintf("%d", count), CountOptions());
  };
  group(kColLamp1Name, rec.lamp1_name, rec.lamp1_model, rec.lamp1_power, rec.lamp1_ballast_power,
        rec.lamp1_count);
  group(kColLamp2Name, rec.lamp2_name, rec.lamp2_model, rec.lamp2_power, rec.lamp2_ballast_power,
        rec.lamp2_count);
  r[kColFlux] = Cell(fmt::sprintf("%d", rec.total_flux));
  // The curve cell is changed by clicking it, which opens the curve chooser.
  r[kColCurve] = Cell(rec.curve_table, CellKind::kText);
}

void FillLuminaireTable(nyhost::Dialog& dlg, int grid_id,
                        const std::vector<LuminaireRecord>& recs) {
  nyhost::GridState& g = dlg.Grid(grid_id);
  g.cells.resize(1);
  g.selection = {};
  const double scale = ArchScale();
  const auto names = recs.empty() ? std::vector<std::string>{} : LampNameOptions();
  for (std::size_t i = 0; i < recs.size(); ++i)
    FillLuminaireRow(g, static_cast<int>(i + 1), recs[i], scale, names);
  dlg.GridChanged(grid_id);
}

bool ReadLuminaireRow(const nyhost::GridState& g, int row, double arch_scale, LuminaireRecord& rec,
                      std::string& message) {
  message.clear();
  const auto& r = g.cells[static_cast<std::size_t>(row)];
  if (r.size() < kLuminaireColumns) return false;
  auto text = [&](int c) -> const std::string& { return r[static_cast<std::size_t>(c)].text; };
  auto refuse = [&](int c) {
    message = fmt::sprintf("你输入的数据不合理!\n第%d行<%s>: %s", row, kHeaders[c], text(c));
    return false;
  };

  // A number the cell still shows as the record has it keeps every digit of the record's value.
  double z = rec.position.z;
  if (text(kColHeight) != HeightText(z * arch_scale * 0.001))
    z = NyStr::LeadingReal(text(kColHeight)) * 1000 / arch_scale;
  if (!(z > 0) || !NyNumber::InRange(z * arch_scale * 0.001, kMinHeightM, kMaxHeightM)) {
    message = "灯具安装高度有误!";
    return false;
  }
  double angles[3] = {rec.rotation_z, rec.tilt_x, rec.tilt_y};
  for (int i = 0; i < 3; ++i) {
    const int c = kColRotationZ + i;
    if (text(c) != AngleText(angles[i]) && !TypedAngle(text(c), angles[i])) return refuse(c);
  }
  struct Whole {
    int col, max;
    int* field;
  } wholes[] = {{kColLamp1Power, kMaxWatts, &rec.lamp1_power},
                {kColLamp1Ballast, kMaxWatts, &rec.lamp1_ballast_power},
                {kColLamp1Count, kMaxCount, &rec.lamp1_count},
                {kColLamp2Power, kMaxWatts, &rec.lamp2_power},
                {kColLamp2Ballast, kMaxWatts, &rec.lamp2_ballast_power},
                {kColLamp2Count, kMaxCount, &rec.lamp2_count},
                {kColFlux, kMaxFlux, &rec.total_flux}};
  int values[std::size(wholes)];
  for (std::size_t i = 0; i < std::size(wholes); ++i) {
    values[i] = NyStr::LeadingInt(text(wholes[i].col));
    if (values[i] < 0 || values[i] > wholes[i].max) return refuse(wholes[i].col);
  }
  rec.position.z = z;
  rec.rotation_z = angles[0];
  rec.tilt_x = angles[1];
  rec.tilt_y = angles[2];
  for (std::size_t i = 0; i < std::size(wholes); ++i) *wholes[i].field = values[i];
  rec.lamp1_name = text(kColLamp1Name);
  rec.lamp1_model = text(kColLamp1Model);
  rec.lamp2_name = text(kColLamp2Name);
  rec.lamp2_model = text(kColLamp2Model);
  rec.curve_table = text(kColCurve);
  return true;
}

bool ReadLuminaireTable(const nyhost::Dialog& dlg, int grid_id,
                        std::vector<LuminaireRecord>& recs) {
  const nyhost::GridState* g = dlg.GridOf(grid_id);
  if (!g || g->rows() != static_cast<int>(recs.size()) + 1) return false;
  const double scale = ArchScale();
  std::vector<LuminaireRecord> read = recs;
  for (std::size_t i = 0; i < read.size(); ++i) {
    std::string message;
    if (!ReadLuminaireRow(*g, static_cast<int>(i + 1), scale, read[i], message)) {
      if (!message.empty())
        nyhost::Host::Get().windows().MessageBox(kMessageCaption, message, nyhost::MbIcon::kWarning,
                                                 nyhost::MbButtons::kOk);
      return false;
    }
  }
  recs = std::move(read);
  return true;
}

void OnLuminaireRowChanged(nyhost::Dialog& dlg, int grid_id, int row, int col,
                           const std::vector<LuminaireRecord>& recs) {
  nyhost::GridState& g = dlg.Grid(grid_id);
  if (!IsDataRow(g, row) || col < 0) return;
  auto& r = g.cells[static_cast<std::size_t>(row)];
  const std::size_t index = static_cast<std::size_t>(row - 1);
  const nyhost::EntityId id = index < recs.size() ? recs[index].entity_id : nyhost::kNullId;
  switch (col) {
    case kColLamp1Name:
    case kColLamp2Name: {
      auto types = LampTypeOptions(r[static_cast<std::size_t>(col)].text);
      if (!types.empty()) {
        r[static_cast<std::size_t>(col + 1)].options = types;
        r[static_cast<std::size_t>(col + 1)].text = types.front();
      }
      RefreshPowers(g, row, col + 1);
      break;
    }
    case kColLamp1Model:
    case kColLamp2Model:
      RefreshPowers(g, row, col);
      break;
    case kColLamp1Power:
    case kColLamp1Count:
    case kColLamp2Power:
    case kColLamp2Count:
      RecomputeFlux(g, row);
      break;
    case kColRotationZ:
    case kColTiltX:
    case kColTiltY: {
      // Only a sane number reaches the drawing; anything else puts the luminaire's value back.
      double degrees = 0;
      auto& cell = r[static_cast<std::size_t>(col)];
      if (!TypedAngle(cell.text, degrees)) {
        nyhost::Host::Get().windows().MessageBox(kMessageCaption, "你输入的数据不合理!",
                                                 nyhost::MbIcon::kWarning, nyhost::MbButtons::kOk);
        if (index < recs.size()) {
          const LuminaireRecord& rec = recs[index];
          cell.text = AngleText(col == kColRotationZ ? rec.rotation_z
                                : col == kColTiltX   ? rec.tilt_x
                                                     : rec.tilt_y);
        }
      } else if (col == kColRotationZ) {
        WriteRotation(id, degrees);
      } else {
        WriteTilt(id, col == kColTiltX ? kKeyTiltX : kKeyTiltY, cell.text);
      }
      break;
    }
    default:
      break;
  }
  dlg.GridChanged(grid_id);
}

bool CheckBallastCell(nyhost::Dialog& dlg, int grid_id, int row, int col) {
  if (col != kColLamp1Ballast && col != kColLamp2Ballast) return true;
  if (row < 1) return true;
  double v = 0;
  if (NyStr::IsDigit(v, dlg.GetCell(grid_id, row, col)) && v >= 0 && v <= kMaxWatts) return true;
  nyhost::Host::Get().windows().MessageBox(kMessageCaption, "镇流器功率只能为数字!",
                                           nyhost::MbIcon::kWarning, nyhost::MbButtons::kOk);
  dlg.SetCell(grid_id, row, col, "0");
  return false;
}

std::vector<LuminaireTableRow> RememberedLampRows(const nyhost::Dialog& dlg, int grid_id,
                                                  std::size_t record_count) {
  std::vector<LuminaireTableRow> rows;
  const nyhost::GridState* g = dlg.GridOf(grid_id);
  if (!g || record_count == 0 || g->rows() != static_cast<int>(record_count) + 1) return rows;
  constexpr int kOrder[kRememberedRowCells] = {
      kColName,       kColModel,        kColLamp1Name,  kColLamp1Model, kColLamp1Power,
      kColLamp1Ballast, kColLamp1Count, kColLamp2Name,  kColLamp2Model, kColLamp2Power,
      kColLamp2Ballast, kColLamp2Count, kColFlux,       kColCurve};
  for (int row = 1; row < g->rows(); ++row) {
    LuminaireTableRow cells;
    for (int c : kOrder) cells.push_back(g->cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)].text);
    rows.push_back(std::move(cells));
  }
  return rows;
}
