#include "render/report_pdf.h"

#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "host/file_io.h"
#include "host/host.h"
#include "render/drawing_renderer.h"
#include "render/export.h"

namespace nyrender {
namespace {

constexpr int kDpi = 600;
constexpr double kDotsPerMm = kDpi / 25.4;
constexpr double Mm(double mm) { return mm * kDotsPerMm; }
constexpr int kWrap = Qt::AlignCenter | Qt::TextWordWrap;
const QColor kHeaderFill(0xDD, 0xEB, 0xF7);
const QColor kMarkerColor(0xC0, 0x00, 0x00);

QString Q(const std::string& s) { return QString::fromStdString(s); }

// One sans family for Chinese and Latin alike, so that the text is one embedded font and reads
// back as written (the drawing's serif choice would mix in a Latin fallback).
QFont TextFont(double points, bool bold = false) {
  QFont f;
  f.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                 QStringLiteral("Source Han Sans SC"), QStringLiteral("DejaVu Sans")});
  f.setStyleStrategy(QFont::PreferOutline);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

// Puts blocks one below the other, starting a page when the next one does not fit.
class Layout {
 public:
  Layout(QPdfWriter& pdf, QPainter& p, const nyhost::Drawing* drawing, bool english)
      : pdf_(pdf), p_(p), drawing_(drawing), english_(english) {
    // The lowest 6 mm of the text area hold the page number.
    page_ = QRectF(0, 0, pdf.width(), pdf.height() - Mm(6));
    p_.setPen(QPen(Qt::black, Mm(0.2)));
  }
  void Finish() { PageNumber(); }
  const std::string& error() const { return error_; }

  void Title(const std::string& text) {
    if (text.empty()) return;
    Text(text, TextFont(16, true), Qt::AlignHCenter | Qt::TextWordWrap);
    y_ += Mm(3);
  }

  void operator()(const nyhost::ReportParagraph& para) {
    Text(para.text, TextFont(10), Qt::AlignLeft | Qt::TextWordWrap);
    y_ += Mm(2);
  }

  void operator()(const nyhost::ReportTable& table) {
    std::size_t cols = table.header.size();
    for (const auto& row : table.rows) cols = std::max(cols, row.size());
    if (cols == 0) return;
    const QFont body = TextFont(8), bold = TextFont(8, true);
    ColumnWidths(table, cols, bold);
    const double header_h = table.header.empty() ? 0 : RowHeight(table.header, bold);
    Need(header_h + (table.rows.empty() ? 0 : RowHeight(table.rows[0], body)));
    if (header_h > 0) DrawRow(table.header, bold, header_h, true);
    for (const auto& row : table.rows) {
      const double h = RowHeight(row, body);
      if (y_ + h > page_.bottom()) {
        NewPage();
        if (header_h > 0) DrawRow(table.header, bold, header_h, true);
      }
      DrawRow(row, body, h, false);
    }
    y_ += Mm(3);
  }

  void operator()(const nyhost::ReportFigure& figure) {
    std::visit([&](const auto& picture) { Picture(picture, figure.caption); }, figure.picture);
  }

 private:
  void NewPage() {
    PageNumber();
    pdf_.newPage();
    ++page_no_;
    y_ = 0;
  }
  void PageNumber() {
    p_.setFont(TextFont(8));
    p_.drawText(QRectF(0, page_.bottom(), page_.width(), Mm(6)), Qt::AlignCenter,
                QStringLiteral("- %1 -").arg(page_no_));
  }
  // Starts a page unless `height` fits below; a block taller than a page starts at the top.
  void Need(double height) {
    if (y_ > 0 && y_ + height > page_.bottom()) NewPage();
  }
  double WrappedHeight(const QString& text, double width, const QFont& font, int flags) {
    p_.setFont(font);
    return p_.boundingRect(QRectF(0, 0, width, 1e7), flags, text).height();
  }
  void Text(const std::string& text, const QFont& font, int flags) {
    const double h = WrappedHeight(Q(text), page_.width(), font, flags);
    Need(h);
    p_.setFont(font);
    p_.drawText(QRectF(0, y_, page_.width(), h), flags, Q(text));
    y_ += h;
  }

