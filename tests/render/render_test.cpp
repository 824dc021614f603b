// The renderer draws what the drawing holds, where and in the colour it says.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "render/aci_colors.h"
#include "render/export.h"
#include "render/mtext_plain.h"
#include "render/qt_painter.h"
#include "test_support.h"

namespace {

using nyhost::Drawing;
using nyhost::Entity;
using nyrender::ViewTransform;

Entity Make(nyhost::EntityData data, int color = nyhost::kColorByLayer, std::string layer = "0") {
  Entity e;
  e.data = std::move(data);
  e.color = color;
  e.layer = std::move(layer);
  return e;
}

nyhost::Solid Square(double x, double y, double size) {
  nyhost::Solid s;
  s.corners = {{{x, y, 0}, {x + size, y, 0}, {x, y + size, 0}, {x + size, y + size, 0}}};
  return s;
}

// A 100 x 100 world shown 1:1 in a 100 x 100 picture (y up).
ViewTransform UnitView() {
  ViewTransform v;
  v.width = v.height = 100;
  v.scale = 1;
  v.center_x = v.center_y = 50;
  return v;
}

QImage Render(const Drawing& d, const ViewTransform& v, nyrender::RenderOptions opt = {},
             bool antialiased = false) {
  nyrender::EnsureGuiApplication();
  QImage img(v.width, v.height, QImage::Format_RGB32);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, antialiased);
  nyrender::DrawingRenderer().Draw(p, d, v, opt);
  p.end();
  return img;
}

// World (x, y) in the unit view is pixel (x, 100 - y).
QColor At(const QImage& img, int wx, int wy) { return img.pixelColor(wx, 100 - wy); }

bool IsWhite(QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() > 240; }

// Where the ink of one colour lies in the unit view, in world coordinates.
struct Ink {
  int count = 0;
  double min_x = 1e9, min_y = 1e9, max_x = -1e9, max_y = -1e9, sum_x = 0, sum_y = 0;
  double cx() const { return sum_x / count; }
  double cy() const { return sum_y / count; }
};

template <typename Pred>
Ink InkOf(const QImage& img, Pred is_ink) {
  Ink k;
  for (int py = 0; py < img.height(); ++py)
    for (int px = 0; px < img.width(); ++px)
      if (is_ink(img.pixelColor(px, py))) {
        double x = px, y = 100 - py;
        ++k.count;
        k.min_x = std::min(k.min_x, x), k.max_x = std::max(k.max_x, x);
        k.min_y = std::min(k.min_y, y), k.max_y = std::max(k.max_y, y);
        k.sum_x += x, k.sum_y += y;
      }
  return k;
}

bool Reddish(QColor c) { return c.red() > 150 && c.green() < 120 && c.blue() < 120; }
bool Bluish(QColor c) { return c.blue() > 150 && c.red() < 120 && c.green() < 120; }
bool Dark(QColor c) { return c.lightness() < 100; }

TEST(AciColors, StandardEntries) {
  EXPECT_EQ(nyrender::AciToRgb(1), 0xFF0000u);
  EXPECT_EQ(nyrender::AciToRgb(3), 0x00FF00u);
  EXPECT_EQ(nyrender::AciToRgb(5), 0x0000FFu);
  EXPECT_EQ(nyrender::AciToRgb(8), 0x808080u);
  EXPECT_EQ(nyrender::AciToRgb(10), 0xFF0000u);
  EXPECT_EQ(nyrender::AciToRgb(11), 0xFF7F7Fu);
  EXPECT_EQ(nyrender::AciToRgb(12), 0xCC0000u);
  EXPECT_EQ(nyrender::AciToRgb(30), 0xFF7F00u);
  EXPECT_EQ(nyrender::AciToRgb(50), 0xFFFF00u);
  EXPECT_EQ(nyrender::AciToRgb(130), 0x00FFFFu);
  EXPECT_EQ(nyrender::AciToRgb(250), 0x333333u);
  EXPECT_EQ(nyrender::AciToRgb(255), 0xFFFFFFu);
  EXPECT_EQ(nyrender::AciToRgb(300), nyrender::AciToRgb(7));
  // Colour 7 draws black on white and white on black.
  EXPECT_EQ(nyrender::DrawingRenderer::ColorOf(7, Qt::white), QColor(Qt::black));
  EXPECT_EQ(nyrender::DrawingRenderer::ColorOf(7, Qt::black), QColor(Qt::white));
}

