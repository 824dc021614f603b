// nyluxora session SCRIPT [--plan PLAN] [--save OUT]
#include <memory>

#include "cli/session.h"
#include "cli/subcommands.h"

namespace nycli {
namespace {

struct Options {
  std::string script, plan, save_to;
};

const SubcommandRegistrar kSession(
    "session", "Run a session script (optionally on a plan) and save the drawing",
    [](CLI::App& sub) -> SubcommandRun {
      auto o = std::make_shared<Options>();
      sub.add_option("script", o->script, "Session script")->required()->check(CLI::ExistingFile);
      sub.add_option("--plan", o->plan, "Plan to open first (DXF)")->check(CLI::ExistingFile);
      sub.add_option("--save", o->save_to, "Save the drawing here at the end");
      return [o](SubcommandContext& ctx) {
        if (!o->plan.empty() && !ctx.session.OpenPlan(o->plan)) return kExitProblem;
        if (!ctx.session.RunFile(o->script)) return kExitProblem;
        if (!o->save_to.empty() && !ctx.session.SavePlan(o->save_to)) return kExitProblem;
        return kExitDone;
      };
    },
    Kind::kInteractive);

}  // namespace
}  // namespace nycli
