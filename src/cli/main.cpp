// nyluxora: the command-line front-end of the drawing host.
#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

#include "cli/module_path.h"
#include "cli/session.h"
#include "cli/subcommands.h"

namespace nycli {

std::vector<RegisteredSubcommand>& Subcommands() {
  static std::vector<RegisteredSubcommand> all;
  return all;
}

SubcommandRegistrar::SubcommandRegistrar(const char* name, const char* description,
                                         SubcommandSetup setup, Kind kind) {
  Subcommands().push_back({name, description, std::move(setup), kind});
}

namespace {

constexpr const char* kExitCodes =
    "Exit status: 0 done; 1 a calculation or data problem (reported on standard error); 2 a "
    "usage error.";

// The first word that is not a global option, when it names no subcommand.
std::string UnknownSubcommand(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--data-dir" || a == "--module") {
      ++i;
      continue;
    }
    if (a.empty() || a[0] == '-') continue;
    for (const auto& s : Subcommands())
      if (a == s.name) return {};
    return a;
  }
  return {};
}

std::string SubcommandNames() {
  std::string names;
  for (const auto& s : Subcommands()) names += (names.empty() ? "" : ", ") + std::string(s.name);
  return names;
}

}  // namespace
}  // namespace nycli

int main(int argc, char** argv) {
  using namespace nycli;
  CLI::App app{"NYLuxora lighting calculation workbench (command line)"};
  app.footer(kExitCodes);
  app.set_version_flag("--version", std::string("nyluxora ") + NYLUXORA_VERSION);
  app.require_subcommand(1);
  std::string data_dir, module_path;
  app.add_option("--data-dir", data_dir,
                 "The user's data folder (default ~/.local/share/nyluxora)");
  app.add_option("--module", module_path, "The lighting module to load");

  std::vector<std::tuple<CLI::App*, SubcommandRun, Kind>> runs;
  for (auto& s : Subcommands()) {
    CLI::App* sub = app.add_subcommand(s.name, s.description);
    sub->footer(kExitCodes);
    runs.emplace_back(sub, s.setup(*sub), s.kind);
  }
  if (std::string unknown = UnknownSubcommand(argc, argv); !unknown.empty()) {
    std::cerr << "nyluxora: unknown command '" << unknown << "' (commands: " << SubcommandNames()
              << "; see --help)\n";
    return kExitUsage;
  }
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& e) {
    return app.exit(e) == 0 ? kExitDone : kExitUsage;
  } catch (const CLI::CallForAllHelp& e) {
    return app.exit(e) == 0 ? kExitDone : kExitUsage;
  } catch (const CLI::CallForVersion& e) {
    app.exit(e);
    return kExitDone;
  } catch (const CLI::ParseError& e) {
    std::cerr << "nyluxora: " << e.what() << "\n(see nyluxora --help)\n";
    return kExitUsage;
  }
  UseDataDir(data_dir);
  if (module_path.empty()) module_path = DefaultModulePath();

  auto chosen =
      std::find_if(runs.begin(), runs.end(), [](auto& r) { return bool(*std::get<0>(r)); });
  const bool batch = chosen != runs.end() && std::get<2>(*chosen) == Kind::kBatch;
  Session session(nyhost::Host::Get(), std::cout, std::cerr);
  session.set_show_progress(isatty(STDERR_FILENO));
  if (!session.LoadModule(module_path, batch)) return kExitProblem;
  int status = kExitDone;
  SubcommandContext ctx{session};
  if (chosen != runs.end()) status = std::get<1>(*chosen)(ctx);
  session.UnloadModule();
  if (!batch) std::cout << std::endl;
  return status;
}