TEST(Renderer, FillsAndLayerColours) {
  Drawing d;
  d.EnsureLayer("RED", 1);
  d.EnsureLayer("HIDDEN", 3).off = true;
  d.Add(Make(Square(10, 10, 20), 3));                            // explicit green
  d.Add(Make(Square(60, 10, 20), nyhost::kColorByLayer, "RED"));  // by layer: red
  d.Add(Make(Square(60, 60, 20), 5, "HIDDEN"));                   // off layer: not drawn
  nyhost::EntityId gone = d.Add(Make(Square(10, 60, 20), 5));     // erased: not drawn
  d.Erase(gone);
  QImage img = Render(d, UnitView());
  EXPECT_EQ(At(img, 20, 20), QColor(0, 255, 0));
  EXPECT_EQ(At(img, 70, 20), QColor(255, 0, 0));
  EXPECT_TRUE(IsWhite(At(img, 70, 70)));
  EXPECT_TRUE(IsWhite(At(img, 20, 70)));
  EXPECT_TRUE(IsWhite(At(img, 45, 45)));
}

TEST(Renderer, LinesPolylinesAndHatches) {
  Drawing d;
  d.Add(Make(nyhost::Line{{5, 50, 0}, {95, 50, 0}}, 7));  // black on white
  nyhost::Polyline wide;
  wide.vertices = {{10, 20}, {90, 20}};
  wide.constant_width = 6;
  d.Add(Make(wide, 5));
  nyhost::Polyline arc;  // a half circle of radius 20 bulging down from (30,90) to (70,90)
  arc.vertices = {{30, 90, 1.0}, {70, 90}};
  d.Add(Make(arc, 1));
  nyhost::Hatch h;
  h.loops = {{{60, 60, 0}, {80, 60, 0}, {80, 80, 0}, {60, 80, 0}}};
  d.Add(Make(h, 3));
  QImage img = Render(d, UnitView());
  QColor line = At(img, 50, 50);
  EXPECT_LT(line.lightness(), 60);  // colour 7 on white is black
  EXPECT_EQ(At(img, 50, 22), QColor(0, 0, 255));  // inside the 6-unit band
  EXPECT_EQ(At(img, 50, 18), QColor(0, 0, 255));
  EXPECT_TRUE(IsWhite(At(img, 50, 25)));
  // The arc passes through its lowest point (50, 70), not along its chord.
  bool red_low = false;
  for (int y = 68; y <= 72; ++y) red_low |= At(img, 50, y).red() > 200 && At(img, 50, y).green() < 120;
  EXPECT_TRUE(red_low);
  EXPECT_TRUE(IsWhite(At(img, 50, 90)));
  EXPECT_EQ(At(img, 70, 70), QColor(0, 255, 0));
}

TEST(Renderer, NestedRotatedScaledBlocks) {
  Drawing d;
  nyhost::BlockDefinition inner{"INNER", {0, 0, 0}, {Make(Square(0, 0, 5), 0)}};  // by block
  d.SetBlock(inner);
  nyhost::BlockReference in_ref{"INNER", {5, 0, 0}};
  nyhost::BlockDefinition outer{"OUTER", {0, 0, 0}, {Make(in_ref, 0)}};
  d.SetBlock(outer);
  // OUTER at (50,50), rotated 90 degrees, scaled 2: the square (5..10, 0..5) of OUTER lands at
  // x in 40..50, y in 60..70.
  nyhost::BlockReference ref{"OUTER", {50, 50, 0}, 90 * nyhost::kDegToRad, 2, 2, 1};
  d.Add(Make(ref, 1));
  QImage img = Render(d, UnitView());
  EXPECT_EQ(At(img, 45, 65), QColor(255, 0, 0));  // by-block colour from the reference
  EXPECT_TRUE(IsWhite(At(img, 62, 52)));           // where it would be without the rotation
}

