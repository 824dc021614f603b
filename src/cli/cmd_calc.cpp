// nyluxora calc PLAN.dxf --rect X1,Y1,X2,Y2 | --polygon X,Y;X,Y;... --density "30*15"
//                [--standard "办公建筑/普通办公室"] [--out OUT.dxf] [--csv POINTS.csv]
//                [--draw points|lines|areas [--labels] [--effect NAME]]
//
// Horizontal illuminance of one room, run as a session script through the point-method dialog
// exactly as a person would drive it, so the batch result is the dialog's own.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <vector>

#include "cli/session.h"
#include "cli/subcommands.h"
#include "host/host.h"
#include "host/text_util.h"

namespace nycli {
namespace {

struct Options {
  std::string plan, rect, polygon, density = "50*75", standard, out, csv;
  std::string draw, effect;  // distribution drawing (below)
  bool labels = false;
};

// --- distribution drawing: --draw points|lines|areas [--labels] [--effect NAME] ---
// The dialog's "点" / "线" / "面" radio buttons, "标注", the effect list and "绘制照度分布".
void AddDrawOptions(CLI::App& sub, Options& o) {
  sub.add_option("--draw", o.draw, "Draw the distribution into the plan: points, lines or areas")
      ->check(CLI::IsMember({"points", "lines", "areas"}));
  sub.add_flag("--labels", o.labels, "With --draw: value labels");
  sub.add_option("--effect", o.effect, "With --draw: colour effect name");
}

void DrawScript(const Options& o, std::ostream& s) {
  if (o.draw.empty()) return;
  s << "click 214 " << (o.draw == "points" ? 330 : o.draw == "lines" ? 332 : 331) << "\n";
  s << "check 214 356 " << (o.labels ? 1 : 0) << "\n";
  if (!o.effect.empty()) s << "choose 214 388 " << o.effect << "\n";
  s << "click 214 336\n";
}
// True when the plan holds a distribution; otherwise says so.
bool DrawnOrSay(const Options& o) {
  const nyhost::Drawing* d = nyhost::Host::Get().drawing();
  if (d)
    for (const auto& e : d->entities())
      for (const auto& g : e.xdata)
        for (const auto& item : g.items)
          if (!e.erased && item.text.rfind("照度分布=", 0) == 0) return true;
  std::cerr << "nyluxora: the " << o.draw << " distribution was not drawn\n";
  return false;
}
// --- end of distribution drawing ---

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
    s << "click 207 1\n";
  }
  s << "click 214 337\n";
  // The result fields with their verdict tooltips, as the dialog shows them.
  for (int id : {338, 241, 242, 243, 232, 358, 245, 233, 372, 360}) s << "show 214 " << id << "\n";
  DrawScript(o, s);
  // A drawing is saved only once it is known to be there (DrawnOrSay).
  if (!o.out.empty() && o.draw.empty()) s << "save " << o.out << "\n";
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
      sub.add_option("--csv", o->csv, "Write the grid points and their illuminance here");
      AddDrawOptions(sub, *o);
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
        if (!ctx.session.RunScript(BuildScript(*o, points), "calc")) return 1;
        if (!o->draw.empty()) {
          if (!DrawnOrSay(*o)) return 1;
          if (!o->out.empty() && !ctx.session.SavePlan(o->out)) return 1;
        }
        if (!o->csv.empty() && !WriteCsv(ctx.session, o->csv)) return 2;
        return 0;
      };
    });

}  // namespace
}  // namespace nycli
