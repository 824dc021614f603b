#include "render/drawing_renderer.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "host/entity_geometry.h"
#include "render/aci_colors.h"
#include "render/mtext_plain.h"

namespace nyrender {
namespace {

using nyhost::Entity;
using nyhost::Point3;

constexpr int kMaxBlockDepth = 16;
// Local text units per text height: glyphs drawn with a 100-unit em are about 85 units tall.
constexpr double kEmPerHeight = 100.0 / 85.0;

// Points of the arc from a to b given by a's bulge (a.bulge != 0), a included, b excluded.
void AppendArc(const nyhost::PolylineVertex& a, const nyhost::PolylineVertex& b,
               std::vector<QPointF>& out) {
  double sweep = 4 * std::atan(a.bulge);
  double chord = std::hypot(b.x - a.x, b.y - a.y);
  if (chord <= 0) return;
  double radius = chord / (2 * std::sin(std::fabs(sweep) / 2));
  double mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
  double nx = -(b.y - a.y) / chord, ny = (b.x - a.x) / chord;
  double side = radius * std::cos(sweep / 2) * (sweep > 0 ? 1 : -1);
  double cx = mx + nx * side, cy = my + ny * side;
  double start = std::atan2(a.y - cy, a.x - cx);
  int steps = std::max(4, static_cast<int>(std::ceil(std::fabs(sweep) / (3 * nyhost::kDegToRad))));
  for (int k = 0; k < steps; ++k) {
    double t = start + sweep * k / steps;
    out.emplace_back(cx + radius * std::cos(t), cy + radius * std::sin(t));
  }
}

bool HasWidth(const nyhost::Polyline& pl) {
  if (pl.constant_width > 0) return true;
  for (const auto& v : pl.vertices)
    if (v.start_width > 0 || v.end_width > 0) return true;
  return false;
}

}  // namespace

QFont DrawingFont() {
  QFont f;
  f.setFamilies({QStringLiteral("SimSun"), QStringLiteral("宋体"),
                 QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"),
                 QStringLiteral("DejaVu Sans")});
  f.setPixelSize(100);
  f.setStyleStrategy(QFont::PreferOutline);
  return f;
}

QColor DrawingRenderer::ColorOf(int aci, const QColor& background) {
  std::uint32_t rgb = AciToRgb(std::abs(aci) % 256);
  bool light_bg = background.lightness() > 128;
  if (aci == 7 || aci == 255 || aci == 0) rgb = light_bg ? 0x000000 : 0xFFFFFF;
  return QColor::fromRgb((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

struct DrawingRenderer::Context {
  QPainter& p;
  const nyhost::Drawing& d;
  const ViewTransform& view;
  const RenderOptions& opt;
  QTransform world_to_device;  // view transform followed by the painter's own base transform
  QTransform base;
  QFont font;
  nyhost::BlockWalk walk;  // one per drawing: bounds what nested blocks cost
  bool highlight = false;
};

void DrawingRenderer::Draw(QPainter& p, const nyhost::Drawing& d, const ViewTransform& view,
                           const RenderOptions& options) const {
  p.save();
  Context c{p, d, view, options, QTransform(), p.transform(), DrawingFont(), nyhost::BlockWalk(d)};
  c.world_to_device = view.ToQTransform() * c.base;
  if (options.fill_background)
    p.fillRect(QRectF(0, 0, view.width, view.height), options.background);
  // Solid fills first: colour areas stay behind the plan drawn over them, whatever was added
  // last.
  for (bool fills : {true, false}) {
    for (const Entity& e : d.entities()) {
      if (e.erased || (e.As<nyhost::Hatch>() != nullptr) != fills || options.hidden.count(e.id))
        continue;
      c.highlight = options.highlighted.count(e.id) != 0;
      DrawEntity(c, e, QTransform(), 0, 7, std::string());
    }
  }
  if (options.temp_vectors) {
    p.setTransform(c.base);
    for (const auto& tv : *options.temp_vectors) {
      QPen pen(ColorOf(tv.color, options.background), options.line_width);
      if (tv.highlight) pen.setStyle(Qt::DashLine);
      p.setPen(pen);
      p.drawLine(view.ToQTransform().map(QLineF(tv.from.x, tv.from.y, tv.to.x, tv.to.y)));
    }
  }
  p.restore();
}

void DrawingRenderer::DrawEntity(Context& c, const Entity& e, const QTransform& to_world,
                                 int depth, int block_color, const std::string& block_layer) const {
  // Entities of a block on layer 0 take the layer of the reference that shows them.
  const std::string& layer_name = (e.layer == "0" && !block_layer.empty()) ? block_layer : e.layer;
  const nyhost::Layer* layer = c.d.FindLayer(layer_name);
  if (layer && (layer->off || layer->frozen || layer->color < 0)) return;
  int aci = e.color;
  if (aci == nyhost::kColorByLayer) aci = layer ? std::abs(layer->color) : 7;
  if (aci == nyhost::kColorByBlock) aci = block_color;
  QColor color = ColorOf(aci, c.opt.background);

  const QTransform m = to_world * c.world_to_device;
  QPainter& p = c.p;
  p.setTransform(QTransform());
  QPen pen(color, c.opt.line_width);
  if (c.highlight) {
    pen.setStyle(Qt::DashLine);
    pen.setWidthF(c.opt.line_width * 2);
  }
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);

  auto draw_text = [&](Point3 pos, double height, double rotation, const QString& text,
                       bool middle) {
    QPointF anchor = m.map(QPointF(pos.x, pos.y));
    QPointF dir = m.map(QPointF(pos.x + std::cos(rotation), pos.y + std::sin(rotation))) - anchor;
    QPointF up = m.map(QPointF(pos.x - std::sin(rotation), pos.y + std::cos(rotation))) - anchor;
    double u = height / 85.0;  // world units per local text unit
    if (std::hypot(up.x(), up.y()) * height < 0.8) return;  // too small to read
    QTransform local(dir.x() * u, dir.y() * u, -up.x() * u, -up.y() * u, anchor.x(), anchor.y());
    p.setTransform(local);
    p.setFont(c.font);
    p.setPen(QPen(color));
    QPointF at(0, 0);
    if (middle) {
      QFontMetricsF fm(c.font);
      at = QPointF(-fm.horizontalAdvance(text) / 2, 42.5);
    }
    p.drawText(at, text);
    p.setTransform(QTransform());
    p.setPen(pen);
  };

  if (const auto* line = e.As<nyhost::Line>()) {
    p.drawLine(m.map(QLineF(line->start.x, line->start.y, line->end.x, line->end.y)));
  } else if (const auto* circle = e.As<nyhost::Circle>()) {
    QPainterPath path;
    path.addEllipse(QPointF(circle->center.x, circle->center.y), circle->radius, circle->radius);
    p.drawPath(m.map(path));
  } else if (const auto* pl = e.As<nyhost::Polyline>()) {
    std::size_t n = pl->vertices.size();
    if (n == 0) return;
    std::size_t segs = pl->closed ? n : n - 1;
    if (!HasWidth(*pl)) {
      std::vector<QPointF> pts;
      for (std::size_t i = 0; i < segs; ++i) {
        const auto& a = pl->vertices[i];
        const auto& b = pl->vertices[(i + 1) % n];
        if (a.bulge != 0) AppendArc(a, b, pts);
        else pts.emplace_back(a.x, a.y);
      }
      const auto& last = pl->closed ? pl->vertices[0] : pl->vertices[n - 1];
      pts.emplace_back(last.x, last.y);
      QPolygonF poly(QList<QPointF>(pts.begin(), pts.end()));
      p.drawPolyline(m.map(poly));
      return;
    }
    if (pl->constant_width > 0) {
      // One stroke of the whole centre line with mitred joins, so corners close without notches
      // and neighbouring segments leave no seams; outlined in world units, then mapped.
      QPainterPath centre;
      for (std::size_t i = 0; i < segs; ++i) {
        const auto& a = pl->vertices[i];
        const auto& b = pl->vertices[(i + 1) % n];
        std::vector<QPointF> pts;
        if (a.bulge != 0) AppendArc(a, b, pts);
        else pts.emplace_back(a.x, a.y);
        for (const QPointF& q : pts) {
          if (centre.elementCount() == 0) centre.moveTo(q);
          else centre.lineTo(q);
        }
      }
      if (pl->closed) {
        centre.closeSubpath();
      } else {
        const auto& last = pl->vertices[n - 1];
        if (centre.elementCount() == 0) centre.moveTo(last.x, last.y);
        centre.lineTo(last.x, last.y);
      }
      QPainterPathStroker stroker;
      stroker.setWidth(pl->constant_width);
      stroker.setJoinStyle(Qt::MiterJoin);
      stroker.setCapStyle(Qt::FlatCap);
      p.fillPath(m.map(stroker.createStroke(centre)), color);
      return;
    }
    // Varying widths: each segment becomes a band whose width runs from start to end; the bands
    // are filled as one shape, all turning the same way, so their overlaps show no seams.
    QPainterPath bands;
    bands.setFillRule(Qt::WindingFill);
    for (std::size_t i = 0; i < segs; ++i) {
      const auto& a = pl->vertices[i];
      const auto& b = pl->vertices[(i + 1) % n];
      double w0 = a.start_width, w1 = a.end_width;
      std::vector<QPointF> center;
      if (a.bulge != 0) AppendArc(a, b, center);
      else center.emplace_back(a.x, a.y);
      center.emplace_back(b.x, b.y);
      if (center.size() < 2) continue;
      QPolygonF band;
      std::vector<QPointF> right;
      for (std::size_t k = 0; k < center.size(); ++k) {
        QPointF prev = center[k == 0 ? 0 : k - 1], next = center[k + 1 < center.size() ? k + 1 : k];
        QPointF t = next - prev;
        double len = std::hypot(t.x(), t.y());
        if (len <= 0) continue;
        QPointF normal(-t.y() / len, t.x() / len);
        double w = (w0 + (w1 - w0) * k / (center.size() - 1)) / 2;
        band << center[k] + normal * w;
        right.push_back(center[k] - normal * w);
      }
      for (auto it = right.rbegin(); it != right.rend(); ++it) band << *it;
      double twice_area = 0;
      for (int k = 0; k < band.size(); ++k) {
        const QPointF& u = band[k];
        const QPointF& v = band[(k + 1) % band.size()];
        twice_area += u.x() * v.y() - v.x() * u.y();
      }
      if (twice_area < 0) std::reverse(band.begin(), band.end());
      bands.addPolygon(band);
      bands.closeSubpath();
    }
    p.fillPath(m.map(bands), color);
  } else if (const auto* t = e.As<nyhost::Text>()) {
    draw_text(t->position, t->height, t->rotation * nyhost::kDegToRad,
              QString::fromStdString(t->text), t->middle);
  } else if (const auto* mt = e.As<nyhost::MText>()) {
    QString text = QString::fromStdString(MTextPlain(mt->text));
    Point3 pos = mt->position;
    double r = mt->rotation;
    QPointF anchor = m.map(QPointF(pos.x, pos.y));
    QPointF dir = m.map(QPointF(pos.x + std::cos(r), pos.y + std::sin(r))) - anchor;
    QPointF up = m.map(QPointF(pos.x - std::sin(r), pos.y + std::cos(r))) - anchor;
    double u = mt->height / 85.0;
    if (std::hypot(up.x(), up.y()) * mt->height < 0.8) return;
    QFontMetricsF fm(c.font);
    double box_w = mt->width > 0 ? mt->width / u : 1e7;
    int wrap = mt->width > 0 ? Qt::TextWordWrap : 0;
    int col = (mt->attachment - 1) % 3, row = (mt->attachment - 1) / 3;
    int halign = col == 0 ? Qt::AlignLeft : col == 1 ? Qt::AlignHCenter : Qt::AlignRight;
    QRectF need = fm.boundingRect(QRectF(0, 0, box_w, 1e7), halign | wrap, text);
    double w = mt->width > 0 ? box_w : need.width();
    double h = need.height();
    double x0 = col == 0 ? 0 : col == 1 ? -w / 2 : -w;
    double y0 = row == 0 ? -(fm.ascent() - 85) : row == 1 ? -h / 2 : -h + fm.descent();
    p.setTransform(QTransform(dir.x() * u, dir.y() * u, -up.x() * u, -up.y() * u, anchor.x(),
                              anchor.y()));
    p.setFont(c.font);
    p.setPen(QPen(color));
    p.drawText(QRectF(x0, y0, w, h), halign | wrap, text);
    p.setTransform(QTransform());
  } else if (const auto* pt = e.As<nyhost::PointEntity>()) {
    // Point figures are sized in view pixels, then go through the painter's own base transform.
    QPointF at = (to_world * c.view.ToQTransform()).map(QPointF(pt->position.x, pt->position.y));
    double size = c.opt.pd_size < 0   ? -c.opt.pd_size / 100.0 * c.view.height
                  : c.opt.pd_size == 0 ? 0.05 * c.view.height
                                       : c.opt.pd_size * c.view.scale;
    double h = size / 2;
    int shape = c.opt.pd_mode & 7;
    p.setTransform(c.base);
    if (shape == 0) {
      p.setBrush(color);
      p.drawEllipse(at, 1.0, 1.0);
      p.setBrush(Qt::NoBrush);
    } else if (shape == 2) {
      p.drawLine(QLineF(at.x() - h, at.y(), at.x() + h, at.y()));
      p.drawLine(QLineF(at.x(), at.y() - h, at.x(), at.y() + h));
    } else if (shape == 3) {
      p.drawLine(QLineF(at.x() - h, at.y() - h, at.x() + h, at.y() + h));
      p.drawLine(QLineF(at.x() - h, at.y() + h, at.x() + h, at.y() - h));
    } else if (shape == 4) {
      p.drawLine(QLineF(at.x(), at.y(), at.x(), at.y() - h));
    }
    if (c.opt.pd_mode & 32) p.drawEllipse(at, h, h);
    if (c.opt.pd_mode & 64) p.drawRect(QRectF(at.x() - h, at.y() - h, size, size));
    p.setTransform(QTransform());
  } else if (const auto* s = e.As<nyhost::Solid>()) {
    const auto& k = s->corners;
    QPolygonF poly;
    poly << QPointF(k[0].x, k[0].y) << QPointF(k[1].x, k[1].y) << QPointF(k[3].x, k[3].y)
         << QPointF(k[2].x, k[2].y);
    p.setBrush(color);
    p.setPen(QPen(color, 1));
    p.drawPolygon(m.map(poly));
    p.setBrush(Qt::NoBrush);
  } else if (const auto* hatch = e.As<nyhost::Hatch>()) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    for (const auto& loop : hatch->loops) {
      QPolygonF poly;
      for (const auto& v : loop) poly << QPointF(v.x, v.y);
      if (!poly.isEmpty()) path.addPolygon(poly), path.closeSubpath();
    }
    QPainterPath dev = m.map(path);
    if (hatch->pattern == "SOLID") {
      p.fillPath(dev, color);
    } else {
      p.fillPath(dev, QBrush(color, Qt::BDiagPattern));
      p.drawPath(dev);
    }
  } else if (const auto* ref = e.As<nyhost::BlockReference>()) {
    const nyhost::BlockDefinition* def = depth < kMaxBlockDepth ? c.walk.Enter(*ref) : nullptr;
    if (def) {
      QTransform block = QTransform::fromTranslate(-def->base.x, -def->base.y) *
                         QTransform::fromScale(ref->scale_x, ref->scale_y) *
                         QTransform().rotate(ref->rotation_deg) *
                         QTransform::fromTranslate(ref->position.x, ref->position.y);
      QTransform inner = block * to_world;
      for (const Entity& child : def->entities) {
        if (child.erased) continue;
        DrawEntity(c, child, inner, depth + 1, aci, layer_name);
      }
      c.walk.Leave();
    }
    for (const auto& a : ref->attributes)
      draw_text(a.position, a.height, ref->rotation_deg * nyhost::kDegToRad,
                QString::fromStdString(a.text), false);
  }
  p.setTransform(QTransform());
}

}  // namespace nyrender
