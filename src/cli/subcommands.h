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

// Exit status of every subcommand: done, a calculation or data problem reported to the user, a
// usage error (what was typed cannot be run).
inline constexpr int kExitDone = 0;
inline constexpr int kExitProblem = 1;
inline constexpr int kExitUsage = 2;

// Returns the process exit status.
using SubcommandRun = std::function<int(SubcommandContext&)>;
// Adds the subcommand (and its options, bound to state the setup keeps) and returns how to run
// it.
using SubcommandSetup = std::function<SubcommandRun(CLI::App& sub)>;

// A batch subcommand runs quietly: no welcome line, no platform chatter, progress only on a
// terminal.
enum class Kind { kBatch, kInteractive };

struct SubcommandRegistrar {
  SubcommandRegistrar(const char* name, const char* description, SubcommandSetup setup,
                      Kind kind = Kind::kBatch);
};

struct RegisteredSubcommand {
  const char* name;
  const char* description;
  SubcommandSetup setup;
  Kind kind;
};
std::vector<RegisteredSubcommand>& Subcommands();

}  // namespace nycli
