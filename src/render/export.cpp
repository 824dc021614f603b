#include "render/export.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>
#include <cstdlib>

#include "host/entity_geometry.h"

namespace nyrender {

void EnsureGuiApplication() {
  if (QCoreApplication::instance()) return;
  if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") &&
      !std::getenv("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "nyluxora";
  static char* argv[] = {name, nullptr};
  new QGuiApplication(argc, argv);  // lives for the rest of the process
}

ViewTransform FitView(const nyhost::Drawing& d, int width, int height) {
  ViewTransform v;
  v.width = width;
  v.height = height;
  v.Fit(nyhost::DrawingExtents(d));
  return v;
}

ExportResult ExportDrawing(const nyhost::Drawing& d, const std::string& path, int width,
                           int height, const RenderOptions& options) {
  EnsureGuiApplication();
  ExportResult r;
  if (width <= 0 || height <= 0) {
    r.error = "the picture size must be positive";
    return r;
  }
  QString file = QString::fromStdString(path);
  QString ext = QFileInfo(file).suffix().toLower();
  ViewTransform view = FitView(d, width, height);
  DrawingRenderer renderer;
  if (ext == "png" || ext == "jpg" || ext == "bmp") {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(options.background);
    {
      QPainter p(&image);
      p.setRenderHint(QPainter::Antialiasing);
      p.setRenderHint(QPainter::TextAntialiasing);
      renderer.Draw(p, d, view, options);
    }
    if (!image.save(file)) {
      r.error = "cannot write " + path;
      return r;
    }
  } else if (ext == "svg") {
    QSvgGenerator svg;
    svg.setFileName(file);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setTitle(QStringLiteral("NYLuxora"));
    QPainter p;
    if (!p.begin(&svg)) {
      r.error = "cannot write " + path;
      return r;
    }
    renderer.Draw(p, d, view, options);
    p.end();
  } else if (ext == "pdf") {
    // One page of the picture's proportions; 96 pixels per inch.
    QPdfWriter pdf(file);
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(QSizeF(width * 72.0 / 96, height * 72.0 / 96), QPageSize::Point,
                              QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setTitle(QStringLiteral("NYLuxora"));
    QPainter p;
    if (!p.begin(&pdf)) {
      r.error = "cannot write " + path;
      return r;
    }
    // Painter units are device pixels at the writer's resolution: scale the view onto them.
    double sx = pdf.width() / static_cast<double>(width);
    double sy = pdf.height() / static_cast<double>(height);
    p.scale(sx, sy);
    renderer.Draw(p, d, view, options);
    p.end();
  } else {
    r.error = "unknown picture type '" + ext.toStdString() + "' (use .png, .svg or .pdf)";
    return r;
  }
  r.ok = true;
  return r;
}

ExportResult ExportDrawingPage(const nyhost::Drawing& d, const std::string& path,
                               const PageSetup& page, const RenderOptions& options) {
  EnsureGuiApplication();
  ExportResult r;
  const nyhost::Extents box = nyhost::DrawingExtents(d);
  const double w = box.Empty() ? 0 : box.max.x - box.min.x;
  const double h = box.Empty() ? 0 : box.max.y - box.min.y;
  QPdfWriter pdf(QString::fromStdString(path));
  constexpr int kDpi = 600;
  pdf.setResolution(kDpi);
  pdf.setPageSize(QPageSize(page.paper == "A3" ? QPageSize::A3 : QPageSize::A4));
  pdf.setPageOrientation(w > h ? QPageLayout::Landscape : QPageLayout::Portrait);
  pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
  pdf.setTitle(QStringLiteral("NYLuxora"));
  ViewTransform view;
  view.width = pdf.width();
  view.height = pdf.height();
  if (page.scale > 0) {
    // Paper millimetres per drawing unit, in device pixels.
    view.scale = d.arch_scale() / page.scale * kDpi / 25.4;
    view.center_x = box.Empty() ? 0 : (box.min.x + box.max.x) / 2;
    view.center_y = box.Empty() ? 0 : (box.min.y + box.max.y) / 2;
    if (w * view.scale > view.width || h * view.scale > view.height) {
      const double mm = d.arch_scale() / page.scale;
      r.error = QStringLiteral("the plan needs %1 x %2 mm at 1:%3, more than %4 holds")
                    .arg(std::ceil(w * mm))
                    .arg(std::ceil(h * mm))
                    .arg(page.scale)
                    .arg(QString::fromStdString(page.paper))
                    .toStdString();
      return r;
    }
  } else {
    view.Fit(box);
  }
  QPainter p;
  if (!p.begin(&pdf)) {
    r.error = "cannot write " + path;
    return r;
  }
  DrawingRenderer().Draw(p, d, view, options);
  p.end();
  r.ok = true;
  return r;
}

}  // namespace nyrender
