// The renderer draws what the drawing holds, where and in the colour it says.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "host/dxf_io.h"
#include "host/entity_geometry.h"
#include "render/aci_colors.h"
#include "render/export.h"
#include "render/mtext_plain.h"
#include "render/qt_painter.h"
#include "render/report_pdf.h"
#include "support/ny_access.h"
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
  const std::pair<int, unsigned> cases[] = {
      {1, 0xFF0000}, {3, 0x00FF00}, {5, 0x0000FF}, {8, 0x808080}, {10, 0xFF0000}, {11, 0xFF7F7F},
      {12, 0xCC0000}, {30, 0xFF7F00}, {50, 0xFFFF00}, {130, 0x00FFFF}, {250, 0x333333}, {255, 0xFFFFFF},
      {300, nyrender::AciToRgb(7)}};
  for (auto [aci, rgb] : cases) EXPECT_EQ(nyrender::AciToRgb(aci), rgb) << aci;
  // Colour 7 draws black on white and white on black.
  EXPECT_EQ(nyrender::DrawingRenderer::ColorOf(7, Qt::white), QColor(Qt::black));
  EXPECT_EQ(nyrender::DrawingRenderer::ColorOf(7, Qt::black), QColor(Qt::white));
  EXPECT_EQ(nyrender::RgbColor(0x123456), QColor(0x12, 0x34, 0x56));
}

// A drawing, the options it is drawn with, and pixels it must give: an exact colour, white, or
// (an invalid QColor) any ink.
struct PixelCase {
  const char* name;
  Drawing d;
  nyrender::RenderOptions opt;
  std::vector<std::tuple<int, int, QColor>> want;
};

