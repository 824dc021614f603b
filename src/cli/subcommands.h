// Subcommands of the `nyluxora` program. Each lives in its own file and registers itself; main()
// parses, loads the module into a session and runs the chosen one.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>

namespace nycli {

class Session;

struct SubcommandContext {
  Session& session;
};

// Returns the process exit status.
using SubcommandRun = std::function<int(SubcommandContext&)>;
// Adds the subcommand (and its options, bound to state the setup keeps) and returns how to run
// it.
using SubcommandSetup = std::function<SubcommandRun(CLI::App& sub)>;

struct SubcommandRegistrar {
  SubcommandRegistrar(const char* name, const char* description, SubcommandSetup setup);
};

struct RegisteredSubcommand {
  const char* name;
  const char* description;
  SubcommandSetup setup;
};
std::vector<RegisteredSubcommand>& Subcommands();

}  // namespace nycli
