// The drawing view: paints the current drawing with the renderer, pans (middle button), zooms
// (wheel around the cursor) and reports clicks in drawing coordinates; draws the rubber bands
// of the running input request.
#pragma once

#include <QWidget>

class QPainter;
#include <optional>
#include <set>
#include <vector>

#include "gui/snap.h"
#include "host/drawing.h"
#include "render/view_transform.h"

namespace nygui {

class Canvas : public QWidget {
  Q_OBJECT
 public:
  enum class Rubber { kNone, kLine, kRect, kPolygon, kWindow };

  explicit Canvas(QWidget* parent = nullptr);

  const nyrender::ViewTransform& view() const { return view_; }
  void ZoomExtents();
  void ZoomWindow(nyhost::Point3 a, nyhost::Point3 b);
  // Zoom in (factor > 1) or out around the centre of the view.
  void ZoomBy(double factor);
  // Back to the view before the last zoom or pan; false when there is none.
  bool ZoomPrevious();
  void PanBy(double dx_pixels, double dy_pixels);
  QPointF ToDevice(nyhost::Point3 p) const { return view_.ToDevice(p.x, p.y); }
  nyhost::Point3 ToWorld(QPointF d) const { return view_.ToWorld(d); }
  // The drawing point a click at `d` means: the world position rounded to a power of ten no
  // coarser than a thousandth of a pixel, so the pixel mapping adds no noise of its own.
  nyhost::Point3 ClickedWorld(QPointF d) const;
  // Drawing units covered by `pixels` on screen (pick and snap tolerances).
  double PixelsToWorld(double pixels) const { return pixels / view_.scale; }

  // Rubber band from the anchors to the cursor: a line from anchors[0], a rectangle from
  // anchors[0], a polygon through all anchors closing back to the first, a selection box.
  void SetRubber(Rubber kind, std::vector<nyhost::Point3> anchors);
  void ClearRubber();
  // A point is being asked for: clicks snap and follow ortho (when those are on).
  void SetSnapping(bool on) { snapping_ = on; }
  // Object snap (F3) and its modes; ortho (F8) keeps a point level or plumb with the last one.
  void SetObjectSnap(bool on);
  bool object_snap() const { return object_snap_; }
  void SetSnapModes(unsigned modes);
  unsigned snap_modes() const { return snap_modes_; }
  void SetOrtho(bool on);
  bool ortho() const { return ortho_; }
  void SetHighlighted(std::set<nyhost::EntityId> ids);
  // The snap the cursor at a device point would take, if any.
  std::optional<SnapHit> SnapAt(QPointF device) const;
  // Snapped position of a device point (the point itself when nothing is near).
  nyhost::Point3 SnappedWorld(QPointF device, bool* snapped = nullptr) const;
  // Called when the drawing object was replaced; zooms to its extents.
  void DrawingReplaced();

  // Sends real mouse events (used by the script runner): move there, then click.
  void SimulateMove(nyhost::Point3 world);
  void SimulateClick(nyhost::Point3 world);

  static constexpr double kSnapPixels = 8;
  static constexpr double kPickPixels = 6;

 signals:
  void pointClicked(nyhost::Point3 world, nyhost::Point3 raw);
  void cursorMoved(nyhost::Point3 world);
  void enterPressed();
  void escapePressed();
  void textTyped(const QString& text);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
  void mouseMoveEvent(QMouseEvent*) override;
  void mouseReleaseEvent(QMouseEvent*) override;
  void wheelEvent(QWheelEvent*) override;
  void keyPressEvent(QKeyEvent*) override;

 private:
  void RememberView();
  const nyhost::Point3* Base() const;
  void DrawSnapMarker(QPainter& p, QPointF c, SnapMode mode) const;

  nyrender::ViewTransform view_;
  Rubber rubber_ = Rubber::kNone;
  std::vector<nyhost::Point3> anchors_;
  std::optional<QPointF> cursor_;
  bool snapping_ = false;
  bool object_snap_ = true;
  unsigned snap_modes_ = kDefaultSnapModes;
  bool ortho_ = false;
  std::vector<nyrender::ViewTransform> previous_;
  bool panning_ = false;
  QPointF pan_from_;
  std::set<nyhost::EntityId> highlighted_;
  const nyhost::Drawing* shown_ = nullptr;
  bool fitted_ = false;
};

}  // namespace nygui