std::vector<PixelCase> PixelCases() {
  const QColor red(255, 0, 0), green(0, 255, 0), blue(0, 0, 255), white(Qt::white), ink;
  std::vector<PixelCase> cases;
  {  // colours: explicit, by layer; off layers and erased entities are not drawn
    Drawing d;
    d.EnsureLayer("RED", 1);
    d.EnsureLayer("HIDDEN", 3).off = true;
    d.Add(Make(Square(10, 10, 20), 3));
    d.Add(Make(Square(60, 10, 20), nyhost::kColorByLayer, "RED"));
    d.Add(Make(Square(60, 60, 20), 5, "HIDDEN"));
    d.Erase(d.Add(Make(Square(10, 60, 20), 5)));
    cases.push_back({"fills and layers", std::move(d), {},
                     {{20, 20, green}, {70, 20, red}, {70, 70, white}, {20, 70, white}, {45, 45, white}}});
  }
  {  // a line, a bulged (arc) segment, a hatch
    Drawing d;
    d.Add(Make(nyhost::Line{{5, 50, 0}, {95, 50, 0}}, 7));
    nyhost::Polyline arc;  // a half circle of radius 20 bulging down from (30,90) to (70,90)
    arc.vertices = {{30, 90, 1.0}, {70, 90}};
    d.Add(Make(arc, 1));
    nyhost::Hatch h;
    h.loops = {{{60, 60, 0}, {80, 60, 0}, {80, 80, 0}, {60, 80, 0}}};
    d.Add(Make(h, 3));
    cases.push_back({"lines, arcs, hatches",
                     std::move(d),
                     {},
                     {{50, 50, QColor(Qt::black)}, {50, 90, white}, {70, 70, green}}});
  }
  {  // OUTER at (50,50), turned 90 degrees, scaled 2: INNER's square (5..10, 0..5) lands at
     // x 40..50, y 60..70, in the reference's colour (by block)
    Drawing d;
    d.SetBlock({"INNER", {0, 0, 0}, {Make(Square(0, 0, 5), 0)}});
    d.SetBlock({"OUTER", {0, 0, 0}, {Make(nyhost::BlockReference{"INNER", {5, 0, 0}}, 0)}});
    d.Add(Make(nyhost::BlockReference{"OUTER", {50, 50, 0}, 90, 2, 2, 1}, 1));
    cases.push_back({"nested blocks", std::move(d), {}, {{45, 65, red}, {62, 52, white}}});
  }
  {  // a block inserting itself three times shows its own content once; an entity kept
     // opaque draws nothing
    Drawing d;
    nyhost::BlockDefinition self{"SELF", {0, 0, 0}, {Make(Square(0, 0, 10), 1)}};
    for (double x : {20, 40, 60})
      self.entities.push_back(Make(nyhost::BlockReference{"SELF", {x, 0, 0}}, 0));
    d.SetBlock(self);
    d.Add(Make(nyhost::BlockReference{"SELF", {10, 10, 0}}, 1));
    d.Add(Make(nyhost::OpaqueEntity{"XLINE", {{10, "0"}, {20, "0"}, {11, "1"}, {21, "1"}}}, 1));
    cases.push_back({"block inserting itself", std::move(d), {},
                     {{15, 15, red}, {35, 15, white}, {50, 50, white}}});
  }
  {  // block content on layer 0 takes the reference's layer: its colour, frozen, off
    Drawing d;
    d.EnsureLayer("照明", 1);
    d.EnsureLayer("冻结", 3).frozen = true;
    d.EnsureLayer("负色", -4);  // a negative colour marks an off layer
    d.SetBlock({"B", {0, 0, 0},
                {Make(Square(0, 0, 10), nyhost::kColorByLayer, "0"), Make(Square(0, 12, 4), 5, "0")}});
    d.Add(Make(nyhost::BlockReference{"B", {10, 10, 0}}, nyhost::kColorByLayer, "照明"));
    d.Add(Make(nyhost::BlockReference{"B", {40, 10, 0}}, nyhost::kColorByLayer, "冻结"));
    d.Add(Make(nyhost::BlockReference{"B", {70, 10, 0}}, nyhost::kColorByLayer, "负色"));
    d.Add(Make(Square(70, 60, 10), nyhost::kColorByLayer, "负色"));
    cases.push_back({"layer 0 in blocks", std::move(d), {},
                     {{15, 15, red}, {12, 24, blue}, {45, 15, white}, {75, 15, white}, {75, 65, white}}});
  }
  // Point styles: + and x of 20 drawing units, a square of 20 % of the view, nothing.
  const std::pair<int, double> styles[] = {{2, 20}, {3, 20}, {1 + 64, -20}, {1, 20}};
  const std::vector<std::tuple<int, int, QColor>> style_want[] = {
      {{58, 50, ink}, {58, 58, white}},
      {{56, 56, ink}, {58, 50, white}},
      {{60, 55, ink}, {50, 50, white}},
      {{50, 50, white}}};
  for (int i = 0; i < 4; ++i) {
    Drawing d;
    d.Add(Make(nyhost::PointEntity{{50, 50, 0}}, 1));
    nyrender::RenderOptions opt;
    opt.pd_mode = styles[i].first;
    opt.pd_size = styles[i].second;
    cases.push_back({"point style", std::move(d), opt, style_want[i]});
  }
  return cases;
}

TEST(Renderer, DrawsColoursFillsBlocksAndPointStyles) {
  for (const auto& c : PixelCases()) {
    QImage img = Render(c.d, UnitView(), c.opt);
    for (const auto& [x, y, want] : c.want) {
      QColor got = At(img, x, y);
      if (!want.isValid()) EXPECT_FALSE(IsWhite(got)) << c.name << " " << x << "," << y;
      else if (want == QColor(Qt::white)) EXPECT_TRUE(IsWhite(got)) << c.name << " " << x << "," << y;
      else EXPECT_EQ(got, want) << c.name << " " << x << "," << y;
    }
  }
  // The arc passes through its lowest point (50, 70), not along its chord.
  QImage arcs = Render(PixelCases()[1].d, UnitView());
  bool red_low = false;
  for (int y = 68; y <= 72; ++y) red_low |= Reddish(At(arcs, 50, y));
  EXPECT_TRUE(red_low);
}