TEST(Renderer, PointStylesFollowPdmodeAndPdsize) {
  Drawing d;
  d.Add(Make(nyhost::PointEntity{{50, 50, 0}}, 1));
  nyrender::RenderOptions opt;
  opt.pd_mode = 2;  // +
  opt.pd_size = 20;  // drawing units
  QImage plus = Render(d, UnitView(), opt);
  EXPECT_FALSE(IsWhite(At(plus, 58, 50)));
  EXPECT_TRUE(IsWhite(At(plus, 58, 58)));
  opt.pd_mode = 3;  // x
  QImage cross = Render(d, UnitView(), opt);
  EXPECT_FALSE(IsWhite(At(cross, 56, 56)));
  EXPECT_TRUE(IsWhite(At(cross, 58, 50)));
  opt.pd_mode = 1 + 64;  // nothing, in a square
  opt.pd_size = -20;     // 20 % of the view height
  QImage square = Render(d, UnitView(), opt);
  EXPECT_FALSE(IsWhite(At(square, 60, 55)));
  EXPECT_TRUE(IsWhite(At(square, 50, 50)));
  opt.pd_mode = 1;
  EXPECT_TRUE(IsWhite(At(Render(d, UnitView(), opt), 50, 50)));
}

TEST(Renderer, MiddleAlignedChineseTextInksAroundItsPoint) {
  Drawing d;
  nyhost::Text t;
  t.position = {50, 50, 0};
  t.height = 10;
  t.text = "照度计算";
  t.middle = true;
  d.Add(Make(t, 5));
  QImage img = Render(d, UnitView());
  int left = 0, right = 0, blue = 0;
  for (int y = 40; y < 60; ++y)
    for (int x = 0; x < 100; ++x) {
      QColor c = At(img, x, y);
      if (c.blue() > 150 && c.red() < 150) {
        ++blue;
        (x < 50 ? left : right)++;
      }
    }
  EXPECT_GT(blue, 40);
  EXPECT_GT(left, blue / 4);  // centred: ink on both sides of the point
  EXPECT_GT(right, blue / 4);
}

TEST(MTextPlain, StripsFormatting) {
  EXPECT_EQ(nyrender::MTextPlain("{\\fSimSun|b0;照度}\\P100 lx"), "照度\n100 lx");
  EXPECT_EQ(nyrender::MTextPlain("a\\~b\\\\c \\S1^2;"), "a b\\c 1/2");
}

TEST(Export, PngSvgPdfOfAPlan) {
  QTemporaryDir dir;
  Drawing d;
  d.Add(Make(Square(0, 0, 100), 1));
  nyhost::Text t;
  t.position = {10, 110, 0};
  t.height = 12;
  t.text = "办公室照度";
  d.Add(Make(t, 7));
  std::string base = dir.path().toStdString();
  auto png = nyrender::ExportDrawing(d, base + "/p.png", 200, 200);
  ASSERT_TRUE(png.ok) << png.error;
  QImage img(QString::fromStdString(base + "/p.png"));
  ASSERT_EQ(img.size(), QSize(200, 200));
  // The fit puts the red square's centre (50, 50) left of and below the picture's centre.
  QColor mid = img.pixelColor(90, 120);
  EXPECT_EQ(mid, QColor(255, 0, 0));
  EXPECT_TRUE(IsWhite(img.pixelColor(2, 2)));

  auto svg = nyrender::ExportDrawing(d, base + "/p.svg", 200, 200);
  ASSERT_TRUE(svg.ok) << svg.error;
  QFile s(QString::fromStdString(base + "/p.svg"));
  ASSERT_TRUE(s.open(QIODevice::ReadOnly));
  QByteArray svg_text = s.readAll();
  EXPECT_TRUE(svg_text.contains("<svg"));
  EXPECT_TRUE(svg_text.contains("#ff0000"));

  auto pdf = nyrender::ExportDrawing(d, base + "/p.pdf", 200, 200);
  ASSERT_TRUE(pdf.ok) << pdf.error;
  EXPECT_GT(QFile(QString::fromStdString(base + "/p.pdf")).size(), 500);
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext absent";
  QProcess p;
  p.start("pdftotext", {QString::fromStdString(base + "/p.pdf"), "-"});
  ASSERT_TRUE(p.waitForFinished(20000));
  EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("办公室照度")));

  auto bad = nyrender::ExportDrawing(d, base + "/p.xyz", 200, 200);
  EXPECT_FALSE(bad.ok);
}

