// A calculation report as plain content: a title, then paragraphs, tables and figures in order.
// The module describes it; the front-end's report port lays it out (PDF) with its own renderer, so
// the module needs no drawing toolkit.
#pragma once

#include <string>
#include <variant>
#include <vector>

#include "host/drawing.h"
#include "host/geometry.h"

namespace nyhost {

struct ReportParagraph {
  std::string text;
};

// A header row and rows of texts; a row may hold fewer cells than the header. Pages repeat the
// header when the table breaks.
struct ReportTable {
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
};

// A point shown on a plan figure: a filled ring at the position and the label beside it.
struct ReportMarker {
  Point3 position;  // drawing units
  std::string label;
};

// A window of the drawing the port is handed, drawn as the drawing renderer draws it.
struct PlanFigure {
  Extents window;      // drawing units
  double scale = 100;  // N of 1:N (drawing units x architectural scale = millimetres)
  std::vector<ReportMarker> markers;
  // Entities left out of the picture, e.g. marks the markers stand for.
  std::vector<EntityId> hidden;
};

// A small vector picture in its own units (y up), scaled to fit the figure width. It suits a
// room sketch with no drawing behind it, e.g. for the lumen method:
//   SketchFigure s;
//   s.items.push_back(SketchRect{{0, 0, 0}, {length, width, 0}});
//   s.items.push_back(SketchText{{length / 2, -0.4, 0}, fmt::format("{:.2f} m", length), 0.3});
//   doc.blocks.push_back(ReportFigure{s, "房间平面"});
struct SketchLine {
  Point3 from, to;
};
struct SketchRect {
  Point3 min, max;
};
struct SketchCircle {
  Point3 centre;
  double radius = 0;
  bool filled = false;
};
struct SketchText {
  Point3 position;  // centre of the text
  std::string text;
  double height = 1;  // in the sketch's units
};
using SketchItem = std::variant<SketchLine, SketchRect, SketchCircle, SketchText>;
struct SketchFigure {
  std::vector<SketchItem> items;
  double width_mm = 0;  // on paper; 0 takes the whole text width
};

struct ReportFigure {
  std::variant<PlanFigure, SketchFigure> picture;
  std::string caption;
};

using ReportBlock = std::variant<ReportParagraph, ReportTable, ReportFigure>;

struct ReportDocument {
  std::string title;
  std::vector<ReportBlock> blocks;
  bool english = false;  // the language of the words the writer adds (the scale notes)
};

// Writes reports as files. The host's default has no renderer and refuses; the front-ends
// install the Qt one (Host::SetReports).
class ReportPort {
 public:
  virtual ~ReportPort() = default;
  // Writes `doc` as a PDF at `path` (atomically); plan figures show `drawing` (may be null when
  // the document has none). False with the reason in `error`; nothing is left at `path` then.
  virtual bool WritePdf(const ReportDocument& doc, const Drawing* drawing, const std::string& path,
                        std::string& error);
};

}  // namespace nyhost
