// A distribution curve as two point lists (angle in degrees, intensity in cd per 1000 lm) for the
// previews, and their painting.
#pragma once

#include <string>
#include <vector>

namespace nyhost {
class Painter;
}

struct CurvePoint {
  double angle = 0;
  double intensity = 0;
};

struct PreviewCurve {
  std::vector<CurvePoint> a;  // A-A plane (column 光强A)
  std::vector<CurvePoint> b;  // B-B plane (column 光强B)
  bool empty() const { return a.empty() && b.empty(); }
};

// Loads a curve table of ZirIrodoDot.mdb with its stored angles. The name is trimmed; an empty
// name or a missing table loads nothing; a table of other than 19 rows prints
// "<name>数据错误,请在(灯具扩充)中修改!" on the command line and loads nothing. True when loaded
// (then `curve` is replaced).
bool LoadPreviewCurve(const std::string& table, PreviewCurve& curve);

// Paints the curve as a polar diagram: A-A on the left half, B-B on the right half, 0 degrees
// pointing down from the luminaire at the top centre.
void PaintPreviewCurve(nyhost::Painter& painter, const PreviewCurve& curve);