TEST(ViewTransform, MapsBothWaysFitsZoomsAndPans) {
  struct Case {
    double cx, cy, scale;
    int w, h;
  } views[] = {{50, 50, 1, 100, 100}, {-1200.5, 3300, 0.07, 1378, 690}, {0, 0, 250, 640, 480}};
  for (const auto& c : views) {
    ViewTransform v;
    v.center_x = c.cx, v.center_y = c.cy, v.scale = c.scale, v.width = c.w, v.height = c.h;
    // The centre is in the middle, y grows upwards, and both mappings agree.
    QPointF mid = v.ToDevice(c.cx, c.cy);
    EXPECT_DOUBLE_EQ(mid.x(), c.w / 2.0);
    EXPECT_DOUBLE_EQ(mid.y(), c.h / 2.0);
    EXPECT_LT(v.ToDevice(c.cx, c.cy + 1).y(), mid.y());
    for (QPointF d : {QPointF(0, 0), QPointF(c.w, c.h), QPointF(13.25, 7.5)}) {
      nyhost::Point3 w = v.ToWorld(d);
      QPointF back = v.ToDevice(w.x, w.y);
      EXPECT_NEAR(back.x(), d.x(), 1e-7);
      EXPECT_NEAR(back.y(), d.y(), 1e-7);
      QPointF q = v.ToQTransform().map(QPointF(w.x, w.y));
      EXPECT_NEAR(q.x(), d.x(), 1e-7);
      EXPECT_NEAR(q.y(), d.y(), 1e-7);
    }
    // Zooming keeps the point under the cursor; panning moves the drawing with the mouse.
    QPointF cursor(c.w * 0.3, c.h * 0.8);
    nyhost::Point3 under = v.ToWorld(cursor);
    v.ZoomAt(cursor, 1.7);
    EXPECT_NEAR(v.scale, c.scale * 1.7, c.scale * 1e-12);
    EXPECT_NEAR(v.ToDevice(under.x, under.y).x(), cursor.x(), 1e-7);
    EXPECT_NEAR(v.ToDevice(under.x, under.y).y(), cursor.y(), 1e-7);
    v.PanPixels(25, -40);
    EXPECT_NEAR(v.ToDevice(under.x, under.y).x(), cursor.x() + 25, 1e-7);
    EXPECT_NEAR(v.ToDevice(under.x, under.y).y(), cursor.y() - 40, 1e-7);
  }

  ViewTransform v;
  v.width = 200, v.height = 100;
  nyhost::Extents box;
  box.Add({0, 0, 0});
  box.Add({1000, 1000, 0});
  v.Fit(box, 0.05);  // the height limits: 90 pixels for 1000 units
  EXPECT_DOUBLE_EQ(v.scale, 0.09);
  EXPECT_DOUBLE_EQ(v.center_x, 500);
  nyhost::Extents point;
  point.Add({7, 8, 0});
  v.Fit(point);
  EXPECT_DOUBLE_EQ(v.scale, 1);  // a single point: unit scale around it
  EXPECT_DOUBLE_EQ(v.center_y, 8);
  v.scale = 3;
  v.Fit(nyhost::Extents());  // nothing to show: the origin, scale kept
  EXPECT_DOUBLE_EQ(v.scale, 3);
  EXPECT_DOUBLE_EQ(v.center_x, 0);
  v.ZoomAt(QPointF(0, 0), 1e-30);
  EXPECT_GT(v.scale, 0);  // never zero, so the view can always map back
}

// A luminaire symbol with its keyed texts as attributes.
Drawing WithAttributes(double rotation, const char* ref_layer, int ref_color) {
  Drawing d;
  d.EnsureLayer("照明", 1);
  d.EnsureLayer("关闭", 5).off = true;
  nyhost::BlockDefinition def{"灯", {0, 0, 0}, {Make(Square(-5, -5, 10), nyhost::kColorByBlock)}};
  d.SetBlock(def);
  nyhost::BlockReference ref{"灯", {30, 30, 0}, rotation};
  nyhost::Attribute a;
  a.tag = "名称";
  a.text = "格栅灯";
  a.position = {50, 20, 0};
  a.height = 10;
  ref.attributes.push_back(a);
  d.Add(Make(ref, ref_color, ref_layer));
  return d;
}

