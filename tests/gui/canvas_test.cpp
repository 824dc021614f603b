// The canvas: zooming with the wheel and panning with the middle button keep the drawing under the
// cursor, a zoom window shows its box, rubber bands and the snap mark are drawn where they belong.
#include "gui/canvas.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLabel>
#include <QMenuBar>
#include <QTest>
#include <QWheelEvent>

#include "gui/main_window.h"
#include "gui_fixture.h"
#include "host/host.h"

namespace {

using nyhost::Point3;

class CanvasView : public guitest::WindowTest {
 protected:
  void SetUp() override {
    OpenWindow(guitest::LineDrawing({0, 0, 0}, {2000, 1000, 0}), 900, 700);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    canvas_ = window_->canvas();
    canvas_->ZoomExtents();
  }
  void Wheel(QPointF at, int delta) {
    QWheelEvent e(at, canvas_->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(canvas_, &e);
  }
  // A mouse move delivered as such (a cursor already there would make no event of its own).
  void Move(QPointF at, Qt::MouseButtons held = Qt::NoButton) {
    QMouseEvent e(QEvent::MouseMove, at, canvas_->mapToGlobal(at), Qt::NoButton, held,
                  Qt::NoModifier);
    QApplication::sendEvent(canvas_, &e);
  }
  nygui::Canvas* canvas_ = nullptr;
};

// Whatever moves the view keeps the world point under `from` at `to`: a wheel notch scales by 1.2
// around the cursor, a middle-button drag follows each step and keeps the scale; a horizontal-only
// wheel and a move without the button change nothing.
TEST_F(CanvasView, WheelZoomAndMiddleDragKeepTheDrawingUnderTheCursor) {
  enum Kind { kWheel, kDrag, kHover };
  struct Case {
    Kind kind;
    QPoint from, to;
    int delta;
    double factor;
  } cases[] = {
      {kWheel, {100, 80}, {100, 80}, 120, 1.2},
      {kWheel, {600, 300}, {600, 300}, 360, 1.2 * 1.2 * 1.2},
      {kWheel, {50, 400}, {50, 400}, -120, 1 / 1.2},
      {kWheel, {420, 10}, {420, 10}, -240, 1 / 1.44},
      {kWheel, {300, 300}, {300, 300}, 60, std::sqrt(1.2)},  // half a notch (fine-grained wheels)
      {kWheel, {10, 10}, {10, 10}, 0, 1},
      {kDrag, {100, 100}, {300, 250}, 0, 1},
      {kDrag, {500, 400}, {200, 420}, 0, 1},
      {kDrag, {10, 600}, {10, 20}, 0, 1},
      {kHover, {200, 200}, {200, 200}, 0, 1},
  };
  for (const auto& c : cases) {
    Point3 grabbed = canvas_->ToWorld(c.from);
    double scale = canvas_->view().scale;
    if (c.kind == kWheel) {
      Wheel(c.from, c.delta);
    } else if (c.kind == kHover) {
      Move(QPoint(400, 300));
    } else {
      QTest::mousePress(canvas_, Qt::MiddleButton, Qt::NoModifier, c.from);
      Move((c.from + c.to) / 2, Qt::MiddleButton);
      Move(c.to, Qt::MiddleButton);
      QTest::mouseRelease(canvas_, Qt::MiddleButton, Qt::NoModifier, c.to);
      EXPECT_EQ(canvas_->cursor().shape(), Qt::CrossCursor);
    }
    const std::string what = std::to_string(c.kind) + " " + std::to_string(c.delta);
    EXPECT_NEAR(canvas_->view().scale, scale * c.factor, scale * 1e-9) << what;
    QPointF now = canvas_->ToDevice(grabbed);
    EXPECT_NEAR(now.x(), c.to.x(), 1e-6) << what;
    EXPECT_NEAR(now.y(), c.to.y(), 1e-6) << what;
  }
}

TEST_F(CanvasView, ZoomWindowShowsTheBoxWhicheverCornersComeFirst) {
  struct Case {
    Point3 a, b;
  } cases[] = {{{100, 100, 0}, {500, 300, 0}},
               {{500, 300, 0}, {100, 100, 0}},
               {{1900, -50, 0}, {1700, 950, 0}},  // tall box
               {{-1000, 0, 0}, {3000, 10, 0}},    // wide box
               {{0, 0, 0}, {2000, 1000, 0}}};     // the extents, shown with a 5 % margin
  for (const auto& c : cases) {
    const bool extents = &c == &cases[4];
    extents ? canvas_->ZoomExtents() : canvas_->ZoomWindow(c.a, c.b);
    const auto& v = canvas_->view();
    QRectF box = QRectF(canvas_->ToDevice(c.a), canvas_->ToDevice(c.b)).normalized();
    // Inside the view, centred, and filling it (with a 2 % margin) along the tighter side.
    EXPECT_TRUE(QRectF(0, 0, v.width, v.height).adjusted(-1e-6, -1e-6, 1e-6, 1e-6).contains(box));
    EXPECT_NEAR(box.center().x(), v.width / 2.0, 1e-6);
    EXPECT_NEAR(box.center().y(), v.height / 2.0, 1e-6);
    EXPECT_NEAR(std::max(box.width() / v.width, box.height() / v.height), extents ? 0.9 : 0.96,
                1e-6);
  }
}

TEST_F(CanvasView, TheViewMenusZoomWindowAsksForTwoCorners) {
  QAction* zoom_window = nullptr;
  for (QAction* menu : window_->menuBar()->actions())
    for (QAction* a : menu->menu() ? menu->menu()->actions() : QList<QAction*>{})
      if (a->text() == QStringLiteral("窗口缩放")) zoom_window = a;
  ASSERT_NE(zoom_window, nullptr);
  guitest::ClickLater(canvas_, canvas_->ToDevice({200, 100, 0}).toPoint(), 40);
  guitest::ClickLater(canvas_, canvas_->ToDevice({600, 400, 0}).toPoint(), 80);
  const double old_pixel = 1 / canvas_->view().scale;
  zoom_window->trigger();
  // The corners were clicked on whole pixels of the old view: the box is shown within those.
  Point3 centre = canvas_->ToWorld(QPointF(canvas_->width() / 2.0, canvas_->height() / 2.0));
  EXPECT_NEAR(centre.x, 400, old_pixel);
  EXPECT_NEAR(centre.y, 250, old_pixel);
  EXPECT_NEAR(canvas_->view().scale,
              0.96 * std::min(canvas_->width() / 400.0, canvas_->height() / 300.0),
              canvas_->view().scale * 0.01);
  EXPECT_FALSE(window_->ports()->waiting());
}

enum class Tint { kBlue, kGreen };

// Antialiased lines blend with the white ground, so pixels are told by their hue.
bool HasTint(QColor c, Tint t) {
  if (t == Tint::kBlue) return c.blue() - c.red() > 40 && c.blue() >= c.green();
  return c.green() - c.red() > 40 && c.green() - c.blue() > 40;
}

// How many of 19 points along a device segment have pixels of the tint within one pixel.
int InkAlong(const QImage& img, QPointF from, QPointF to, Tint tint) {
  int hits = 0;
  for (int i = 1; i < 20; ++i) {
    QPointF p = from + (to - from) * (i / 20.0);
    bool near = false;
    for (int dx = -1; dx <= 1 && !near; ++dx)
      for (int dy = -1; dy <= 1 && !near; ++dy)
        near = HasTint(img.pixelColor(qRound(p.x()) + dx, qRound(p.y()) + dy), tint);
    hits += near;
  }
  return hits;
}

TEST_F(CanvasView, RubberBandsFollowTheCursor) {
  using R = nygui::Canvas::Rubber;
  const Tint blue = Tint::kBlue, green = Tint::kGreen;
  QPointF a(100, 100), c(400, 300), m(250, 420);
  struct Case {
    R kind;
    std::vector<QPointF> anchors;
    QPointF cursor;
    Tint colour;
    std::vector<std::pair<QPointF, QPointF>> drawn, empty;
  } cases[] = {
      {R::kLine, {a}, c, blue, {{a, c}}, {{QPointF(a.x(), c.y()), c}}},
      {R::kRect, {a}, c, blue, {{a, QPointF(c.x(), a.y())}, {QPointF(c.x(), a.y()), c}}, {{a, c}}},
      {R::kPolygon, {a, c}, m, blue, {{a, c}, {c, m}, {m, a}}, {}},
      {R::kWindow, {a}, c, blue, {{a, QPointF(a.x(), c.y())}}, {{c, m}}},
      {R::kWindow, {c}, a, green, {{a, QPointF(a.x(), c.y())}}, {}},  // right to left: crossing
  };
  for (const auto& k : cases) {
    std::vector<Point3> anchors;
    for (QPointF p : k.anchors) anchors.push_back(canvas_->ToWorld(p));
    canvas_->SetRubber(k.kind, anchors);
    Move(k.cursor);
    QImage img = canvas_->grab().toImage();
    for (const auto& [from, to] : k.drawn)
      EXPECT_GE(InkAlong(img, from, to, k.colour), 8)
          << int(k.kind) << " " << from.x() << "," << from.y() << " " << to.x() << "," << to.y();
    for (const auto& [from, to] : k.empty)
      EXPECT_LE(InkAlong(img, from, to, k.colour), 2) << int(k.kind);
  }
  canvas_->ClearRubber();
  QImage img = canvas_->grab().toImage();
  EXPECT_LE(InkAlong(img, a, QPointF(c.x(), a.y()), blue), 1);
}

// F3 switches object snap and the status bar says so; the end of the line is marked with a square.
TEST_F(CanvasView, SnappingMarksAndReturnsTheNearPoint) {
  QPointF end = canvas_->ToDevice({2000, 1000, 0});
  struct Case {
    bool snapping, object_snap;
    QPointF offset;
    bool snapped;
  } cases[] = {{true, true, {3, -2}, true},
               {true, true, {12, 0}, false},
               {false, true, {3, -2}, false},
               {true, false, {3, -2}, false},
               {true, true, {-2, 3}, true}};
  for (const auto& c : cases) {
    canvas_->SetSnapping(c.snapping);
    if (canvas_->object_snap() != c.object_snap) QTest::keyClick(window_.get(), Qt::Key_F3);
    ASSERT_EQ(canvas_->object_snap(), c.object_snap);
    bool shown = false;
    for (auto* l : window_->findChildren<QLabel*>())
      shown |=
          l->text() == (c.object_snap ? QStringLiteral("捕捉: 开") : QStringLiteral("捕捉: 关"));
    EXPECT_TRUE(shown);
    bool snapped = false;
    Point3 p = canvas_->SnappedWorld(end + c.offset, &snapped);
    EXPECT_EQ(snapped, c.snapped);
    EXPECT_TRUE(!c.snapped || (p.x == 2000 && p.y == 1000)) << p.x << "," << p.y;
    Move(end + c.offset);
    QImage img = canvas_->grab().toImage();
    // The orange square sits 5 pixels around the snapped point.
    QColor edge = img.pixelColor(qRound(end.x()) - 5, qRound(end.y()));
    bool orange =
        edge.red() > 150 && edge.red() - edge.blue() > 100 && edge.green() < edge.red() - 40;
    EXPECT_EQ(orange, c.snapped) << c.offset.x();
  }
  // F8: a click that snaps to nothing stays level or plumb with the start of the line.
  QTest::keyClick(window_.get(), Qt::Key_F8);
  ASSERT_TRUE(canvas_->ortho());
  canvas_->SetRubber(nygui::Canvas::Rubber::kLine, {{500, 500, 0}});
  Point3 level = canvas_->SnappedWorld(canvas_->ToDevice({900, 560, 0}));
  Point3 plumb = canvas_->SnappedWorld(canvas_->ToDevice({540, 950, 0}));
  EXPECT_EQ(level.y, 500);
  EXPECT_EQ(plumb.x, 500);
  EXPECT_NEAR(level.x, 900, 1);
}

TEST_F(CanvasView, ClicksOnRoundPointsGiveThemExactly) {
  // A room drawn from 0,0 to 6000,6000 by clicks must be exactly that room: areas and power
  // densities computed from it are cut, not rounded, to two decimals.
  struct Case {
    Point3 a, b;  // zoom window
    std::vector<Point3> points;
    double coarsest;  // the largest step the rounding may have at that zoom
  } cases[] = {
      {{-500, -500, 0}, {6500, 6500, 0}, {{0, 0, 0}, {6000, 6000, 0}, {-250.75, 3000.5, 0}}, 0.01},
      {{-3, -3, 0}, {7, 5, 0}, {{0, 0, 0}, {1.2345, -2.5, 0}}, 0.0001},
      {{-2e6, -2e6, 0}, {9e6, 9e6, 0}, {{0, 0, 0}, {1e6, 3e6, 0}}, 10},
  };
  for (const auto& c : cases) {
    canvas_->ZoomWindow(c.a, c.b);
    for (const auto& p : c.points) {
      QPointF d = canvas_->ToDevice(p);
      Point3 got = canvas_->ClickedWorld(d);
      EXPECT_EQ(std::pair(got.x, got.y), std::pair(p.x, p.y))
          << "at scale " << canvas_->view().scale;
      EXPECT_FALSE(std::signbit(got.x) && got.x == 0);
      // Anywhere else the click keeps within half a step of the cursor, a sliver of a pixel.
      QPointF off = d + QPointF(0.37, -0.61);
      Point3 raw = canvas_->ToWorld(off), clean = canvas_->ClickedWorld(off);
      EXPECT_LE(std::max(std::abs(clean.x - raw.x), std::abs(clean.y - raw.y)),
                c.coarsest / 2 * (1 + 1e-9));
      EXPECT_LT(c.coarsest, 0.01 / canvas_->view().scale);
    }
  }
  // A real click reports the clean point to the host.
  canvas_->ZoomWindow({-500, -500, 0}, {6500, 6500, 0});
  Point3 clicked{1, 1, 1};
  QObject::connect(canvas_, &nygui::Canvas::pointClicked,
                   [&](Point3 world, Point3) { clicked = world; });
  canvas_->SimulateClick({6000, 6000, 0});
  EXPECT_EQ(std::pair(clicked.x, clicked.y), std::pair(6000.0, 6000.0));
}

TEST_F(CanvasView, TypingOverTheDrawingGoesToTheCommandLine) {
  canvas_->setFocus();
  QTest::keyClicks(canvas_, "REDRAW");
  EXPECT_EQ(window_->command_line()->input()->text(), QStringLiteral("REDRAW"));
  EXPECT_TRUE(window_->command_line()->input()->hasFocus());
}

}  // namespace
