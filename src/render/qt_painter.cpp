#include "render/qt_painter.h"

#include <QImage>

#include "render/drawing_renderer.h"

namespace nyrender {

QColor RgbColor(std::uint32_t rgb) {
  return QColor::fromRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

void QtPainter::Line(double x1, double y1, double x2, double y2, std::uint32_t color,
                     double width) {
  p_.setPen(QPen(RgbColor(color), width));
  p_.drawLine(QLineF(x1, y1, x2, y2));
}

void QtPainter::Rect(double x, double y, double w, double h, std::uint32_t line,
                     std::uint32_t fill) {
  p_.setPen(line == nyhost::kNoColor ? QPen(Qt::NoPen) : QPen(RgbColor(line)));
  p_.setBrush(fill == nyhost::kNoColor ? QBrush(Qt::NoBrush) : QBrush(RgbColor(fill)));
  p_.drawRect(QRectF(x, y, w, h));
  p_.setBrush(Qt::NoBrush);
}

void QtPainter::Text(double x, double y, const std::string& text, std::uint32_t color,
                     double height) {
  QFont f = DrawingFont();
  f.setPixelSize(std::max(1, static_cast<int>(height + 0.5)));
  p_.setFont(f);
  p_.setPen(RgbColor(color));
  // (x, y) is the top-left corner of the text, as GDI places it.
  p_.drawText(QRectF(x, y, 1e5, height * 2), Qt::AlignLeft | Qt::AlignTop,
              QString::fromStdString(text));
}

void QtPainter::Image(double x, double y, double w, double h, const std::string& path) {
  QImage image(QString::fromStdString(path));
  if (image.isNull() || w <= 0 || h <= 0) return;
  QSizeF fit = QSizeF(image.size()).scaled(w, h, Qt::KeepAspectRatio);
  QRectF target(x + (w - fit.width()) / 2, y + (h - fit.height()) / 2, fit.width(), fit.height());
  p_.save();
  p_.setRenderHint(QPainter::SmoothPixmapTransform);
  p_.drawImage(target, image);
  p_.restore();
}

}  // namespace nyrender