TEST(Renderer, BlockReferenceAttributesFollowTheReference) {
  struct Case {
    const char* name;
    double rotation_deg;
    const char* layer;
    int color;
    bool drawn;
    bool (*ink)(QColor);
    double x0, x1, y0, y1;  // where the attribute's ink must lie
  } cases[] = {
      {"along x", 0, "照明", nyhost::kColorByLayer, true, Reddish, 49, 85, 18, 32},
      {"turned 90", 90, "照明", nyhost::kColorByLayer, true, Reddish, 37, 51, 19, 85},
      {"own colour", 0, "照明", 5, true, Bluish, 49, 85, 18, 32},
      {"layer off", 0, "关闭", nyhost::kColorByLayer, false, Bluish, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    Drawing d = WithAttributes(c.rotation_deg * nyhost::kDegToRad, c.layer, c.color);
    QImage img = Render(d, UnitView());
    // Ink outside the symbol (25..35 square) is the attribute's.
    auto attribute_ink = [&](QColor col) { return c.ink(col); };
    QImage cut = img.copy();
    for (int y = 62; y <= 78; ++y)
      for (int x = 22; x <= 38; ++x) cut.setPixelColor(x, y, Qt::white);
    Ink k = InkOf(cut, attribute_ink);
    if (!c.drawn) {
      EXPECT_EQ(InkOf(img, [](QColor col) { return !IsWhite(col); }).count, 0) << c.name;
      continue;
    }
    ASSERT_GT(k.count, 30) << c.name;
    EXPECT_GE(k.min_x, c.x0) << c.name;
    EXPECT_LE(k.max_x, c.x1) << c.name;
    EXPECT_GE(k.min_y, c.y0) << c.name;
    EXPECT_LE(k.max_y, c.y1) << c.name;
    // The symbol itself is there in the reference's colour.
    EXPECT_TRUE(c.ink(At(img, 30, 30 + 5))) << c.name;
  }
}

TEST(Renderer, NestedReferenceAttributesMoveWithTheOuterBlock) {
  Drawing d;
  nyhost::BlockDefinition inner{"INNER", {0, 0, 0}, {Make(Square(0, 0, 2), 1)}};
  d.SetBlock(inner);
  nyhost::BlockReference in_ref{"INNER", {0, 0, 0}};
  nyhost::Attribute a;
  a.text = "A1";
  a.position = {4, 0, 0};  // in OUTER's own coordinates
  a.height = 4;
  in_ref.attributes.push_back(a);
  nyhost::BlockDefinition outer{"OUTER", {0, 0, 0}, {Make(in_ref, 1)}};
  d.SetBlock(outer);
  // OUTER at (20, 60), scaled 3: the attribute lands at (32, 60), 12 units high.
  d.Add(Make(nyhost::BlockReference{"OUTER", {20, 60, 0}, 0, 3, 3, 1}, 1));
  QImage img = Render(d, UnitView());
  EXPECT_EQ(At(img, 23, 63), QColor(255, 0, 0));  // the symbol, 6 x 6 from (20, 60)
  for (int y = 58; y <= 68; ++y)
    for (int x = 18; x <= 27; ++x) img.setPixelColor(x, 100 - y, Qt::white);
  Ink text = InkOf(img, Reddish);
  ASSERT_GT(text.count, 20);
  EXPECT_GE(text.min_x, 31);  // starts at x = 32 ...
  EXPECT_GT(text.max_x, 40);  // ... and "A1" 12 units high reaches well past x = 40
  EXPECT_GE(text.min_y, 58);
  EXPECT_LE(text.max_y, 74);
  EXPECT_GT(text.max_y, 68);
}

TEST(Renderer, MultilineTextAttachmentPlacesTheTextAroundItsPoint) {
  for (int attachment = 1; attachment <= 9; ++attachment) {
    Drawing d;
    nyhost::MText mt;
    mt.position = {50, 50, 0};
    mt.height = 8;
    mt.attachment = attachment;
    mt.text = "照度\\P计算";
    d.Add(Make(mt, 5));
    Ink k = InkOf(Render(d, UnitView()), Bluish);
    ASSERT_GT(k.count, 20) << attachment;
    int col = (attachment - 1) % 3, row = (attachment - 1) / 3;
    // Left-attached text runs to the right of the point, right-attached to its left; top-attached
    // text hangs below it, bottom-attached stands on it. Centred: the ink's middle is the point.
    const double left[] = {49, 0, 0}, right[] = {100, 100, 51};
    const double low[] = {0, 0, 49}, high[] = {51, 100, 100};
    EXPECT_GE(k.min_x, left[col]) << attachment;
    EXPECT_LE(k.max_x, right[col]) << attachment;
    EXPECT_GE(k.min_y, low[row]) << attachment;
    EXPECT_LE(k.max_y, high[row]) << attachment;
    EXPECT_NEAR(col == 1 ? k.cx() : 50, 50, 3) << attachment;
    EXPECT_NEAR(row == 1 ? k.cy() : 50, 50, 3) << attachment;
    EXPECT_GT(k.max_y - k.min_y, 12) << attachment;
  }
}

TEST(Renderer, TextRotationTinyTextsTemporaryVectorsAndHighlight) {
  Drawing d;
  nyhost::Text up;
  up.position = {20, 10, 0};
  up.height = 10;
  up.rotation = 90 * nyhost::kDegToRad;
  up.text = "照度";
  d.Add(Make(up, 1));
  nyhost::Text tiny = up;
  tiny.position = {80, 80, 0};
  tiny.rotation = 0;
  tiny.height = 0.5;  // half a pixel: not drawn at all
  d.Add(Make(tiny, 5));
  Ink k = InkOf(Render(d, UnitView()), Reddish);
  ASSERT_GT(k.count, 20);
  EXPECT_LE(k.max_x, 21);  // turned left: the glyphs lie left of the baseline
  EXPECT_GE(k.min_x, 8);
  EXPECT_GT(k.max_y - k.min_y, 15);  // and run upwards
  EXPECT_EQ(InkOf(Render(d, UnitView()), Bluish).count, 0);

  // Temporary vectors in their colour over the drawing; highlighted ones dashed.
  Drawing lines;
  nyhost::EntityId id = lines.Add(Make(nyhost::Line{{0, 50, 0}, {100, 50, 0}}, 7));
  std::vector<nyhost::TempVector> marks = {{{0, 20, 0}, {100, 20, 0}, 1, false},
                                           {{0, 80, 0}, {100, 80, 0}, 5, true}};
  nyrender::RenderOptions opt;
  opt.temp_vectors = &marks;
  opt.highlighted = {id};
  QImage img = Render(lines, UnitView(), opt);
  int red = 0, blue = 0, dark = 0;
  for (int x = 0; x < 100; ++x) {
    red += Reddish(At(img, x, 20));
    bool b = false, k2 = false;
    for (int dy = -1; dy <= 1; ++dy) b |= Bluish(At(img, x, 80 + dy)), k2 |= Dark(At(img, x, 50 + dy));
    blue += b;
    dark += k2;
  }
  EXPECT_GT(red, 95);                   // solid
  EXPECT_GT(blue, 30);                  // dashed: ink with gaps
  EXPECT_LT(blue, 90);
  EXPECT_GT(dark, 30);                  // the highlighted line is dashed too
  EXPECT_LT(dark, 95);
}

TEST(Renderer, BlockContentOnLayerZeroTakesTheReferencesLayer) {
  Drawing d;
  d.EnsureLayer("照明", 1);
  d.EnsureLayer("冻结", 3).frozen = true;
  d.EnsureLayer("负色", -4);  // a negative colour marks an off layer
  nyhost::BlockDefinition def{"B", {0, 0, 0},
                              {Make(Square(0, 0, 10), nyhost::kColorByLayer, "0"),
                               Make(Square(0, 12, 4), 5, "0")}};
  d.SetBlock(def);
  d.Add(Make(nyhost::BlockReference{"B", {10, 10, 0}}, nyhost::kColorByLayer, "照明"));
  d.Add(Make(nyhost::BlockReference{"B", {40, 10, 0}}, nyhost::kColorByLayer, "冻结"));
  d.Add(Make(nyhost::BlockReference{"B", {70, 10, 0}}, nyhost::kColorByLayer, "负色"));
  d.Add(Make(Square(70, 60, 10), nyhost::kColorByLayer, "负色"));
  QImage img = Render(d, UnitView());
  EXPECT_EQ(At(img, 15, 15), QColor(255, 0, 0));   // by layer: the reference's layer
  EXPECT_EQ(At(img, 12, 24), QColor(0, 0, 255));   // its own colour stays
  EXPECT_TRUE(IsWhite(At(img, 45, 15)));           // frozen layer
  EXPECT_TRUE(IsWhite(At(img, 75, 15)));           // off by its negative colour
  EXPECT_TRUE(IsWhite(At(img, 75, 65)));
}

TEST(Renderer, TaperedPolylinesNarrowAlongTheirSegments) {
  Drawing d;
  nyhost::Polyline arrow;
  arrow.vertices = {{10, 50, 0, 20, 0}, {90, 50}};  // 20 wide at the start, a point at the end
  d.Add(Make(arrow, 5));
  nyhost::Polyline closed;
  closed.vertices = {{10, 10}, {30, 10}, {30, 30}};
  closed.closed = true;
  d.Add(Make(closed, 1));
  QImage img = Render(d, UnitView());
  auto thickness = [&](int x) {
    int n = 0;
    for (int y = 30; y <= 70; ++y) n += Bluish(At(img, x, y));
    return n;
  };
  EXPECT_NEAR(thickness(12), 19.5, 2.5);
  EXPECT_NEAR(thickness(50), 10, 2.5);
  EXPECT_LE(thickness(88), 2);
  // The closing segment of a closed polyline is drawn: (30,30) back to (10,10).
  EXPECT_TRUE(Reddish(At(img, 20, 20)) || Reddish(At(img, 21, 20)) || Reddish(At(img, 20, 21)));
}

TEST(Renderer, WideWallsCloseTheirCornersWithoutSeams) {
  // A room's wall: a closed polyline 10 wide on its centre line 20..80, and an open L.
  Drawing d;
  nyhost::Polyline wall;
  wall.vertices = {{20, 20}, {80, 20}, {80, 80}, {20, 80}};
  wall.closed = true;
  wall.constant_width = 10;
  d.Add(Make(wall, 8));
  nyhost::Polyline ell;
  ell.vertices = {{40, 40}, {60, 40}, {60, 60}};
  ell.constant_width = 4;
  d.Add(Make(ell, 5));
  const QColor grey(128, 128, 128);
  for (bool aa : {false, true}) {
    QImage img = Render(d, UnitView(), {}, aa);
    struct Case {
      int x, y;
      bool filled;
    } cases[] = {
        {16, 16, true}, {83, 17, true}, {83, 83, true}, {17, 83, true},  // outer corner squares
        {50, 18, true}, {82, 50, true},                                   // along the sides
        {50, 50, false}, {10, 10, false}, {90, 50, false},
    };
    for (const auto& c : cases)
      EXPECT_EQ(At(img, c.x, c.y) == grey, c.filled) << c.x << "," << c.y << (aa ? " aa" : "");
    // Straight through the corners along the middle of the wall: one colour, no seams.
    for (int x = 17; x <= 83; ++x) EXPECT_EQ(At(img, x, 20), grey) << x << (aa ? " aa" : "");
    for (int y = 17; y <= 83; ++y) EXPECT_EQ(At(img, 80, y), grey) << y << (aa ? " aa" : "");
    // The open L: its corner closed, its ends cut square at the end points.
    EXPECT_TRUE(Bluish(At(img, 61, 39))) << aa;
    EXPECT_TRUE(IsWhite(At(img, 37, 40))) << aa;
    EXPECT_TRUE(IsWhite(At(img, 60, 63))) << aa;
  }
}

TEST(QtPainter, DialogPreviewPrimitives) {
  nyrender::EnsureGuiApplication();
  QImage img(100, 60, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QPainter qp(&img);
    nyrender::QtPainter qt(qp, 100, 60);
    nyhost::Painter& p = qt;  // as the dialogs call it, with its default arguments
    EXPECT_EQ(p.Width(), 100);
    EXPECT_EQ(p.Height(), 60);
    p.Rect(10, 10, 20, 20, nyhost::kNoColor, 0x00FF00);  // filled, no outline
    p.Rect(40, 10, 20, 20, 0x0000FF);                     // outline only
    p.Line(0, 50, 100, 50, 0xFF0000, 3);
    p.Text(70, 5, "照度", 0x0000FF, 14);                 // top-left corner at (70, 5)
  }
  EXPECT_EQ(img.pixelColor(20, 20), QColor(0, 255, 0));
  EXPECT_EQ(img.pixelColor(10, 10), QColor(0, 255, 0));
  EXPECT_TRUE(Bluish(img.pixelColor(40, 20)));
  EXPECT_TRUE(IsWhite(img.pixelColor(50, 20)));
  EXPECT_EQ(img.pixelColor(50, 50), QColor(255, 0, 0));
  EXPECT_EQ(img.pixelColor(50, 51), QColor(255, 0, 0));
  int text = 0, above = 0;
  for (int y = 0; y < 45; ++y)
    for (int x = 65; x < 100; ++x)
      if (Bluish(img.pixelColor(x, y)) || (img.pixelColor(x, y).blue() > 200 && img.pixelColor(x, y).red() < 200))
        (y < 5 ? above : text)++;
  EXPECT_GT(text, 15);
  EXPECT_EQ(above, 0);
  EXPECT_EQ(nyrender::RgbColor(0x123456), QColor(0x12, 0x34, 0x56));
}

TEST(Export, BadRequestsSayWhy) {
  QTemporaryDir dir;
  Drawing d;
  d.Add(Make(Square(0, 0, 10), 1));
  const std::string base = dir.path().toStdString();
  struct Case {
    std::string path;
    int w, h;
    const char* part;
  } cases[] = {
      {base + "/a.png", 0, 100, "positive"},
      {base + "/a.png", 100, -1, "positive"},
      {base + "/a.tiff", 100, 100, "unknown picture type 'tiff'"},
      {base + "/missing/folder/a.png", 100, 100, "cannot write"},
      {base + "/missing/folder/a.svg", 100, 100, "cannot write"},
  };
  for (const auto& c : cases) {
    auto r = nyrender::ExportDrawing(d, c.path, c.w, c.h);
    EXPECT_FALSE(r.ok) << c.path;
    EXPECT_NE(r.error.find(c.part), std::string::npos) << c.path << ": " << r.error;
  }
  // An empty drawing is still a picture: all background.
  auto ok = nyrender::ExportDrawing(Drawing(), base + "/empty.png", 40, 30);
  ASSERT_TRUE(ok.ok) << ok.error;
  QImage img(QString::fromStdString(base + "/empty.png"));
  EXPECT_EQ(img.size(), QSize(40, 30));
  EXPECT_TRUE(IsWhite(img.pixelColor(20, 15)));
}

// `nyluxora render` as a person runs it.
TEST(RenderCommand, DrawsTheExamplePlanAndRejectsBadRequests) {
  nyrender::EnsureGuiApplication();
  nytest::TempDir home;
  const QString program = QStringLiteral(NYLUXORA_TEST_BUILD_DIR "/bin/nyluxora");
  const QString plan = QStringLiteral(NYLUXORA_TEST_EXAMPLES_DIR "/office.dxf");
  const QString out = QString::fromStdString((home.path() / "office.png").string());
  auto run = [&](const QStringList& args, QString* err = nullptr) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("NYLUXORA_SHARE", NYLUXORA_TEST_SHARE_DIR);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(program, QStringList{"--data-dir", QString::fromStdString(home.str()), "render"} + args);
    if (!p.waitForFinished(60000)) return -1;
    if (err) *err = QString::fromUtf8(p.readAllStandardError());
    return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
  };
  ASSERT_EQ(run({plan, "--out", out}), 0);
  QImage img(out);
  ASSERT_EQ(img.size(), QSize(1600, 1200));
  // The luminaires (layer 照明, red) and the walls (colour 8, grey) are in the picture.
  int red = 0, grey = 0;
  for (int y = 0; y < img.height(); y += 2)
    for (int x = 0; x < img.width(); x += 2) {
      QColor c = img.pixelColor(x, y);
      red += Reddish(c);
      grey += c.red() == 128 && c.green() == 128 && c.blue() == 128;
    }
  EXPECT_GT(red, 200);
  EXPECT_GT(grey, 2000);
  ASSERT_EQ(run({plan, "--out", out, "--width", "320", "--height", "200"}), 0);
  EXPECT_EQ(QImage(out).size(), QSize(320, 200));

  QString err;
  EXPECT_EQ(run({plan, "--out", QString::fromStdString((home.path() / "x.gif").string())}, &err), 2);
  EXPECT_TRUE(err.contains("unknown picture type")) << err.toStdString();
  EXPECT_NE(run({QString::fromStdString((home.path() / "none.dxf").string()), "--out", out}, &err), 0);
  EXPECT_NE(run({plan}, &err), 0);  // --out is required
}

}  // namespace
