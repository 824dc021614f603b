// Draws a drawing with a QPainter: the one renderer behind the desktop canvas and the PNG, SVG
// and PDF exports.
#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <set>

#include "host/drawing.h"
#include "host/ports.h"
#include "render/view_transform.h"

namespace nyrender {

struct RenderOptions {
  QColor background = Qt::white;
  bool fill_background = true;
  // Temporary vectors (GrDraw) drawn over the drawing.
  const std::vector<nyhost::TempVector>* temp_vectors = nullptr;
  // Entities drawn highlighted (dashed, thicker): the current selection.
  std::set<nyhost::EntityId> highlighted;
  // Entities not drawn at all (a report draws its own marks in their place).
  std::set<nyhost::EntityId> hidden;
  int pd_mode = 0;        // PDMODE
  double pd_size = 0;     // PDSIZE
  double line_width = 1;  // pixels, for entities without a width of their own
};

// Font families tried for drawing texts (CJK capable first after the requested style).
QFont DrawingFont();

class DrawingRenderer {
 public:
  void Draw(QPainter& p, const nyhost::Drawing& d, const ViewTransform& view,
            const RenderOptions& options) const;

  // The RGB a colour index gives on a background (7 and 255 flip to stay visible).
  static QColor ColorOf(int aci, const QColor& background);

 private:
  struct Context;
  void DrawEntity(Context& c, const nyhost::Entity& e, const QTransform& to_world, int depth,
                  int block_color, const std::string& block_layer) const;
};

}  // namespace nyrender