  // Each column gets its widest text when the page allows; otherwise the columns that fit in an
  // even share keep their width and the rest share what is left, wrapping their texts. Spare
  // width is spread in proportion.
  void ColumnWidths(const nyhost::ReportTable& table, std::size_t cols, const QFont& font) {
    const QFontMetricsF fm(font, &pdf_);
    std::vector<double> natural(cols, 0);
    auto measure = [&](const std::vector<std::string>& row) {
      for (std::size_t i = 0; i < row.size(); ++i)
        for (const QString& line : Q(row[i]).split('\n'))
          natural[i] = std::max(natural[i], fm.horizontalAdvance(line) + 2 * kPad + Mm(0.5));
    };
    measure(table.header);
    for (const auto& row : table.rows) measure(row);
    widths_.assign(cols, 0);
    double left = page_.width();
    std::size_t open = cols;
    for (bool changed = true; changed && open > 0;) {
      changed = false;
      const double share = left / open;
      for (std::size_t i = 0; i < cols; ++i)
        if (widths_[i] == 0 && natural[i] <= share) {
          widths_[i] = std::max(natural[i], Mm(4));
          left -= widths_[i];
          --open;
          changed = true;
        }
    }
    double used = 0;
    for (double& w : widths_) used += (w = w == 0 ? left / open : w);
    for (double& w : widths_) w *= page_.width() / used;
  }
  double RowHeight(const std::vector<std::string>& row, const QFont& font) {
    double h = 0;
    for (std::size_t i = 0; i < row.size(); ++i)
      h = std::max(h, WrappedHeight(Q(row[i]), widths_[i] - 2 * kPad, font, kWrap));
    return h + 2 * kPad;
  }
  void DrawRow(const std::vector<std::string>& row, const QFont& font, double h, bool header) {
    p_.setFont(font);
    double x = 0;
    for (std::size_t i = 0; i < widths_.size(); ++i) {
      const QRectF cell(x, y_, widths_[i], h);
      if (header) p_.fillRect(cell, kHeaderFill);
      p_.drawRect(cell);
      if (i < row.size()) p_.drawText(cell.adjusted(kPad, kPad, -kPad, -kPad), kWrap, Q(row[i]));
      x += widths_[i];
    }
    y_ += h;
  }

  void Caption(const QString& text) {
    y_ += Mm(1.5);
    Text(text.toStdString(), TextFont(9), Qt::AlignHCenter | Qt::TextWordWrap);
    y_ += Mm(3);
  }
  double CaptionHeight() { return Mm(12); }

  void Picture(const nyhost::PlanFigure& f, const std::string& caption) {
    const double wu = f.window.max.x - f.window.min.x, hu = f.window.max.y - f.window.min.y;
    if (!drawing_ || f.window.Empty() || !(wu > 0 && hu > 0)) {
      error_ = "a plan figure needs a drawing and a window of positive size";
      return;
    }
    const double arch = drawing_->arch_scale() > 0 ? drawing_->arch_scale() : 1;
    const double max_w = page_.width(), max_h = page_.height() * 0.75 - CaptionHeight();
    double n = f.scale > 0 ? f.scale : 100;
    QString note = (english_ ? QStringLiteral("Scale 1:%1") : QStringLiteral("比例 1:%1")).arg(n);
    if (Mm(wu * arch / n) > max_w || Mm(hu * arch / n) > max_h) {
      const double fit = RoundScaleUp(std::max(Mm(wu * arch) / max_w, Mm(hu * arch) / max_h));
      note = (english_ ? QStringLiteral("Scale 1:%1 (1:%2 exceeds the page)")
                       : QStringLiteral("比例 1:%1（1:%2 超出版面）"))
                 .arg(fit)
                 .arg(n);
      n = fit;
    }
    ViewTransform v;
    v.scale = kDotsPerMm * arch / n;
    v.width = static_cast<int>(std::ceil(wu * v.scale));
    v.height = static_cast<int>(std::ceil(hu * v.scale));
    v.center_x = (f.window.min.x + f.window.max.x) / 2;
    v.center_y = (f.window.min.y + f.window.max.y) / 2;
    Need(v.height + CaptionHeight());
    const QRectF box((page_.width() - v.width) / 2, y_, v.width, v.height);

    RenderOptions ro;
    ro.line_width = Mm(0.18);
    ro.pd_mode = nyhost::Host::Get().GetVarInt("PDMODE");
    ro.pd_size = nyhost::Host::Get().GetVarReal("PDSIZE");
    ro.hidden.insert(f.hidden.begin(), f.hidden.end());
    p_.save();
    p_.translate(box.topLeft());
    p_.setClipRect(QRectF(0, 0, v.width, v.height));
    DrawingRenderer().Draw(p_, *drawing_, v, ro);
    p_.setFont(TextFont(9, true));
    for (const auto& m : f.markers) {
      const QPointF c = v.ToDevice(m.position.x, m.position.y);
      QPainterPath ring;
      ring.setFillRule(Qt::OddEvenFill);
      ring.addEllipse(c, Mm(1.3), Mm(1.3));
      ring.addEllipse(c, Mm(0.6), Mm(0.6));
      p_.fillPath(ring, kMarkerColor);
      // A pale ground keeps the label legible over the plan's lines.
      const QRectF at(c.x() - Mm(10), c.y() - Mm(6.5), Mm(20), Mm(5));
      const int flags = Qt::AlignHCenter | Qt::AlignBottom;
      const QRectF text = p_.boundingRect(at, flags, Q(m.label));
      p_.fillRect(text.adjusted(-Mm(0.4), 0, Mm(0.4), 0), QColor(255, 255, 255, 210));
      p_.setPen(kMarkerColor);
      p_.drawText(at, flags, Q(m.label));
    }
    p_.restore();
    p_.drawRect(box);
    y_ += v.height;
    Caption(caption.empty() ? note : Q(caption) + QStringLiteral("  ") + note);
  }

