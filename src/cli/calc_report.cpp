#include "cli/calc_report.h"

#include <cmath>
#include <cstdlib>
#include <nlohmann/json.hpp>

#include "host/entity_geometry.h"

namespace nycli {
namespace {

using json = nlohmann::ordered_json;

// A field's text as a number (the dialog shows "%.2f" and the like).
json Number(const nyhost::Dialog& dlg, int id) {
  std::string text = dlg.GetText(id);
  char* end = nullptr;
  double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0' || !std::isfinite(v)) return nullptr;
  return v;
}

std::string Tip(const nyhost::Dialog& dlg, int id) {
  const nyhost::ControlState* c = dlg.Control(id);
  return c ? c->tooltip : std::string();
}

// One object per luminaire row, keyed by the table's headers (the second lamp group's headers
// repeat the first's, so they get a "2" suffix).
json Luminaires(const nyhost::Dialog& dlg) {
  json list = json::array();
  const nyhost::ControlState* grid = dlg.Control(kLuminaireTable);
  if (!grid || grid->grid.cells.empty()) return list;
  const auto& header = grid->grid.cells[0];
  for (std::size_t r = 1; r < grid->grid.cells.size(); ++r) {
    json row = json::object();
    for (std::size_t c = 0; c < header.size() && c < grid->grid.cells[r].size(); ++c) {
      std::string key = header[c].text;
      if (row.contains(key)) key += "2";
      row[key] = grid->grid.cells[r][c].text;
    }
    list.push_back(std::move(row));
  }
  return list;
}

}  // namespace

bool PreciseChecked(const nyhost::Dialog& dlg) { return dlg.GetCheck(kPreciseCheck) != 0; }

double RoomAreaM2(const std::vector<nyhost::Point3>& corners, double arch_scale) {
  nyhost::Polyline outline;
  outline.closed = true;
  for (const auto& p : corners) outline.vertices.push_back({p.x, p.y});
  const double k = arch_scale * 0.001;
  return std::fabs(nyhost::PolylineArea(outline)) * k * k;
}

std::string CalcSummaryJson(const CalcSummary& s, const nyhost::Dialog& dlg) {
  json room = json::array();
  for (const auto& p : s.room) room.push_back({p.x, p.y});
  json j = {
      {"program", s.program},
      {"plan", s.plan},
      {"precise", PreciseChecked(dlg)},
      {"room", {{"polygon", room}, {"area_m2", s.area_m2}}},
      {"grid", {{"density", dlg.GetText(338)}, {"points", s.grid_points}}},
      {"luminaires", Luminaires(dlg)},
      {"luminaires_left_out", s.left_out},
      {"results",
       {{"max_lx", Number(dlg, 241)},
        {"min_lx", Number(dlg, 242)},
        {"average_lx", Number(dlg, 243)},
        {"uniformity", Number(dlg, 232)},
        {"power_density_w_m2", Number(dlg, 358)}}},
      {"standard",
       {{"name", s.standard},
        {"edition", s.edition},
        {"average_lx", Number(dlg, 245)},
        {"uniformity", Number(dlg, 233)},
        {"power_density_limit_w_m2", Number(dlg, 360)},
        {"limit_kind", dlg.GetText(372)}}},
      {"verdicts",
       {{"average", Tip(dlg, 243)},
        {"uniformity", Tip(dlg, 232)},
        {"power_density", Tip(dlg, 358)},
        {"limit", Tip(dlg, 360)}}},
  };
  return j.dump(2) + "\n";
}

}  // namespace nycli
