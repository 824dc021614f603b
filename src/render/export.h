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

}  // namespace nyrender