TEST(MTextPlain, StripsFormatting) {
  EXPECT_EQ(nyrender::MTextPlain("{\\fSimSun|b0;照度}\\P100 lx"), "照度\n100 lx");
  EXPECT_EQ(nyrender::MTextPlain("a\\~b\\\\c \\S1^2;"), "a b\\c 1/2");
}

TEST(Export, PngSvgPdfAndBadRequests) {
  QTemporaryDir dir;
  Drawing d;
  d.Add(Make(Square(0, 0, 100), 1));
  nyhost::Text t;
  t.position = {10, 110, 0};
  t.height = 12;
  t.text = "办公室照度";
  d.Add(Make(t, 7));
  std::string base = dir.path().toStdString();
  for (const char* ext : {"png", "svg", "pdf"}) {
    auto r = nyrender::ExportDrawing(d, base + "/p." + ext, 200, 200);
    ASSERT_TRUE(r.ok) << ext << ": " << r.error;
  }
  QImage img(QString::fromStdString(base + "/p.png"));
  ASSERT_EQ(img.size(), QSize(200, 200));
  // The fit puts the red square's centre (50, 50) left of and below the picture's centre.
  EXPECT_EQ(img.pixelColor(90, 120), QColor(255, 0, 0));
  EXPECT_TRUE(IsWhite(img.pixelColor(2, 2)));
  QFile s(QString::fromStdString(base + "/p.svg"));
  ASSERT_TRUE(s.open(QIODevice::ReadOnly));
  QByteArray svg_text = s.readAll();
  EXPECT_TRUE(svg_text.contains("<svg") && svg_text.contains("#ff0000"));

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
  ASSERT_TRUE(nyrender::ExportDrawing(Drawing(), base + "/empty.png", 40, 30).ok);
  QImage empty(QString::fromStdString(base + "/empty.png"));
  EXPECT_EQ(empty.size(), QSize(40, 30));
  EXPECT_TRUE(IsWhite(empty.pixelColor(20, 15)));

  EXPECT_GT(QFile(QString::fromStdString(base + "/p.pdf")).size(), 500);
  if (QStandardPaths::findExecutable("pdftotext").isEmpty()) GTEST_SKIP() << "pdftotext absent";
  QProcess p;
  p.start("pdftotext", {QString::fromStdString(base + "/p.pdf"), "-"});
  ASSERT_TRUE(p.waitForFinished(20000));
  EXPECT_TRUE(QString::fromUtf8(p.readAllStandardOutput()).contains(QStringLiteral("办公室照度")));
}