  void Picture(const nyhost::SketchFigure& s, const std::string& caption) {
    nyhost::Extents b;
    for (const auto& item : s.items)
      std::visit(
          [&](const auto& it) {
            using T = std::decay_t<decltype(it)>;
            if constexpr (std::is_same_v<T, nyhost::SketchLine>) {
              b.Add(it.from);
              b.Add(it.to);
            } else if constexpr (std::is_same_v<T, nyhost::SketchRect>) {
              b.Add(it.min);
              b.Add(it.max);
            } else if constexpr (std::is_same_v<T, nyhost::SketchCircle>) {
              b.Add(it.centre + nyhost::Point3{it.radius, it.radius, 0});
              b.Add(it.centre - nyhost::Point3{it.radius, it.radius, 0});
            } else {  // the text's own height around its centre; its width is unknown here
              b.Add(it.position + nyhost::Point3{0, it.height, 0});
              b.Add(it.position - nyhost::Point3{0, it.height, 0});
            }
          },
          item);
    const double bw = b.Empty() ? 0 : b.max.x - b.min.x, bh = b.Empty() ? 0 : b.max.y - b.min.y;
    if (!(bw > 0 || bh > 0)) return;
    const double width = s.width_mm > 0 ? std::min(Mm(s.width_mm), page_.width()) : page_.width();
    const double max_h = page_.height() * 0.6;
    double k = bw > 0 ? width / bw : max_h / bh;
    if (bh * k > max_h) k = max_h / bh;
    Need(bh * k + CaptionHeight());
    const QRectF box((page_.width() - bw * k) / 2, y_, bw * k, bh * k);
    auto at = [&](const nyhost::Point3& q) {
      return QPointF(box.left() + (q.x - b.min.x) * k, box.top() + (b.max.y - q.y) * k);
    };
    p_.save();
    p_.setPen(QPen(Qt::black, Mm(0.25)));
    for (const auto& item : s.items)
      std::visit(
          [&](const auto& it) {
            using T = std::decay_t<decltype(it)>;
            if constexpr (std::is_same_v<T, nyhost::SketchLine>) {
              p_.drawLine(at(it.from), at(it.to));
            } else if constexpr (std::is_same_v<T, nyhost::SketchRect>) {
              p_.setBrush(Qt::NoBrush);
              p_.drawRect(QRectF(at(it.min), at(it.max)).normalized());
            } else if constexpr (std::is_same_v<T, nyhost::SketchCircle>) {
              p_.setBrush(it.filled ? QBrush(Qt::black) : QBrush(Qt::NoBrush));
              p_.drawEllipse(at(it.centre), it.radius * k, it.radius * k);
            } else {
              QFont font = TextFont(9);
              font.setPixelSize(std::max(1, static_cast<int>(std::lround(it.height * k))));
              p_.setFont(font);
              const QPointF c = at(it.position);
              p_.drawText(QRectF(c.x() - page_.width(), c.y() - it.height * k, 2 * page_.width(),
                                 2 * it.height * k),
                          Qt::AlignCenter, Q(it.text));
            }
          },
          item);
    p_.restore();
    y_ += box.height();
    if (!caption.empty()) Caption(Q(caption));
  }

  static constexpr double kPad = Mm(1);
  QPdfWriter& pdf_;
  QPainter& p_;
  const nyhost::Drawing* drawing_;
  bool english_;
  QRectF page_;
  std::vector<double> widths_;
  double y_ = 0;
  int page_no_ = 1;
  std::string error_;
};

}  // namespace

double RoundScaleUp(double n) {
  if (!(n > 0) || !std::isfinite(n)) return 1;
  const double decade = std::pow(10.0, std::floor(std::log10(n)));
  for (double step : {1.0, 1.5, 2.0, 2.5, 3.0, 4.0, 5.0, 6.0, 8.0, 10.0})
    if (step * decade >= n * (1 - 1e-9)) return step * decade;
  return 10 * decade;
}

bool PdfReportWriter::WritePdf(const nyhost::ReportDocument& doc, const nyhost::Drawing* drawing,
                               const std::string& path, std::string& error) {
  EnsureGuiApplication();
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(kDpi);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Portrait);
    pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
    pdf.setTitle(Q(doc.title));
    pdf.setCreator(QStringLiteral("NYLuxora"));
    QPainter p;
    if (!p.begin(&pdf)) {
      error = "cannot lay out " + path;
      return false;
    }
    Layout layout(pdf, p, drawing, doc.english);
    layout.Title(doc.title);
    for (const auto& block : doc.blocks) {
      std::visit(layout, block);
      if (!layout.error().empty()) break;
    }
    layout.Finish();
    p.end();
    if (!layout.error().empty()) {
      error = layout.error();
      return false;
    }
  }
  const QByteArray bytes = buffer.data();
  return nyhost::WriteFileAtomically(path, std::string(bytes.constData(), bytes.size()), error);
}

}  // namespace nyrender
