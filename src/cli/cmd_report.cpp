// nyluxora report PLAN.dxf --rect X1,Y1,X2,Y2 | --polygon X,Y;... [--density "30*15"]
//                 [--standard ...] [--curve MODEL=TABLE]... --points X,Y;X,Y;... --out R.xlsx|R.pdf
//
// The point report of a room: calc's horizontal calculation, then "生成计算书" picking a point at
// each given position (P1, P2, ... in that order), through the dialog as a person would. A
// report that was not written says why and exits non-zero.
#include <fmt/format.h>

#include <filesystem>
#include <iostream>

#include "cli/calc_run.h"
#include "cli/input_check.h"
#include "cli/session.h"
#include "host/host.h"
#include "host/text_util.h"

namespace nycli {
namespace {

// The positions of "X,Y;X,Y;...", every number checked; empty (with `error`) otherwise.
std::vector<nyhost::Point3> ReportPoints(const std::string& text, std::string& error) {
  std::vector<nyhost::Point3> points;
  for (const auto& item : nyhost::SplitString(text, ';')) {
    const auto xy = nyhost::SplitString(item, ',');
    std::optional<double> x, y;
    if (xy.size() == 2) {
      x = CheckedNumber(nyhost::Trim(xy[0]), kMaxCoordinate, error);
      if (x) y = CheckedNumber(nyhost::Trim(xy[1]), kMaxCoordinate, error);
    }
    if (!x || !y) {
      error = "--points takes X,Y;X,Y;... , not '" + item + "'";
      return {};
    }
    points.push_back({*x, *y, 0});
  }
  return points;
}

const SubcommandRegistrar kReport("report",
                                  "Point report: each luminaire's illuminance at given points "
                                  "of a room, as a workbook or a PDF document",
                                  [](CLI::App& sub) { return RoomCalculation(sub, true); });

}  // namespace

int RunReport(Session& session, const std::string& points_text, const std::string& out) {
  std::string error;
  const auto points = ReportPoints(points_text, error);
  if (points.empty()) {
    std::cerr << "nyluxora: " << error << "\n";
    return kExitUsage;
  }
  const std::string path = std::filesystem::absolute(out).string();
  const auto ext = std::filesystem::path(path).extension();
  if (ext != ".xlsx" && ext != ".pdf") {
    std::cerr << "nyluxora: --out names an .xlsx workbook or a .pdf document\n";
    return kExitUsage;
  }
  // The points the report picks, drawn last so that nothing lies over them.
  nyhost::Drawing* drawing = nyhost::Host::Get().drawing();
  std::string script = "file " + path + "\n";
  if (std::filesystem::exists(path)) script += "answer yes\n";
  script += "click 214 351\n";
  for (const auto& p : points) {
    nyhost::Entity e;
    e.data = nyhost::PointEntity{p};
    script += fmt::format("pick {:X}\n", drawing->Add(e));
  }
  script += "escape\n";
  const int alarms = session.windows().alarms;
  const auto before = std::filesystem::exists(path) ? std::filesystem::last_write_time(path)
                                                    : std::filesystem::file_time_type::min();
  if (!session.RunScript(script, "report") || session.windows().alarms != alarms ||
      !std::filesystem::exists(path) || std::filesystem::last_write_time(path) == before) {
    std::cerr << "\nnyluxora: the report was not written (see the messages above)\n";
    return kExitProblem;
  }
  std::cout << "\n";
  return kExitDone;
}

}  // namespace nycli