// Zooming and panning are checked through the canvas, which zooms and pans with them.
TEST(ViewTransform, MapsBothWaysAndFits) {
  struct Case {
    double cx, cy, scale;
    int w, h;
  } views[] = {{50, 50, 1, 100, 100}, {-1200.5, 3300, 0.07, 1378, 690}, {0, 0, 250, 640, 480}};
  for (const auto& c : views) {
    ViewTransform v;
    v.center_x = c.cx, v.center_y = c.cy, v.scale = c.scale, v.width = c.w, v.height = c.h;
    // The centre is in the middle, y grows upwards, and both mappings agree.
    QPointF mid = v.ToDevice(c.cx, c.cy);
    EXPECT_EQ(mid, QPointF(c.w / 2.0, c.h / 2.0));
    EXPECT_LT(v.ToDevice(c.cx, c.cy + 1).y(), mid.y());
    for (QPointF d : {QPointF(0, 0), QPointF(c.w, c.h), QPointF(13.25, 7.5)}) {
      nyhost::Point3 w = v.ToWorld(d);
      for (QPointF back : {v.ToDevice(w.x, w.y), v.ToQTransform().map(QPointF(w.x, w.y))})
        EXPECT_NEAR(QLineF(back, d).length(), 0, 1e-7);
    }
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

// A luminaire symbol (green) with its keyed text as an attribute.
Drawing WithAttribute(double rotation_deg, const char* ref_layer, int ref_color) {
  Drawing d;
  d.EnsureLayer("照明", 1);
  d.EnsureLayer("关闭", 5).off = true;
  d.SetBlock({"灯", {0, 0, 0}, {Make(Square(-5, -5, 10), 3)}});
  nyhost::BlockReference ref{"灯", {30, 30, 0}, rotation_deg};
  nyhost::Attribute a;
  a.tag = "名称";
  a.text = "格栅灯";
  a.position = {50, 20, 0};
  a.height = 10;
  ref.attributes.push_back(a);
  d.Add(Make(ref, ref_color, ref_layer));
  return d;
}

Drawing OneText(nyhost::Point3 at, double height, double rotation_deg, bool middle, int color) {
  Drawing d;
  nyhost::Text t;
  t.position = at;
  t.height = height;
  t.rotation = rotation_deg;
  t.text = "照度计算";
  t.middle = middle;
  d.Add(Make(t, color));
  return d;
}

// Where a text's ink must lie: within a box, at least so wide and high, centred on a point (a
// negative centre is not checked); a box with x0 > x1 wants no ink at all.
struct TextCase {
  std::string name;
  Drawing d;
  bool (*ink)(QColor);
  double x0, x1, y0, y1, min_w, min_h, cx = -1, cy = -1;
};

TEST(Renderer, TextsAndAttributesLandAroundTheirPoints) {
  std::vector<TextCase> cases;
  cases.push_back({"middle-aligned Chinese text", OneText({50, 50, 0}, 10, 0, true, 5), Bluish, 0, 100,
                   40, 60, 30, 6, 50});
  cases.push_back({"turned 90", OneText({20, 10, 0}, 10, 90, false, 1), Reddish, 8, 21, 0, 100, 6, 15});
  cases.push_back({"tiny: not drawn", OneText({80, 80, 0}, 0.5, 0, false, 5), Bluish, 1, 0, 0, 0, 0, 0});
  cases.push_back({"attribute along x", WithAttribute(0, "照明", nyhost::kColorByLayer), Reddish, 49, 85,
                   18, 32, 20, 6});
  cases.push_back({"attribute turned 90", WithAttribute(90, "照明", nyhost::kColorByLayer), Reddish, 37,
                   51, 19, 85, 6, 20});
  cases.push_back({"attribute's own colour", WithAttribute(0, "照明", 5), Bluish, 49, 85, 18, 32, 20, 6});
  cases.push_back({"attribute, layer off", WithAttribute(0, "关闭", nyhost::kColorByLayer),
                   [](QColor c) { return !IsWhite(c); }, 1, 0, 0, 0, 0, 0});
  {  // OUTER at (20, 60), scaled 3: INNER's attribute at (4, 0) lands at (32, 60), 12 units high
    Drawing d;
    d.SetBlock({"INNER", {0, 0, 0}, {Make(Square(0, 0, 2), 3)}});
    nyhost::BlockReference in_ref{"INNER", {0, 0, 0}};
    nyhost::Attribute a;
    a.text = "A1";
    a.position = {4, 0, 0};  // in OUTER's own coordinates
    a.height = 4;
    in_ref.attributes.push_back(a);
    d.SetBlock({"OUTER", {0, 0, 0}, {Make(in_ref, 1)}});
    d.Add(Make(nyhost::BlockReference{"OUTER", {20, 60, 0}, 0, 3, 3, 1}, 1));
    cases.push_back({"nested attribute", std::move(d), Reddish, 31, 100, 58, 74, 9, 8});
  }
  // Multiline text: left-attached runs right of the point, right-attached left of it; top-attached
  // hangs below it, bottom-attached stands on it; centred, the ink's middle is the point.
  for (int attachment = 1; attachment <= 9; ++attachment) {
    Drawing d;
    nyhost::MText mt;
    mt.position = {50, 50, 0};
    mt.height = 8;
    mt.attachment = attachment;
    mt.text = "照度\\P计算";
    d.Add(Make(mt, 5));
    int col = (attachment - 1) % 3, row = (attachment - 1) / 3;
    const double left[] = {49, 0, 0}, right[] = {100, 100, 51}, low[] = {0, 0, 49}, high[] = {51, 100, 100};
    cases.push_back({"attachment " + std::to_string(attachment), std::move(d), Bluish, left[col],
                     right[col], low[row], high[row], 0, 12, col == 1 ? 50.0 : -1, row == 1 ? 50.0 : -1});
  }
  for (const auto& c : cases) {
    Ink k = InkOf(Render(c.d, UnitView()), c.ink);
    if (c.x0 > c.x1) {
      EXPECT_EQ(k.count, 0) << c.name;
      continue;
    }
    ASSERT_GT(k.count, 20) << c.name;
    EXPECT_GE(k.min_x, c.x0) << c.name;
    EXPECT_LE(k.max_x, c.x1) << c.name;
    EXPECT_GE(k.min_y, c.y0) << c.name;
    EXPECT_LE(k.max_y, c.y1) << c.name;
    EXPECT_GE(k.max_x - k.min_x, c.min_w) << c.name;
    EXPECT_GT(k.max_y - k.min_y, c.min_h) << c.name;
    EXPECT_NEAR(c.cx >= 0 ? k.cx() : -1, c.cx, 3) << c.name;
    EXPECT_NEAR(c.cy >= 0 ? k.cy() : -1, c.cy, 3) << c.name;
  }
}

TEST(Renderer, TemporaryVectorsAndHighlightedEntities) {
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
  EXPECT_GT(red, 95);  // solid
  EXPECT_GT(blue, 30);  // dashed: ink with gaps
  EXPECT_LT(blue, 90);
  EXPECT_GT(dark, 30);  // the highlighted line is dashed too
  EXPECT_LT(dark, 95);
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
  QTemporaryDir dir;
  const QString picture = dir.filePath("p.bmp");
  QImage wide(20, 10, QImage::Format_RGB32);
  wide.fill(QColor(255, 0, 255));
  ASSERT_TRUE(wide.save(picture, "BMP"));
  QImage img(100, 60, QImage::Format_RGB32);
  img.fill(Qt::white);
  {
    QPainter qp(&img);
    nyrender::QtPainter qt(qp, 100, 60);
    nyhost::Painter& p = qt;  // as the dialogs call it, with its default arguments
    p.Rect(10, 10, 20, 20, nyhost::kNoColor, 0x00FF00);  // filled, no outline
    p.Rect(40, 10, 20, 20, 0x0000FF);                     // outline only
    p.Line(0, 50, 100, 50, 0xFF0000, 3);
    p.Text(70, 5, "照度", 0x0000FF, 14);                 // top-left corner at (70, 5)
    p.Image(2, 32, 20, 16, picture.toStdString());       // 20 x 10 centred: rows 35 to 44
    p.Image(30, 32, 20, 16, dir.filePath("none.bmp").toStdString());
  }
  EXPECT_EQ(img.pixelColor(12, 40), QColor(255, 0, 255));
  EXPECT_TRUE(IsWhite(img.pixelColor(12, 33)));
  EXPECT_TRUE(IsWhite(img.pixelColor(12, 46)));
  EXPECT_TRUE(IsWhite(img.pixelColor(40, 40)));
  EXPECT_EQ(img.pixelColor(10, 10), QColor(0, 255, 0));
  EXPECT_TRUE(Bluish(img.pixelColor(40, 20)));
  EXPECT_TRUE(IsWhite(img.pixelColor(50, 20)));
  EXPECT_EQ(img.pixelColor(50, 51), QColor(255, 0, 0));  // 3 wide
  int text = 0, above = 0;
  for (int y = 0; y < 45; ++y)
    for (int x = 65; x < 100; ++x)
      if (img.pixelColor(x, y).blue() > 150 && img.pixelColor(x, y).red() < 200) (y < 5 ? above : text)++;
  EXPECT_GT(text, 15);
  EXPECT_EQ(above, 0);
}

TEST(ShippedPictures, EveryCatalogueLuminaireHasItsCurveAsBmp) {
  nyrender::EnsureGuiApplication();
  const std::string data = std::string(NYLUXORA_TEST_SHARE_DIR) + "/data/";
  NyAccess db;
  ASSERT_TRUE(db.InitADOServer(data + "NyData.mdb"));
  std::vector<std::string> bitmaps;
  ASSERT_GT(db.GetSelData(bitmaps, "SELECT [位图] FROM [灯具型号]"), 0);
  for (const auto& bitmap : bitmaps) {
    const QString file = QString::fromStdString(data + "照度曲线/" + bitmap);
    QImageReader reader(file);
    EXPECT_EQ(reader.format(), "bmp") << bitmap;
    const QImage img = reader.read();
    ASSERT_FALSE(img.isNull()) << bitmap;
    // Both planes' curves are drawn: reddish (A-A) and bluish (B-B) pixels.
    int red = 0, blue = 0;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        const QColor c = img.pixelColor(x, y);
        red += c.red() > 150 && c.green() < 100 && c.blue() < 100;
        blue += Bluish(c) && c.red() < 100;
      }
    EXPECT_GT(red, 50) << bitmap;
    EXPECT_GT(blue, 50) << bitmap;
  }
}

// What a poppler tool prints; empty when it fails.
QString Poppler(const QString& tool, const QStringList& args) {
  QProcess p;
  p.start(tool, args);
  if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
  return QString::fromUtf8(p.readAllStandardOutput());
}

TEST(ReportPdf, TablesBreakUnderTheirHeaderAndPlansKeepTheirScale) {
  for (const char* tool : {"pdftotext", "pdffonts", "pdftoppm"})
    if (QStandardPaths::findExecutable(tool).isEmpty()) GTEST_SKIP() << tool << " absent";
  nyrender::EnsureGuiApplication();
  QTemporaryDir dir;
  const std::string base = dir.path().toStdString();
  Drawing d;
  d.Add(Make(Square(0, 0, 4000), 5));
  const auto hidden = d.Add(Make(Square(1000, 1000, 500), 1));
  nyhost::ReportDocument doc{"测试计算书", {}};
  nyhost::Extents window;
  window.Add({-500, -500, 0});
  window.Add({4500, 4500, 0});
  doc.blocks.push_back(nyhost::ReportFigure{
      nyhost::PlanFigure{window, 100, {{{2000, 2000, 0}, "P1"}}, {hidden}}, "平面"});
  nyhost::ReportTable table{{"序号", "名称", "P1点照度 (lx)"}, {}};
  for (int i = 1; i <= 80; ++i)
    table.rows.push_back({std::to_string(i), "灯具" + std::to_string(i), "12.5"});
  doc.blocks.push_back(table);
  nyhost::SketchFigure sketch;
  sketch.items = {nyhost::SketchRect{{0, 0, 0}, {10, 5, 0}},
                  nyhost::SketchText{{5, -0.5, 0}, "房间长 10 m", 0.4}};
  doc.blocks.push_back(nyhost::ReportFigure{sketch, "草图"});
  doc.blocks.push_back(nyhost::ReportParagraph{"结束语。"});
  const QString pdf = QString::fromStdString(base + "/r.pdf");
  std::string error;
  nyrender::PdfReportWriter writer;
  ASSERT_TRUE(writer.WritePdf(doc, &d, pdf.toStdString(), error)) << error;

  const QString page1 = Poppler("pdftotext", {"-f", "1", "-l", "1", pdf, "-"});
  for (const char* part : {"测试计算书", "平面 比例 1:100", "P1", "灯具1"})
    EXPECT_TRUE(page1.contains(QString::fromUtf8(part))) << part;
  // The table goes on under its header; the sketch and the paragraph follow it.
  const QString page2 = Poppler("pdftotext", {"-f", "2", "-l", "2", pdf, "-"});
  EXPECT_TRUE(page2.contains(QStringLiteral("序号")) && page2.contains(QStringLiteral("灯具50")));
  const QString all = Poppler("pdftotext", {pdf, "-"});
  for (const char* part : {"房间长 10 m", "草图", "结束语。"})
    EXPECT_TRUE(all.contains(QString::fromUtf8(part))) << part;
  bool cjk_embedded = false;
  for (const QString& line : Poppler("pdffonts", {pdf}).split('\n')) {
    const QStringList f = line.split(' ', Qt::SkipEmptyParts);
    cjk_embedded |= line.contains("WenQuanYi") && f.size() > 3 && f[f.size() - 3] == "yes";
  }
  EXPECT_TRUE(cjk_embedded) << Poppler("pdffonts", {pdf}).toStdString();

  // 4000 units at 1:100 are 40 mm on paper; the ring and its label sit on the square's middle;
  // the hidden entity is not drawn.
  const QString png = QString::fromStdString(base + "/p1");
  Poppler("pdftoppm", {"-r", "50", "-f", "1", "-l", "1", "-png", "-singlefile", pdf, png});
  const QImage page(png + ".png");
  ASSERT_FALSE(page.isNull());
  const Ink blue = InkOf(page, Bluish), red = InkOf(page, Reddish);
  ASSERT_GT(blue.count, 0);
  ASSERT_GT(red.count, 0);
  EXPECT_NEAR(blue.max_x - blue.min_x, 40 / 25.4 * 50, 2);
  EXPECT_NEAR(red.cx(), blue.cx(), 2);

  // A scale the page cannot hold falls back to one it can, and says so in the document's
  // language; a plan figure without a drawing or an unwritable folder writes nothing.
  std::get<nyhost::PlanFigure>(std::get<nyhost::ReportFigure>(doc.blocks[0]).picture).scale = 10;
  doc.english = true;
  ASSERT_TRUE(writer.WritePdf(doc, &d, pdf.toStdString(), error)) << error;
  EXPECT_TRUE(Poppler("pdftotext", {pdf, "-"}).contains("Scale 1:30 (1:10 exceeds the page)"));
  const std::pair<const Drawing*, std::string> failures[] = {{nullptr, base + "/none.pdf"},
                                                             {&d, base + "/no/such/x.pdf"}};
  for (const auto& [drawing, path] : failures) {
    error.clear();
    EXPECT_FALSE(writer.WritePdf(doc, drawing, path, error)) << path;
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path)));
  }
  const std::pair<double, double> scales[] = {
      {26.3, 30}, {100, 100}, {101, 150}, {0.7, 0.8}, {9.5, 10}};
  for (const auto& [n, rounded] : scales) EXPECT_DOUBLE_EQ(nyrender::RoundScaleUp(n), rounded) << n;
}

TEST(RenderCommand, DrawsTheExamplePlanAtTheAskedSize) {
  nyrender::EnsureGuiApplication();
  nytest::TempDir home;
  const QString program = QStringLiteral(NYLUXORA_TEST_BUILD_DIR "/bin/nyluxora");
  const QString plan = QStringLiteral(NYLUXORA_TEST_EXAMPLES_DIR "/office.dxf");
  const QString out = QString::fromStdString((home.path() / "office.png").string());
  auto run = [&](const QStringList& args) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("NYLUXORA_SHARE", NYLUXORA_TEST_SHARE_DIR);
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(program, QStringList{"--data-dir", QString::fromStdString(home.str()), "render"} + args);
    if (!p.waitForFinished(60000)) return -1;
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
  // --width alone keeps the plan's proportions.
  ASSERT_EQ(run({plan, "--out", out, "--width", "800"}), 0);
  nyhost::DxfResult read;
  const nyhost::Extents box = nyhost::DrawingExtents(*nyhost::ReadDxf(plan.toStdString(), read));
  const double high = 800 * (box.max.y - box.min.y) / (box.max.x - box.min.x);
  EXPECT_EQ(QImage(out).size(), QSize(800, static_cast<int>(std::lround(high))));
}

}  // namespace
