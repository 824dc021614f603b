// The host's Painter (dialog previews) over a QPainter.
#pragma once

#include <QPainter>

#include "host/dialog.h"

namespace nyrender {

QColor RgbColor(std::uint32_t rgb);

class QtPainter : public nyhost::Painter {
 public:
  QtPainter(QPainter& p, double width, double height) : p_(p), width_(width), height_(height) {}
  double Width() const override { return width_; }
  double Height() const override { return height_; }
  void Line(double x1, double y1, double x2, double y2, std::uint32_t color,
            double width) override;
  void Rect(double x, double y, double w, double h, std::uint32_t line,
            std::uint32_t fill) override;
  void Text(double x, double y, const std::string& text, std::uint32_t color,
            double height) override;
  void Image(double x, double y, double w, double h, const std::string& path) override;

 private:
  QPainter& p_;
  double width_, height_;
};

}  // namespace nyrender
