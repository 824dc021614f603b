// nyluxora calc PLAN.dxf --rect X1,Y1,X2,Y2 | --polygon X,Y;X,Y;... [--density "30*15"]
//                [--standard "办公建筑/普通办公室" [--edition 2004|2024]]
//                [--missing-curve skip|fail]
//                [--curve MODEL=TABLE]... [--use-settings] [--out OUT.dxf] [--csv POINTS.csv]
//                [--json SUMMARY.json] [--draw points|lines|areas [--labels] [--effect NAME]]
//                [--precise]
//                [--ugr | --ugr-at X,Y --direction DEG | --section X1,Y1,X2,Y2 --side X,Y]
//
// Horizontal illuminance of one room (or, with the last options, the glare rating at every
// point or at one, or the illuminance of a vertical section), run as a session script through
// the point-method dialog exactly as a person would drive it, so the batch result is the
// dialog's own. Nobody answers
// a dialog here: what a person would be asked is settled by the options, and a run that cannot
// finish says why and prints no result.
#include <fmt/printf.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <vector>

#include "cli/calc_report.h"
#include "cli/calc_run.h"
#include "cli/edition_option.h"
#include "cli/input_check.h"
#include "cli/session.h"
#include "cli/subcommands.h"
#include "host/file_io.h"
#include "host/host.h"
#include "host/text_util.h"

