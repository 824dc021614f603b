// nyluxora render PLAN.dxf --out FILE.png|svg|pdf [--width N] [--height N]
//                  [--paper A4|A3] [--scale N]
#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <iostream>
#include <memory>

#include "cli/input_check.h"
#include "cli/session.h"
#include "cli/subcommands.h"
#include "host/entity_geometry.h"
#include "host/text_util.h"
#include "render/export.h"

namespace nycli {
namespace {

struct Options {
  std::string plan, out, paper, scale_text;
  int width = 0, height = 0;
  double scale = 0;
};

// Qt's platform notes (no runtime folder, no display) are not the user's business here.
void QuietQt(QtMsgType type, const QMessageLogContext&, const QString& text) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::cerr << "nyluxora: " << text.toStdString() << "\n";
}

// Fills a missing side from the plan's proportions; 1600 x 1200 when neither is given.
void PictureSize(const nyhost::Drawing& d, Options& o) {
  if (o.width == 0 && o.height == 0) {
    o.width = 1600;
    o.height = 1200;
    return;
  }
  const nyhost::Extents box = nyhost::DrawingExtents(d);
  const double w = box.Empty() ? 4 : box.max.x - box.min.x;
  const double h = box.Empty() ? 3 : box.max.y - box.min.y;
  const double aspect = w > 0 && h > 0 ? h / w : 0.75;
  if (o.height == 0)
    o.height = std::clamp(static_cast<int>(std::lround(o.width * aspect)), 16, 20000);
  if (o.width == 0)
    o.width = std::clamp(static_cast<int>(std::lround(o.height / aspect)), 16, 20000);
}

int Run(Session& session, Options& o) {
  std::string ext = o.out.substr(std::min(o.out.size(), o.out.rfind('.') + 1));
  ext = nyhost::ToLowerAscii(ext);
  if (ext != "png" && ext != "svg" && ext != "pdf") {
    std::cerr << "nyluxora: unknown picture type '" << o.out
              << "': --out must end in .png, .svg "
                 "or .pdf\n";
    return kExitUsage;
  }
  if (!o.scale_text.empty()) {
    std::string why;
    auto n = CheckedPositive(o.scale_text, 100000, why);
    if (!n) {
      std::cerr << "nyluxora: --scale: " << why << "\n";
      return kExitUsage;
    }
    o.scale = *n;
  }
  const bool page = !o.paper.empty() || o.scale > 0;
  if (page && ext != "pdf") {
    std::cerr << "nyluxora: --paper and --scale make PDF pages; " << o.out << " is no PDF\n";
    return kExitUsage;
  }
  if (page && (o.width || o.height)) {
    std::cerr << "nyluxora: a paper page has its own size: give --paper/--scale or "
                 "--width/--height\n";
    return kExitUsage;
  }
  qInstallMessageHandler(QuietQt);
  if (!session.OpenPlan(o.plan)) return kExitProblem;
  nyhost::Host& host = nyhost::Host::Get();
  nyrender::RenderOptions options;
  options.pd_mode = host.GetVarInt("PDMODE");
  options.pd_size = host.GetVarReal("PDSIZE");
  nyrender::ExportResult r;
  if (page) {
    r = nyrender::ExportDrawingPage(*host.drawing(), o.out,
                                    {o.paper.empty() ? "A4" : o.paper, o.scale}, options);
  } else {
    PictureSize(*host.drawing(), o);
    r = nyrender::ExportDrawing(*host.drawing(), o.out, o.width, o.height, options);
  }
  if (!r.ok) {
    std::cerr << "nyluxora: " << r.error << "\n";
    return kExitProblem;
  }
  return kExitDone;
}

const SubcommandRegistrar kRender(
    "render", "Draw a plan, fitted to its extents, to a PNG, SVG or PDF file",
    [](CLI::App& sub) -> SubcommandRun {
      auto o = std::make_shared<Options>();
      sub.add_option("plan", o->plan, "Plan (DXF)")->required()->check(CLI::ExistingFile);
      sub.add_option("--out", o->out, "Picture to write (.png, .svg or .pdf)")->required();
      sub.add_option("--width", o->width, "Width in pixels (alone: the height follows the plan)")
          ->check(CLI::Range(16, 20000));
      sub.add_option("--height", o->height, "Height in pixels (alone: the width follows the plan)")
          ->check(CLI::Range(16, 20000));
      sub.add_option("--paper", o->paper, "PDF page size, turned to suit the plan")
          ->check(CLI::IsMember({"A4", "A3"}));
      sub.add_option("--scale", o->scale_text, "PDF at 1:N, e.g. 100 (default: fit the page)");
      return [o](SubcommandContext& ctx) { return Run(ctx.session, *o); };
    });

}  // namespace
}  // namespace nycli
