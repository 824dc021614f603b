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

QImage Render(const Drawing& d, const ViewTransform& v, nyrender::RenderOptions opt = {}) {
  nyrender::EnsureGuiApplication();
  QImage img(v.width, v.height, QImage::Format_RGB32);
  QPainter p(&img);
  nyrender::DrawingRenderer().Draw(p, d, v, opt);
  p.end();
  return img;
}

// World (x, y) in the unit view is pixel (x, 100 - y).
QColor At(const QImage& img, int wx, int wy) { return img.pixelColor(wx, 100 - wy); }

bool IsWhite(QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() > 240; }

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

}  // namespace