namespace nycli {
namespace {

namespace fs = std::filesystem;

constexpr int kStandardsDialog = 207;
constexpr int kStandardsTree = 236;

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
std::string AnswerPoints(const std::string& text, std::size_t numbers = 2) {
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
    const std::string eye = AnswerPoints(g.ugr_at);
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
  const std::string line = AnswerPoints(g.section, 4), side = AnswerPoints(g.side);
  if (line.empty() || side.empty()) {
    error = "--section takes X1,Y1,X2,Y2 and --side X,Y";
    return {};
  }
  return "click 214 353\npoint " + line + "\npoint " + side + "\n";
}

// Results of precise photometry say so on the console, after the fields.
void PrintPhotometryMode() {
  const nyhost::Dialog* dlg = nyhost::Host::Get().windows().FindDialog(kPointDialog);
  if (dlg && PreciseChecked(*dlg)) std::cout << "\n[214:" << kPreciseCheck << " 精确光度] 是";
}

// Runs the room script and the chosen run; shows the fields only when the run completed.
// The verdict fields of a section are shown only when a standard was chosen.
// `glare_limit` is the chosen standard's UGR limit, empty without a standard.
int RunGlareSection(Session& session, const GlareSectionOptions& g, bool with_standard,
                    const std::string& glare_limit) {
  std::string error;
  const std::string run = RunLines(g, error);
  if (run.empty()) {
    std::cerr << "nyluxora: " << error << "\n";
    return kExitUsage;
  }
  auto& log = session.windows().message_log;
  log.clear();
  if (!session.RunScript(run, "calc")) return 1;
  if (!g.ugr_at.empty()) {
    // The answer is the message box the command showed (and printed on its command line).
    for (const auto& m : log)
      if (m.find("该点的眩光值") != std::string::npos) {
        std::cout << "\n";
        return kExitDone;
      }
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
  if (!session.RunScript(show, "calc")) return kExitProblem;
  PrintPhotometryMode();
  if (g.ugr && !glare_limit.empty()) {
    const double max = std::min(3000.0, *std::max_element(values->begin(), values->end()));
    std::cout << fmt::sprintf("\n[UGR] 最大值 %.2f, 标准值 %s: %s", max, glare_limit,
                              max > std::atof(glare_limit.c_str()) ? "不满足标准!" : "满足标准!");
  }
  std::cout << "\n";
  return kExitDone;
}

struct Options {
  std::string plan, rect, polygon, density, standard, out, csv, json;
  std::string edition;  // --edition key; the dialog's item for it once chosen
  std::string missing_curve = "fail";
  std::vector<std::string> curves;  // MODEL=TABLE
  bool use_settings = false;
  bool precise = false;  // the dialog's "精确光度"
  std::string draw, effect;  // distribution drawing (below)
  bool labels = false;
  GlareSectionOptions extra;
  bool report = false;  // `report`: the point report of picked points instead of the outputs
  std::string points;
  std::string scheme;  // `report --scheme`: the lumen report of a saved scheme instead
  bool english = false;
};

// --- distribution drawing: --draw points|lines|areas [--labels] [--effect NAME] ---
// The dialog's "点" / "线" / "面" radio buttons, "标注", the effect list and "绘制照度分布".
void AddDrawOptions(CLI::App& sub, Options& o) {
  sub.add_option("--draw", o.draw, "Draw the distribution into the plan: points, lines or areas")
      ->check(CLI::IsMember({"points", "lines", "areas"}));
  sub.add_flag("--labels", o.labels, "With --draw: value labels");
  sub.add_option("--effect", o.effect, "With --draw: colour effect name");
}

std::string DrawScript(const Options& o) {
  if (o.draw.empty()) return "";
  std::ostringstream s;
  s << "click 214 " << (o.draw == "points" ? 330 : o.draw == "lines" ? 332 : 331) << "\n";
  s << "check 214 356 " << (o.labels ? 1 : 0) << "\n";
  if (!o.effect.empty()) s << "choose 214 388 " << o.effect << "\n";
  s << "click 214 336\n";
  return s.str();
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

void AddOptions(CLI::App& sub, Options& o) {
  auto* plan = sub.add_option("plan", o.plan, "Plan (DXF)")->check(CLI::ExistingFile);
  if (!o.report) plan->required();
  auto* rect = sub.add_option("--rect", o.rect, "Rectangular room: X1,Y1,X2,Y2");
  auto* poly = sub.add_option("--polygon", o.polygon, "Polygonal room: X,Y;X,Y;...");
  rect->excludes(poly);
  sub.add_option("--density", o.density,
                 "Grid density: N or NxM, e.g. \"30*15\" (default 50*75, or the remembered one "
                 "with --use-settings)");
  AddEditionOption(sub, o.edition,
                   sub.add_option("--standard", o.standard, "Standard as category/place"));
  sub.add_option("--missing-curve", o.missing_curve,
                 "A luminaire without distribution curve: fail (default) or skip it")
      ->check(CLI::IsMember({"skip", "fail"}));
  sub.add_option("--curve", o.curves, "Curve table for a luminaire model without one: MODEL=TABLE")
      ->allow_extra_args(false);
  sub.add_flag("--use-settings", o.use_settings,
               "Start from the standard and density remembered in the user's folder");
  sub.add_flag("--precise", o.precise,
               "Precise photometry: the exact polar angle up to 90 degrees, no whole-degree "
               "truncation and no cut above 85 degrees");
  if (o.report) {
    auto* points = sub.add_option("--points", o.points, "Report points: X,Y;X,Y;... (P1, P2, ...)");
    sub.add_option("--out", o.out,
                   "Write the report here: a workbook (.xlsx) or a PDF document (.pdf); with "
                   "--scheme a document (.docx) or a PDF")
        ->required();
    auto* scheme = sub.add_option("--scheme", o.scheme,
                                  "The lumen-method report of this saved scheme instead of a "
                                  "point report (no plan, room or points)");
    scheme->excludes(plan)->excludes(points);
    sub.add_flag("--english", o.english, "The lumen-method report in English")->needs(scheme);
    return;
  }
  sub.add_option("--out", o.out, "Save the drawing (with the room outline) here");
  auto* csv = sub.add_option("--csv", o.csv, "Write the grid points and their illuminance here");
  sub.add_option("--json", o.json, "Write a summary of the calculation here");
  AddDrawOptions(sub, o);
  AddGlareSectionOptions(sub, o.extra, csv);
}

// The room's corners, every number checked; a rectangle gives its two corners.
bool RoomCorners(const Options& o, std::vector<nyhost::Point3>& corners, std::string& error) {
  corners.clear();
  if (o.rect.empty() && o.polygon.empty()) {
    error = "calc needs --rect or --polygon";
    return false;
  }
  if (!o.rect.empty()) {
    auto v = nyhost::SplitString(o.rect, ',');
    if (v.size() != 4) {
      error = "--rect takes four numbers X1,Y1,X2,Y2";
      return false;
    }
    double n[4];
    for (std::size_t i = 0; i < 4; ++i) {
      std::string why;
      auto x = CheckedNumber(v[i], kMaxCoordinate, why);
      if (!x) {
        error = "--rect: the " + Ordinal(i) + " number " + why;
        return false;
      }
      n[i] = *x;
    }
    if (n[0] == n[2] || n[1] == n[3]) {
      error = "--rect: the two corners must differ in X and in Y";
      return false;
    }
    corners = {{n[0], n[1], 0}, {n[2], n[3], 0}};
    return true;
  }
  std::size_t index = 0;
  for (const auto& item : nyhost::SplitString(o.polygon, ';')) {
    if (nyhost::Trim(item).empty()) continue;
    std::string why;
    auto p = CheckedPoint(item, why);
    if (!p) {
      error = "--polygon: corner " + std::to_string(index + 1) + ": " + why;
      return false;
    }
    corners.push_back(*p);
    ++index;
  }
  if (corners.size() < 3) {
    error = "--polygon needs at least three corners";
    return false;
  }
  return true;
}

std::string PointText(const nyhost::Point3& p) {
  std::ostringstream s;
  s.precision(17);
  s << p.x << "," << p.y;
  return s.str();
}

// Draws the room (which collects its luminaires) and sets the density.
std::string RoomScript(const Options& o, const std::vector<nyhost::Point3>& corners) {
  std::ostringstream s;
  s << "click 214 " << (o.rect.empty() ? "334" : "335") << "\n";
  for (const auto& p : corners) s << "point " << PointText(p) << "\n";
  if (o.rect.empty()) s << "enter\n";
  // Without a density the dialog's own stands: 50*75, or the remembered one (--use-settings).
  if (!o.density.empty()) s << "set 214 338 " << nyhost::Trim(o.density) << "\n";
  if (o.precise) s << "check 214 " << kPreciseCheck << " 1\n";
  return s.str();
}

// The text of a tree level's items, for a message.
std::string ItemsOf(const nyhost::Dialog& dlg, int parent) {
  std::string all;
  for (int item : dlg.GetChildItems(kStandardsTree, parent))
    all += (all.empty() ? "" : ", ") + dlg.GetItemTextOf(kStandardsTree, item);
  return all;
}

// Chooses the standard in the standards dialog when it opens; on failure `error` says why.
// With `show_glare_limit` the standard's glare limit is printed as the dialog shows it.
// `edition`: the --edition key or empty (the dialog's own); on return the edition's item.
bool ChooseStandard(Session& session, const std::string& standard, bool show_glare_limit,
                    std::string& glare_limit, std::string& edition, std::string& error) {
  bool answered = false;
  session.modal_hook = [&](nyhost::Dialog& dlg) {
    if (dlg.id() != kStandardsDialog) return false;
    if (!edition.empty()) dlg.UserChoose(kStandardsEditionList, EditionItem(edition));
    edition = dlg.GetText(kStandardsEditionList);
    std::cout << "\n[207:" << kStandardsEditionList << " 标准版本] " << edition;
    auto parts = nyhost::SplitString(standard, '/');
    int category = parts.empty() ? 0 : dlg.FindTreeItem(kStandardsTree, 0, nyhost::Trim(parts[0]));
    int place = category > 0 && parts.size() == 2
                    ? dlg.FindTreeItem(kStandardsTree, category, nyhost::Trim(parts[1]))
                    : 0;
    if (place > 0 &&
        dlg.UserChoose(kStandardsTree, nyhost::Trim(parts[0]) + "/" + nyhost::Trim(parts[1]))) {
      glare_limit = nyhost::Trim(dlg.GetText(363));
      if (show_glare_limit) std::cout << "\n[207:363 统一眩光] " << glare_limit;
      answered = dlg.UserClick(nyhost::kIdOk);
    } else if (category > 0) {
      error = "unknown standard '" + standard + "': the places of " + nyhost::Trim(parts[0]) +
              " are " + ItemsOf(dlg, category);
    } else {
      error = "unknown standard '" + standard + "' (give category/place; the categories are " +
              ItemsOf(dlg, 0) + ")";
    }
    if (!answered) dlg.UserClick(nyhost::kIdCancel);
    return true;
  };
  bool ran = session.RunScript("click 214 210\n", "");
  session.modal_hook = nullptr;
  if (ran && !answered && error.empty()) error = "the standards could not be read";
  return ran && answered;
}

// Puts the module into batch mode with a private settings file; false with a message.
bool EnterBatchMode(Session& session, const Options& o, const fs::path& settings,
                    std::string& error) {
  using BatchModeFn = int (*)(const char*, int, int, const char*, char*, int);
  auto fn = reinterpret_cast<BatchModeFn>(session.ResolveModuleFunction("NyLuxoraBatchMode"));
  if (!fn) {
    error = "the loaded module has no batch mode";
    return false;
  }
  std::string substitutes;
  for (const auto& c : o.curves) substitutes += c + "\n";
  char message[1024] = "";
  if (fn(settings.c_str(), o.use_settings, o.missing_curve == "skip" ? 1 : 2, substitutes.c_str(),
         message, sizeof message) != 0) {
    error = std::string("--curve: ") + message;
    return false;
  }
  return true;
}

// Luminaires the room left out for lack of a curve, one "name\tmodel\tx,y" line each.
std::vector<std::vector<std::string>> CurvelessLuminaires(Session& session) {
  using ListFn = int (*)(char*, int);
  auto fn = reinterpret_cast<ListFn>(session.ResolveModuleFunction("NyLuxoraCurvelessLuminaires"));
  std::vector<std::vector<std::string>> list;
  if (!fn) return list;
  std::string text(static_cast<std::size_t>(fn(nullptr, 0)) + 1, '\0');
  fn(text.data(), static_cast<int>(text.size()));
  for (const auto& line : nyhost::SplitString(text.c_str(), '\n'))
    if (!line.empty()) list.push_back(nyhost::SplitString(line, '\t'));
  return list;
}

// Grid points with their illuminance (x, y, lx per point); -1 points when the dialog is gone.
int ResultPoints(Session& session, std::vector<double>* xyz) {
  using ResultPointsFn = int (*)(double*, int);
  auto fn = reinterpret_cast<ResultPointsFn>(session.ResolveModuleFunction("NyLuxoraResultPoints"));
  if (!fn) return -1;
  int n = fn(nullptr, 0);
  if (xyz && n > 0) {
    xyz->resize(static_cast<std::size_t>(n) * 3);
    fn(xyz->data(), n);
  }
  return n;
}

// Data rows of the point-method dialog's luminaire table.
int LuminaireRows() {
  const nyhost::Dialog* dlg = nyhost::Host::Get().windows().FindDialog(kPointDialog);
  const nyhost::ControlState* grid = dlg ? dlg->Control(kLuminaireTable) : nullptr;
  return grid && !grid->grid.cells.empty() ? static_cast<int>(grid->grid.cells.size()) - 1 : 0;
}

bool WriteText(const std::string& path, const std::string& text) {
  std::string error;
  if (nyhost::WriteFileAtomically(path, text, error)) return true;
  std::cerr << "nyluxora: " << error << "\n";
  return false;
}

std::string CsvText(const std::vector<double>& xyz) {
  std::string text = "x,y,lx\n";
  char line[96];
  for (std::size_t i = 0; i + 2 < xyz.size(); i += 3) {
    std::snprintf(line, sizeof line, "%.6f,%.6f,%.6f\n", xyz[i], xyz[i + 1], xyz[i + 2]);
    text += line;
  }
  return text;
}

// A temporary folder for the run's settings file, gone with the module's last write.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string tmpl = (fs::temp_directory_path() / "nyluxora-calc-XXXXXX").string();
    if (mkdtemp(tmpl.data())) path_ = tmpl;
  }
  ~ScratchFolder() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

int Run(Session& session, const Options& o) {
  if (!o.scheme.empty())
    return RunLumen(session, o.scheme, o.out, o.english, o.standard, o.edition);
  if (o.report && (o.plan.empty() || o.points.empty())) {
    std::cerr << "nyluxora: report needs a plan and --points (or --scheme for the lumen-method "
                 "report)\n";
    return kExitUsage;
  }
  std::vector<nyhost::Point3> corners;
  std::string error;
  std::string glare_limit, edition = o.edition;
  if (!RoomCorners(o, corners, error) ||
      (!o.density.empty() && !CheckedDensity(o.density, error))) {
    std::cerr << "nyluxora: " << error << "\n";
    return kExitUsage;
  }
  for (const auto& c : o.curves) {
    std::size_t eq = c.find('=');
    if (eq == std::string::npos || eq == 0 || eq + 1 == c.size()) {
      std::cerr << "nyluxora: --curve takes MODEL=TABLE, not '" << c << "'\n";
      return kExitUsage;
    }
  }
  ScratchFolder scratch;
  struct Unload {  // the dialog writes its settings as the module goes: before the folder goes
    Session& s;
    ~Unload() { s.UnloadModule(); }
  } unload{session};
  if (scratch.path().empty()) {
    std::cerr << "nyluxora: cannot create a temporary folder\n";
    return kExitProblem;
  }
  if (!EnterBatchMode(session, o, scratch.path() / "settings.ini", error)) {
    std::cerr << "nyluxora: " << error << "\n";
    return kExitUsage;
  }
  if (!session.OpenPlan(o.plan) || !session.RunScript("command ZIRIRODO_DOT\n", ""))
    return kExitProblem;
  if (!o.standard.empty() &&
      !ChooseStandard(session, o.standard, o.extra.ugr || !o.extra.ugr_at.empty(), glare_limit,
                      edition, error)) {
    std::cerr << "nyluxora: " << error << "\n";
    return kExitUsage;
  }
  if (!session.RunScript(RoomScript(o, corners), "")) return kExitProblem;

  auto curveless = CurvelessLuminaires(session);
  for (const auto& l : curveless) {
    std::cerr << "nyluxora: luminaire " << l[0] << " (model " << (l.size() > 1 ? l[1] : "")
              << ") at " << (l.size() > 2 ? l[2] : "") << " has no distribution curve"
              << (o.missing_curve == "skip" ? "; left out\n" : "\n");
  }
  if (!curveless.empty() && o.missing_curve == "fail") {
    std::cerr << "nyluxora: give a curve with --curve MODEL=TABLE or leave such luminaires out "
                 "with --missing-curve skip\n";
    return kExitProblem;
  }

  if (LuminaireRows() == 0) {
    std::cerr << "nyluxora: the room holds no luminaire; no result\n";
    return kExitProblem;
  }
  if (o.extra.Any()) {
    const int done = RunGlareSection(session, o.extra, !o.standard.empty(), glare_limit);
    if (done == kExitDone && !o.out.empty() && !session.SavePlan(o.out)) return kExitProblem;
    return done;
  }
  const int alarms = session.windows().alarms;
  bool ran = session.RunScript("click 214 337\n", "");
  const int points = ResultPoints(session, nullptr);
  if (!ran || session.windows().alarms != alarms || points <= 0) {
    std::cerr << "nyluxora: the calculation did not finish; no result\n";
    return kExitProblem;
  }
  std::string show;
  for (int id : kResultFields) show += "show 214 " + std::to_string(id) + "\n";
  if (!session.RunScript(show, "")) return kExitProblem;
  PrintPhotometryMode();
  std::cout << "\n";
  if (o.report) return RunReport(session, o.points, o.out);

  nyhost::Host& host = nyhost::Host::Get();
  if (!o.csv.empty()) {
    std::vector<double> xyz;
    ResultPoints(session, &xyz);
    if (!WriteText(o.csv, CsvText(xyz))) return kExitProblem;
  }
  if (!o.json.empty()) {
    const nyhost::Dialog* dlg = host.windows().FindDialog(kPointDialog);
    CalcSummary summary{std::string("nyluxora ") + NYLUXORA_VERSION,
                        o.plan,
                        corners,
                        0,
                        points,
                        o.standard,
                        curveless,
                        edition};
    if (corners.size() == 2)
      summary.room = {
          corners[0], {corners[1].x, corners[0].y, 0}, corners[1], {corners[0].x, corners[1].y, 0}};
    summary.area_m2 = RoomAreaM2(summary.room, host.drawing()->arch_scale());
    if (!dlg || !WriteText(o.json, CalcSummaryJson(summary, *dlg))) return kExitProblem;
  }
  if (!o.draw.empty() && (!session.RunScript(DrawScript(o), "") || !DrawnOrSay(o)))
    return kExitProblem;
  if (!o.out.empty() && !session.SavePlan(o.out)) return kExitProblem;
  return kExitDone;
}

const SubcommandRegistrar kCalc("calc", "Horizontal illuminance of a room of a plan (point method)",
                                [](CLI::App& sub) { return RoomCalculation(sub, false); });

}  // namespace

SubcommandRun RoomCalculation(CLI::App& sub, bool report) {
  auto o = std::make_shared<Options>();
  o->report = report;
  AddOptions(sub, *o);
  return [o](SubcommandContext& ctx) { return Run(ctx.session, *o); };
}

}  // namespace nycli
