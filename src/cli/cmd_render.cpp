// nyluxora render PLAN.dxf --out FILE.png|svg|pdf [--width N --height N]
#include <iostream>
#include <memory>

#include "cli/session.h"
#include "cli/subcommands.h"
#include "render/export.h"

namespace nycli {
namespace {

struct Options {
  std::string plan, out;
  int width = 1600, height = 1200;
};

const SubcommandRegistrar kRender(
    "render", "Draw a plan, fitted to its extents, to a PNG, SVG or PDF file",
    [](CLI::App& sub) -> SubcommandRun {
      auto o = std::make_shared<Options>();
      sub.add_option("plan", o->plan, "Plan (DXF)")->required()->check(CLI::ExistingFile);
      sub.add_option("--out", o->out, "Picture to write (.png, .svg or .pdf)")->required();
      sub.add_option("--width", o->width, "Width in pixels")->check(CLI::Range(16, 20000));
      sub.add_option("--height", o->height, "Height in pixels")->check(CLI::Range(16, 20000));
      return [o](SubcommandContext& ctx) {
        if (!ctx.session.OpenPlan(o->plan)) return 2;
        nyhost::Host& host = nyhost::Host::Get();
        nyrender::RenderOptions options;
        options.pd_mode = host.GetVarInt("PDMODE");
        options.pd_size = host.GetVarReal("PDSIZE");
        auto r = nyrender::ExportDrawing(*host.drawing(), o->out, o->width, o->height, options);
        if (!r.ok) {
          std::cerr << "nyluxora: " << r.error << "\n";
          return 2;
        }
        return 0;
      };
    });

}  // namespace
}  // namespace nycli
