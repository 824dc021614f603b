#include "gui/canvas.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "gui/pick.h"
#include "host/entity_geometry.h"
#include "host/host.h"
#include "render/drawing_renderer.h"

namespace nygui {

using nyhost::Host;
using nyhost::Point3;

Canvas::Canvas(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::CrossCursor);
  setMinimumSize(200, 150);
  view_.width = width();
  view_.height = height();
}

void Canvas::RememberView() {
  if (!fitted_ || view_.scale <= 0) return;
  if (previous_.size() >= 50) previous_.erase(previous_.begin());
  previous_.push_back(view_);
}

bool Canvas::ZoomPrevious() {
  if (previous_.empty()) return false;
  view_ = previous_.back();
  previous_.pop_back();
  view_.width = width();
  view_.height = height();
  update();
  return true;
}

void Canvas::ZoomBy(double factor) {
  RememberView();
  view_.ZoomAt(QPointF(width() / 2.0, height() / 2.0), factor);
  update();
}

void Canvas::PanBy(double dx_pixels, double dy_pixels) {
  RememberView();
  view_.PanPixels(dx_pixels, dy_pixels);
  update();
}

void Canvas::SetObjectSnap(bool on) {
  object_snap_ = on;
  update();
}

void Canvas::SetSnapModes(unsigned modes) {
  snap_modes_ = modes;
  update();
}

void Canvas::SetOrtho(bool on) {
  ortho_ = on;
  update();
}

void Canvas::ZoomExtents() {
  RememberView();
  view_.width = width();
  view_.height = height();
  if (const auto* d = Host::Get().drawing()) view_.Fit(nyhost::DrawingExtents(*d));
  fitted_ = true;
  update();
}

void Canvas::ZoomWindow(Point3 a, Point3 b) {
  nyhost::Extents box;
  box.Add(a);
  box.Add(b);
  RememberView();
  view_.Fit(box, 0.02);
  update();
}

void Canvas::DrawingReplaced() {
  shown_ = Host::Get().drawing();
  previous_.clear();
  fitted_ = false;
  ZoomExtents();
}

void Canvas::SetRubber(Rubber kind, std::vector<Point3> anchors) {
  rubber_ = kind;
  anchors_ = std::move(anchors);
  update();
}

void Canvas::ClearRubber() {
  rubber_ = Rubber::kNone;
  anchors_.clear();
  update();
}

void Canvas::SetHighlighted(std::set<nyhost::EntityId> ids) {
  highlighted_ = std::move(ids);
  update();
}

Point3 Canvas::ClickedWorld(QPointF d) const {
  Point3 p = view_.ToWorld(d);
  if (!(view_.scale > 0)) return p;
  const int k = static_cast<int>(std::floor(std::log10(1.0 / (view_.scale * 1000))));
  auto clean = [k](double v) {
    // Divide by an exact power of ten where the step is below one: the result is then the
    // double nearest the decimal value.
    double r = k < 0 ? std::round(v * std::pow(10.0, -k)) / std::pow(10.0, -k)
                     : std::round(v / std::pow(10.0, k)) * std::pow(10.0, k);
    return r + 0.0;  // no negative zero
  };
  return {clean(p.x), clean(p.y), 0};
}

const Point3* Canvas::Base() const {
  if (anchors_.empty()) return nullptr;
  if (rubber_ == Rubber::kLine) return &anchors_.front();
  if (rubber_ == Rubber::kPolygon) return &anchors_.back();
  return nullptr;
}

std::optional<SnapHit> Canvas::SnapAt(QPointF device) const {
  const auto* d = Host::Get().drawing();
  if (!snapping_ || !object_snap_ || !d) return std::nullopt;
  return FindSnap(*d, ClickedWorld(device), PixelsToWorld(kSnapPixels), snap_modes_, Base());
}

Point3 Canvas::SnappedWorld(QPointF device, bool* snapped) const {
  Point3 raw = ClickedWorld(device);
  if (snapped) *snapped = false;
  if (auto s = SnapAt(device)) {
    if (snapped) *snapped = true;
    return s->point;
  }
  // Ortho keeps the point level or plumb with the base, whichever is nearer the cursor.
  if (const Point3* base = Base(); snapping_ && ortho_ && base) {
    if (std::fabs(raw.x - base->x) >= std::fabs(raw.y - base->y)) return {raw.x, base->y, 0};
    return {base->x, raw.y, 0};
  }
  return raw;
}

// The usual glyphs: square endpoint, triangle midpoint, X intersection, hourglass nearest,
// right angle perpendicular, two squares insertion point, circle centre.
void Canvas::DrawSnapMarker(QPainter& p, QPointF c, SnapMode mode) const {
  constexpr double r = 5;
  p.setPen(QPen(QColor(230, 120, 0), 2));
  p.setBrush(Qt::NoBrush);
  const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
  switch (mode) {
    case kSnapEndpoint:
      p.drawRect(box);
      break;
    case kSnapMidpoint:
      p.drawPolygon(QPolygonF({QPointF(c.x(), c.y() - r), QPointF(c.x() + r, c.y() + r),
                               QPointF(c.x() - r, c.y() + r)}));
      break;
    case kSnapIntersection:
      p.drawLine(box.topLeft(), box.bottomRight());
      p.drawLine(box.topRight(), box.bottomLeft());
      break;
    case kSnapNearest:
      p.drawPolygon(
          QPolygonF({box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()}));
      break;
    case kSnapPerpendicular:
      p.drawPolyline(QPolygonF({box.topLeft(), box.bottomLeft(), box.bottomRight()}));
      p.drawPolyline(QPolygonF({QPointF(c.x() - r, c.y()), c, QPointF(c.x(), c.y() + r)}));
      break;
    case kSnapInsertion:
      p.drawRect(QRectF(c.x() - r, c.y() - r, r, r));
      p.drawRect(QRectF(c.x(), c.y(), r, r));
      break;
    case kSnapCenter:
      p.drawEllipse(c, r, r);
      break;
  }
}

