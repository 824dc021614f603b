// nyluxora lumen --length L --width W --height H [--workplane 0.75] [--suspension 0]
//                --luminaire MODEL --source KIND --lamp KIND/MODEL/WATTS [--lamps N] [--ballast W]
//                [--lamp2 ... --lamps2 N --ballast2 W] [--ceiling 50|材料[/N]] [--wall 50|材料[/N]]
//                [--window 15] [--maintenance 0.7] [--standard 类别/场所 [--edition 2004|2024]]
//                [--scheme NAME] [--report R.docx|R.pdf [--english]]
//
// The lumen (utilization-coefficient) method for one room, run as a session script through the
// lumen dialog exactly as a person would drive it, so the batch result is the dialog's own. With
// --report, "出计算书" then writes the calculation report of those results.
#include <charconv>
#include <filesystem>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "cli/calc_run.h"
#include "cli/edition_option.h"
#include "cli/session.h"
#include "cli/subcommands.h"
#include "host/dialog.h"
#include "host/text_util.h"

namespace nycli {
namespace {

struct Options {
  std::string length, width, height, workplane, suspension, luminaire, source, lamp, lamps, ballast,
      lamp2, lamps2, ballast2, ceiling, wall, window, maintenance, standard, scheme, edition, report;
  bool english = false;
};

// Material buttons of the reflectance dialog, in button order from 1039.
constexpr const char* kMaterials[] = {"粉刷",     "喷白",     "砂浆",   "混凝土", "砖墙",
                                      "釉面墙",   "水磨石",   "大理石", "沥青",   "调和漆",
                                      "塑料贴面", "塑料壁纸", "马赛克", "钢板",   "玻璃"};

bool IsNumber(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  auto r = std::from_chars(text.data(), end, value);
  return !text.empty() && r.ec == std::errc() && r.ptr == end;
}

// Lines that give one reflectance (edit `edit`, ">>" button `button`); false for a bad value.
bool Reflectance(const std::string& value, int edit, int button, std::ostringstream& s) {
  double v = 0;
  if (IsNumber(value, v)) {
    s << "set 215 " << edit << " " << value << "\n";
    return true;
  }
  auto parts = nyhost::SplitString(value, '/');
  for (int i = 0; i < 15; ++i) {
    if (parts[0] != kMaterials[i]) continue;
    s << "click 215 " << button << "\nclick 212 " << 1039 + i << "\n";
    if (parts.size() > 1) {
      int n = 0;
      if (!IsNumber(parts[1], v) || v < 1 || v > 6) return false;
      n = static_cast<int>(v);
      s << "click 212 " << 1055 + n << "\n";
    }
    s << "click 212 1\n";
    return true;
  }
  return false;
}

// Lines that choose one lamp set; false for a malformed KIND/MODEL/WATTS.
bool LampSet(int set, const std::string& lamp, const std::string& lamps, const std::string& ballast,
             std::ostringstream& s) {
  static const int kIds[2][5] = {{229, 230, 322, 270, 324}, {231, 237, 323, 273, 325}};
  const int* id = kIds[set];
  if (lamp == "无" && set == 1) {
    s << "choose 215 " << id[0] << " 无\n";
    return true;
  }
  auto p = nyhost::SplitString(lamp, '/');
  if (p.size() != 3) return false;
  s << "choose 215 " << id[0] << " " << p[0] << "\nchoose 215 " << id[1] << " " << p[1]
    << "\nchoose 215 " << id[2] << " " << p[2] << "\n";
  if (!lamps.empty()) s << "set 215 " << id[3] << " " << lamps << "\n";
  if (!ballast.empty()) s << "set 215 " << id[4] << " " << ballast << "\n";
  return true;
}

// The inputs as script lines; an empty text (with `error`) for a usage problem.
std::string InputScript(Options o, std::string& error) {
  // Without a scheme every input has its documented default, whatever the dialog remembers.
  if (o.scheme.empty()) {
    const std::pair<std::string*, const char*> defaults[] = {
        {&o.window, "15"},       {&o.ceiling, "50"}, {&o.wall, "50"},
        {&o.maintenance, "0.7"}, {&o.lamps, "1"},    {&o.ballast, "0"}};
    for (const auto& [value, fallback] : defaults)
      if (value->empty()) *value = fallback;
  }
  std::ostringstream s;
  s << "command NYZirIrodo_LYXS\n";
  if (!o.scheme.empty()) s << "choose 215 388 " << o.scheme << "\n";
  if (!o.height.empty()) {
    double h = std::stod(o.height) - std::stod(o.workplane.empty() ? "0.75" : o.workplane) -
               std::stod(o.suspension.empty() ? "0" : o.suspension);
    if (h <= 0) {
      error = "the luminaires must hang above the working plane";
      return {};
    }
    std::ostringstream t;
    t.precision(15);
    t << h;
    o.height = t.str();
  }
  const std::pair<int, std::string*> edits[] = {
      {287, &o.length}, {288, &o.width}, {264, &o.height}, {262, &o.window}, {221, &o.maintenance}};
  for (const auto& [id, value] : edits)
    if (!value->empty()) s << "set 215 " << id << " " << *value << "\n";
  if (!o.ceiling.empty() && !Reflectance(o.ceiling, 216, 213, s)) {
    error = "--ceiling takes a percentage or a material (材料 or 材料/N)";
    return {};
  }
  if (!o.wall.empty() && !Reflectance(o.wall, 217, 214, s)) {
    error = "--wall takes a percentage or a material (材料 or 材料/N)";
    return {};
  }
  if (!o.standard.empty()) {
    s << "click 215 235\n";
    if (!o.edition.empty())
      s << "choose 207 " << kStandardsEditionList << " " << EditionItem(o.edition) << "\n";
    s << "choose 207 236 " << o.standard << "\nshow 207 " << kStandardsEditionList
      << "\nclick 207 1\n";
  }
  if (!o.luminaire.empty())
    s << "click 215 208\nchoose 201 226 " << o.source << "\nchoose 201 279 " << o.luminaire
      << "\nclick 201 1\n";
  if (!o.lamp.empty() && !LampSet(0, o.lamp, o.lamps, o.ballast, s)) {
    error = "--lamp takes KIND/MODEL/WATTS";
    return {};
  }
  if (o.lamp2.empty() && o.scheme.empty()) o.lamp2 = "无";
  if (!o.lamp2.empty() && !LampSet(1, o.lamp2, o.lamps2, o.ballast2, s)) {
    error = "--lamp2 takes KIND/MODEL/WATTS or 无";
    return {};
  }
  return s.str();
}

// "出计算书" answered with the path (and "yes" to replacing it); false, with the reason on
// standard error, when no new report was written.
bool WriteReport(const Options& o, Session& session) {
  namespace fs = std::filesystem;
  const std::string path = fs::absolute(o.report).string();
  std::string script = "file " + path + "\n";
  if (fs::exists(path)) script += "answer yes\n";
  script += "click 215 238\n";
  std::error_code ec;
  const auto before =
      fs::exists(path, ec) ? fs::last_write_time(path, ec) : fs::file_time_type::min();
  const int alarms = session.windows().alarms;
  if (!session.RunScript(script, "lumen") || session.windows().alarms != alarms ||
      !fs::exists(path, ec) || fs::last_write_time(path, ec) == before) {
    std::cerr << "\nnyluxora: the report was not written (see the messages above)\n";
    return false;
  }
  return true;
}

int Run(const Options& o, Session& session) {
  if (o.scheme.empty()) {
    const std::pair<const char*, const std::string*> needed[] = {
        {"--length", &o.length},       {"--width", &o.width},   {"--height", &o.height},
        {"--luminaire", &o.luminaire}, {"--source", &o.source}, {"--lamp", &o.lamp}};
    for (const auto& [name, value] : needed)
      if (value->empty()) {
        std::cerr << "nyluxora: lumen needs " << name << " (or --scheme)\n";
        return 2;
      }
  }
  if (!o.luminaire.empty() && o.source.empty()) {
    std::cerr << "nyluxora: --luminaire needs --source\n";
    return 2;
  }
  std::string error;
  const std::string inputs = InputScript(o, error);
  if (inputs.empty()) {
    std::cerr << "nyluxora: " << error << "\n";
    return 2;
  }
  if (!o.report.empty()) {
    const auto ext = std::filesystem::path(o.report).extension();
    if (ext != ".docx" && ext != ".pdf") {
      std::cerr << "nyluxora: --report names a .docx document or a .pdf\n";
      return 2;
    }
    // The dialog takes its report language when it opens; the user's setting stays as it is.
    using LanguageFn = void (*)(int);
    auto language =
        reinterpret_cast<LanguageFn>(session.ResolveModuleFunction("NyLuxoraReportLanguage"));
    if (!language) {
      std::cerr << "nyluxora: this module writes no lumen reports\n";
      return 1;
    }
    language(o.english ? 1 : 0);
  }
  nyhost::Host& host = nyhost::Host::Get();
  if (!host.drawing()) host.SetDrawing(std::make_unique<nyhost::Drawing>());
  if (!session.RunScript(inputs, "lumen")) {
    const nyhost::Dialog* opened = session.windows().FindDialog(215);
    if (opened && !o.scheme.empty() && opened->FindStringExact(388, o.scheme) < 0)
      std::cerr << "nyluxora: there is no saved scheme " << o.scheme
                << " (\"保存\" in the lumen dialog saves one)\n";
    return 1;
  }
  nyhost::Dialog* dlg = session.windows().FindDialog(215);
  if (!dlg || (!o.luminaire.empty() && dlg->GetText(289) != o.luminaire)) {
    std::cerr << "\nnyluxora: the luminaire " << o.luminaire << " of " << o.source
              << " was not taken\n";
    return 1;
  }
  // The calculation either fills the results or stops with a message box.
  const std::size_t shown = session.windows().message_log.size();
  if (!session.RunScript("click 215 239\n", "lumen")) return 1;
  const auto& log = session.windows().message_log;
  if (log.size() > shown) {
    std::cerr << "\nnyluxora: the calculation stopped: " << log.back() << "\n";
    return 1;
  }
  std::ostringstream s;
  for (int id :
       {289, 287, 288, 264, 262, 216, 217, 226, 221, 284, 286, 318, 240, 228, 227, 358, 360})
    s << "show 215 " << id << "\n";
  if (!session.RunScript(s.str(), "lumen")) return 1;
  if (!o.report.empty() && !WriteReport(o, session)) return 1;
  std::cout << "\n";
  return 0;
}

}  // namespace

int RunLumen(Session& session, const std::string& scheme, const std::string& report, bool english,
             const std::string& standard, const std::string& edition) {
  Options o;
  o.scheme = scheme;
  o.report = report;
  o.english = english;
  o.standard = standard;
  o.edition = edition;
  return Run(o, session);
}

namespace {

const SubcommandRegistrar kLumen(
    "lumen", "Luminaire count, illuminance and power density of a room (lumen method)",
    [](CLI::App& sub) -> SubcommandRun {
      auto o = std::make_shared<Options>();
      const auto number = [&sub](const char* name, std::string& to, const char* help) {
        sub.add_option(name, to, help)->check(CLI::Number);
      };
      number("--length", o->length, "Room length, m");
      number("--width", o->width, "Room width, m");
      number("--height", o->height, "Room height, m");
      number("--workplane", o->workplane, "Working plane above the floor, m (0.75)");
      number("--suspension", o->suspension, "Luminaires below the ceiling, m (0)");
      sub.add_option("--ceiling", o->ceiling, "Ceiling reflectance: percent or material");
      sub.add_option("--wall", o->wall, "Wall reflectance: percent or material");
      number("--window", o->window, "Window-to-wall ratio, percent");
      number("--maintenance", o->maintenance, "Maintenance factor (0.01 to 1)");
      sub.add_option("--luminaire", o->luminaire, "Luminaire model of the catalogue");
      sub.add_option("--source", o->source, "The luminaire's light source");
      sub.add_option("--lamp", o->lamp, "Lamp set 1: KIND/MODEL/WATTS");
      number("--lamps", o->lamps, "Lamps of set 1 per luminaire");
      number("--ballast", o->ballast, "Ballast of set 1, W");
      sub.add_option("--lamp2", o->lamp2, "Lamp set 2: KIND/MODEL/WATTS or 无");
      number("--lamps2", o->lamps2, "Lamps of set 2 per luminaire");
      number("--ballast2", o->ballast2, "Ballast of set 2, W");
      AddEditionOption(sub, o->edition,
                       sub.add_option("--standard", o->standard, "Standard as category/place"));
      sub.add_option("--scheme", o->scheme, "Start from this saved scheme");
      auto* report =
          sub.add_option("--report", o->report, "Write the calculation report (.docx or .pdf)");
      sub.add_flag("--english", o->english, "The report in English")->needs(report);
      return [o](SubcommandContext& ctx) { return Run(*o, ctx.session); };
    });

}  // namespace
}  // namespace nycli
