// nyluxora: the command-line front-end of the drawing host.
#include <CLI/CLI.hpp>

#include <iostream>

#include "cli/module_path.h"
#include "cli/session.h"

int main(int argc, char** argv) {
  CLI::App app{"NYLuxora lighting calculation workbench (command line)"};
  app.require_subcommand(1);
  std::string data_dir, module_path;
  app.add_option("--data-dir", data_dir, "The user's data folder (default ~/.local/share/nyluxora)");
  app.add_option("--module", module_path, "The lighting module to load");

  auto* session = app.add_subcommand("session", "Run a session script on a plan");
  std::string script, plan, save_to;
  session->add_option("script", script, "Session script")->required()->check(CLI::ExistingFile);
  session->add_option("--plan", plan, "Plan to open first (DXF)");
  session->add_option("--save", save_to, "Save the drawing here at the end");

  CLI11_PARSE(app, argc, argv);
  nycli::UseDataDir(data_dir);
  if (module_path.empty()) module_path = nycli::DefaultModulePath();

  nyhost::Host& host = nyhost::Host::Get();
  nycli::Session s(host, std::cout, std::cerr);
  if (!s.LoadModule(module_path)) return 3;
  int status = 0;
  if (*session) {
    if (!plan.empty() && !s.OpenPlan(plan)) return 2;
    if (!s.RunFile(script)) status = 1;
    if (status == 0 && !save_to.empty() && !s.SavePlan(save_to)) status = 2;
  }
  s.UnloadModule();
  std::cout << std::endl;
  return status;
}
