// Pictures of a whole drawing, fitted to its extents: PNG, SVG or PDF by the file's extension.
#pragma once

#include <string>

#include "host/drawing.h"
#include "render/drawing_renderer.h"

namespace nyrender {

struct ExportResult {
  bool ok = false;
  std::string error;
};

// Creates a QGuiApplication (offscreen when there is no display) if none exists yet: text
// rendering needs the font database even for files.
void EnsureGuiApplication();

// The view that shows the drawing's extents in width x height pixels.
ViewTransform FitView(const nyhost::Drawing& d, int width, int height);

ExportResult ExportDrawing(const nyhost::Drawing& d, const std::string& path, int width,
                           int height, const RenderOptions& options = {});

// A PDF page of a paper size, turned to suit the plan, with 10 mm margins.
struct PageSetup {
  std::string paper = "A4";  // "A4" or "A3"
  double scale = 0;          // N of 1:N (drawing units times the architectural scale are mm);
                             // 0 fits the plan to the page
};
ExportResult ExportDrawingPage(const nyhost::Drawing& d, const std::string& path,
                               const PageSetup& page, const RenderOptions& options = {});

}  // namespace nyrender