void Canvas::paintEvent(QPaintEvent*) {
  Host& host = Host::Get();
  if (host.drawing() != shown_) {
    shown_ = host.drawing();
    fitted_ = false;
  }
  if (!fitted_ && shown_) ZoomExtents();
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  p.fillRect(rect(), Qt::white);
  if (!shown_) return;
  nyrender::RenderOptions opt;
  opt.temp_vectors = &host.temp_vectors();
  opt.highlighted = highlighted_;
  opt.pd_mode = host.GetVarInt("PDMODE");
  opt.pd_size = host.GetVarReal("PDSIZE");
  nyrender::DrawingRenderer().Draw(p, *shown_, view_, opt);

  if (!cursor_) return;
  const std::optional<SnapHit> snap = SnapAt(*cursor_);
  QPointF c = ToDevice(SnappedWorld(*cursor_));
  QPen rubber(QColor(0, 120, 215), 1, Qt::DashLine);
  p.setPen(rubber);
  p.setBrush(Qt::NoBrush);
  if (!anchors_.empty()) {
    QPointF a = ToDevice(anchors_[0]);
    switch (rubber_) {
      case Rubber::kLine:
        p.drawLine(a, c);
        break;
      case Rubber::kRect:
        p.drawRect(QRectF(a, c).normalized());
        break;
      case Rubber::kPolygon: {
        QPolygonF poly;
        for (const auto& v : anchors_) poly << ToDevice(v);
        poly << c;
        p.setPen(QPen(QColor(0, 120, 215), 1));
        p.drawPolyline(poly);
        p.setPen(rubber);
        p.drawLine(c, a);  // the closing edge
        break;
      }
      case Rubber::kWindow: {
        // Left to right: window (solid, blue); right to left: crossing (dashed, green).
        bool crossing = c.x() < a.x();
        QColor col = crossing ? QColor(0, 160, 0) : QColor(0, 90, 220);
        p.setPen(QPen(col, 1, crossing ? Qt::DashLine : Qt::SolidLine));
        col.setAlpha(40);
        p.setBrush(col);
        p.drawRect(QRectF(a, c).normalized());
        break;
      }
      case Rubber::kNone:
        break;
    }
  }
  if (snap) DrawSnapMarker(p, c, snap->mode);
}

void Canvas::resizeEvent(QResizeEvent*) {
  view_.width = width();
  view_.height = height();
  if (!fitted_) ZoomExtents();
}

void Canvas::mousePressEvent(QMouseEvent* e) {
  setFocus();
  if (e->button() == Qt::MiddleButton) {
    RememberView();
    panning_ = true;
    pan_from_ = e->position();
    setCursor(Qt::ClosedHandCursor);
    return;
  }
  if (e->button() == Qt::LeftButton) {
    Point3 raw = ClickedWorld(e->position());
    emit pointClicked(SnappedWorld(e->position()), raw);
  }
}

void Canvas::mouseMoveEvent(QMouseEvent* e) {
  if (panning_) {
    QPointF delta = e->position() - pan_from_;
    pan_from_ = e->position();
    view_.PanPixels(delta.x(), delta.y());
  }
  cursor_ = e->position();
  emit cursorMoved(ClickedWorld(e->position()));
  update();
}

void Canvas::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::MiddleButton && panning_) {
    panning_ = false;
    setCursor(Qt::CrossCursor);
  }
}

void Canvas::wheelEvent(QWheelEvent* e) {
  double steps = e->angleDelta().y() / 120.0;
  if (steps == 0) return;
  RememberView();
  view_.ZoomAt(e->position(), std::pow(1.2, steps));
  update();
}

void Canvas::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      emit enterPressed();
      return;
    case Qt::Key_Escape:
      emit escapePressed();
      return;
    default:
      // Typing over the drawing goes to the command line, as in a CAD program.
      if (!e->text().isEmpty() && e->text()[0].isPrint()) {
        emit textTyped(e->text());
        return;
      }
      QWidget::keyPressEvent(e);
  }
}

void Canvas::SimulateMove(Point3 world) {
  QPointF d = ToDevice(world);
  QMouseEvent move(QEvent::MouseMove, d, mapToGlobal(d), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(this, &move);
}

void Canvas::SimulateClick(Point3 world) {
  SimulateMove(world);
  QPointF d = ToDevice(world);
  QMouseEvent press(QEvent::MouseButtonPress, d, mapToGlobal(d), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(this, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, d, mapToGlobal(d), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(this, &release);
}

}  // namespace nygui
