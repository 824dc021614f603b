// nyluxora calc PLAN.dxf --rect X1,Y1,X2,Y2 | --polygon X,Y;X,Y;... --density "30*15"
//                [--standard "办公建筑/普通办公室"] [--out OUT.dxf] [--csv POINTS.csv]
//                [--ugr | --ugr-at X,Y --direction DEG | --section X1,Y1,X2,Y2 --side X,Y]
//
// Horizontal illuminance of one room (or, with the last options, the glare rating at every
// point or at one, or the illuminance of a vertical section), run as a session script through
// the point-method dialog exactly as a person would drive it, so the batch result is the
// dialog's own.
#include <fmt/printf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "cli/session.h"
#include "cli/subcommands.h"
#include "host/text_util.h"

namespace nycli {
namespace {

// ---------------------------------------------------------------- glare and section runs

struct GlareSectionOptions {
  bool ugr = false;
  std::string ugr_at, section, side;
  double direction = 90;
  bool Any() const { return ugr || !ugr_at.empty() || !section.empty(); }
};

void AddGlareSectionOptions(CLI::App& sub, GlareSectionOptions& g, CLI::Option* csv) {
  auto* ugr = sub.add_flag("--ugr", g.ugr, "Glare rating at every grid point (max/min/mean)");
  auto* at = sub.add_option("--ugr-at", g.ugr_at, "Glare rating at one point X,Y ...");
  auto* dir = sub.add_option("--direction", g.direction, "... looking DEG from the x axis");
  auto* sec = sub.add_option("--section", g.section, "Vertical section S->E: X1,Y1,X2,Y2 ...");
  auto* side = sub.add_option("--side", g.side, "... seen from the side of the point X,Y");
  at->needs(dir);
  dir->needs(at);
  sec->needs(side);
  side->needs(sec);
  ugr->excludes(at)->excludes(sec)->excludes(csv);
  at->excludes(sec)->excludes(csv);
  sec->excludes(csv);
}

// `numbers` numbers "a,b,c,d" as point answers: "a,b", or "a,b\npoint c,d"; empty otherwise.
std::string PointText(const std::string& text, std::size_t numbers = 2) {
  auto v = nyhost::SplitString(text, ',');
  if (v.size() != numbers) return {};
  std::string out;
  for (std::size_t i = 0; i < v.size(); ++i) {
    char* end = nullptr;
    std::string t = nyhost::Trim(v[i]);
    std::strtod(t.c_str(), &end);
    if (t.empty() || *end) return {};
    out += (i % 2 ? "," : i ? "\npoint " : "") + t;
  }
  return out;
}

// The result points' values of the open point dialog; none when it is not open.
std::optional<std::vector<double>> ResultValues(Session& session) {
  using ResultPoints = int (*)(double*, int);
  auto fn = reinterpret_cast<ResultPoints>(session.ResolveModuleFunction("NyLuxoraResultPoints"));
  const int n = fn ? fn(nullptr, 0) : -1;
  if (n < 0) return std::nullopt;
  std::vector<double> xyz(static_cast<std::size_t>(n) * 3), values;
  fn(xyz.data(), n);
  for (int i = 0; i < n; ++i) values.push_back(xyz[static_cast<std::size_t>(3 * i + 2)]);
  return values;
}

// The session lines of the chosen run, or empty (with `error`) for malformed points.
std::string RunLines(const GlareSectionOptions& g, std::string& error) {
  if (g.ugr) return "click 214 354\n";
  if (!g.ugr_at.empty()) {
    const std::string eye = PointText(g.ugr_at);
    if (eye.empty()) {
      error = "--ugr-at takes X,Y";
      return {};
    }
    // The viewing direction is picked as a second point 1000 units away.
    const auto v = nyhost::SplitString(eye, ',');
    const double rad = g.direction * 0.017453292519943295;
    return "click 214 367\npoint " + eye + "\n" +
           fmt::sprintf("point %.17g,%.17g\n", std::atof(v[0].c_str()) + 1000 * std::cos(rad),
                        std::atof(v[1].c_str()) + 1000 * std::sin(rad));
  }
  const std::string line = PointText(g.section, 4), side = PointText(g.side);
  if (line.empty() || side.empty()) {
    error = "--section takes X1,Y1,X2,Y2 and --side X,Y";
    return {};
  }
  return "click 214 353\npoint " + line + "\npoint " + side + "\n";
}

// Runs the room script and the chosen run; shows the fields only when the run completed.
// The verdict fields of a section are shown only when a standard was chosen.
int RunGlareSection(Session& session, const std::string& room, const GlareSectionOptions& g,
                    bool with_standard) {
  std::string error;
  const std::string run = RunLines(g, error);
  if (run.empty()) {
    std::cerr << "nyluxora: " << error << "\n";
    return 2;
  }
  auto& log = session.windows().message_log;
  log.clear();
  if (!session.RunScript(room + run, "calc")) return 1;
  if (!g.ugr_at.empty()) {
    // The answer is the message box the command showed (and printed on its command line).
    for (const auto& m : log)
      if (m.find("该点的眩光值") != std::string::npos) return 0;
    std::cerr << "\nnyluxora: the glare rating at the point did not complete\n";
    return 1;
  }
  const auto values = ResultValues(session);
  if (!values || values->empty()) {
    std::cerr << "\nnyluxora: the " << (g.ugr ? "glare rating" : "section calculation")
              << " did not complete (see the messages above)\n";
    return 1;
  }
  if (g.ugr && std::none_of(values->begin(), values->end(), [](double v) { return v > 0; })) {
    std::cout << "\nnyluxora: no luminaire counts for glare at any grid point: UGR 0 everywhere\n";
    return 0;
  }
  std::string show;
  for (int id : {241, 242, 243}) show += "show 214 " + std::to_string(id) + "\n";
  if (!g.ugr && with_standard) show += "show 214 245\nshow 214 372\nshow 214 360\n";
  return session.RunScript(show, "calc") ? 0 : 1;
}

// ---------------------------------------------------------------- horizontal

struct Options {
  std::string plan, rect, polygon, density = "50*75", standard, out, csv;
  GlareSectionOptions extra;
};

// "a,b,c,d" -> two points "a,b" and "c,d"; "x,y;x,y;..." -> one point per item.
bool Corners(const Options& o, std::vector<std::string>& points, std::string& error) {
  points.clear();
  if (!o.rect.empty()) {
    auto v = nyhost::SplitString(o.rect, ',');
    if (v.size() != 4) {
      error = "--rect takes X1,Y1,X2,Y2";
      return false;
    }
    points = {nyhost::Trim(v[0]) + "," + nyhost::Trim(v[1]),
              nyhost::Trim(v[2]) + "," + nyhost::Trim(v[3])};
    return true;
  }
  for (const auto& item : nyhost::SplitString(o.polygon, ';')) {
    std::string p = nyhost::Trim(item);
    if (p.empty()) continue;
    if (nyhost::SplitString(p, ',').size() < 2) {
      error = "--polygon takes X,Y;X,Y;...";
      return false;
    }
    points.push_back(p);
  }
  if (points.size() < 3) {
    error = "--polygon needs at least three corners";
    return false;
  }
  return true;
}

std::string BuildScript(const Options& o, const std::vector<std::string>& points) {
  std::ostringstream s;
  s << "open " << o.plan << "\n";
  s << "command ZIRIRODO_DOT\n";
  s << "click 214 " << (o.rect.empty() ? "334" : "335") << "\n";
  for (const auto& p : points) s << "point " << p << "\n";
  if (o.rect.empty()) s << "enter\n";
  s << "set 214 338 " << o.density << "\n";
  if (!o.standard.empty()) {
    s << "click 214 210\n";
    s << "choose 207 236 " << o.standard << "\n";
    if (o.extra.ugr || !o.extra.ugr_at.empty()) s << "show 207 363\n";  // its glare limit
    s << "click 207 1\n";
  }
  if (o.extra.Any()) return s.str();  // the glare or section run follows
  s << "click 214 337\n";
  // The result fields with their verdict tooltips, as the dialog shows them.
  for (int id : {338, 241, 242, 243, 232, 358, 245, 233, 372, 360}) s << "show 214 " << id << "\n";
  if (!o.out.empty()) s << "save " << o.out << "\n";
  return s.str();
}

bool WriteCsv(Session& session, const std::string& path) {
  using ResultPoints = int (*)(double*, int);
  auto fn = reinterpret_cast<ResultPoints>(session.ResolveModuleFunction("NyLuxoraResultPoints"));
  if (!fn) {
    std::cerr << "nyluxora: the module has no NyLuxoraResultPoints\n";
    return false;
  }
  int n = fn(nullptr, 0);
  if (n < 0) {
    std::cerr << "nyluxora: the point-method dialog is not open\n";
    return false;
  }
  std::vector<double> xyz(static_cast<std::size_t>(n) * 3);
  fn(xyz.data(), n);
  std::ofstream out(path, std::ios::binary);
  if (!out) {
    std::cerr << "nyluxora: cannot write " << path << "\n";
    return false;
  }
  out << "x,y,lx\n";
  char line[96];
  for (int i = 0; i < n; ++i) {
    std::snprintf(line, sizeof line, "%.6f,%.6f,%.6f\n", xyz[3 * i], xyz[3 * i + 1],
                  xyz[3 * i + 2]);
    out << line;
  }
  return static_cast<bool>(out);
}

const SubcommandRegistrar kCalc(
    "calc", "Horizontal illuminance of a room of a plan (point method)",
    [](CLI::App& sub) -> SubcommandRun {
      auto o = std::make_shared<Options>();
      sub.add_option("plan", o->plan, "Plan (DXF)")->required()->check(CLI::ExistingFile);
      auto* rect = sub.add_option("--rect", o->rect, "Rectangular room: X1,Y1,X2,Y2");
      auto* poly = sub.add_option("--polygon", o->polygon, "Polygonal room: X,Y;X,Y;...");
      rect->excludes(poly);
      sub.add_option("--density", o->density, "Grid density, e.g. \"30*15\"");
      sub.add_option("--standard", o->standard, "Standard as category/place");
      sub.add_option("--out", o->out, "Save the drawing (with the room outline) here");
      auto* csv =
          sub.add_option("--csv", o->csv, "Write the grid points and their illuminance here");
      AddGlareSectionOptions(sub, o->extra, csv);
      return [o](SubcommandContext& ctx) {
        if (o->rect.empty() && o->polygon.empty()) {
          std::cerr << "nyluxora: calc needs --rect or --polygon\n";
          return 2;
        }
        std::vector<std::string> points;
        std::string error;
        if (!Corners(*o, points, error)) {
          std::cerr << "nyluxora: " << error << "\n";
          return 2;
        }
        if (o->extra.Any())
          return RunGlareSection(ctx.session, BuildScript(*o, points), o->extra,
                                 !o->standard.empty());
        if (!ctx.session.RunScript(BuildScript(*o, points), "calc")) return 1;
        if (!o->csv.empty() && !WriteCsv(ctx.session, o->csv)) return 2;
        return 0;
      };
    });

}  // namespace
}  // namespace nycli
