// nyluxora: the command-line front-end of the drawing host.
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
                                         SubcommandSetup setup) {
  Subcommands().push_back({name, description, std::move(setup)});
}

}  // namespace nycli

int main(int argc, char** argv) {
  CLI::App app{"NYLuxora lighting calculation workbench (command line)"};
  app.require_subcommand(1);
  std::string data_dir, module_path;
  app.add_option("--data-dir", data_dir, "The user's data folder (default ~/.local/share/nyluxora)");
  app.add_option("--module", module_path, "The lighting module to load");

  std::vector<std::pair<CLI::App*, nycli::SubcommandRun>> runs;
  for (auto& s : nycli::Subcommands()) {
    CLI::App* sub = app.add_subcommand(s.name, s.description);
    runs.emplace_back(sub, s.setup(*sub));
  }
  CLI11_PARSE(app, argc, argv);
  nycli::UseDataDir(data_dir);
  if (module_path.empty()) module_path = nycli::DefaultModulePath();

  nycli::Session session(nyhost::Host::Get(), std::cout, std::cerr);
  if (!session.LoadModule(module_path)) return 3;
  int status = 0;
  nycli::SubcommandContext ctx{session};
  for (auto& [sub, run] : runs)
    if (*sub) status = run(ctx);
  session.UnloadModule();
  std::cout << std::endl;
  return status;
}
