// Writing a drawing as DXF.
//
// Writing goes through dxflib's writer functions into a memory buffer (by overriding the writer's
// output primitives), the result is checked with the reader's checker, and only then written
// atomically.
#include <dl_dxf.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "host/dxf_check.h"
#include "host/dxf_internal.h"
#include "host/file_io.h"
#include "host/dxf_io.h"
#include "host/text_codec.h"
#include "host/text_util.h"

namespace nyhost::dxf {
namespace {

// AutoCAD's limit for one MTEXT chunk (groups 3 and 1).
constexpr std::size_t kMTextChunkBytes = 250;

// dxflib's writer with its output primitives redirected into memory, so nothing reaches the
// disk before the whole file is known to be good.
class BufferWriter : public DL_WriterA {
 public:
  BufferWriter() : DL_WriterA("/dev/null", DL_Codes::AC1015) {}

  void dxfReal(int gc, double value) const override {
    Code(gc);
    if (!std::isfinite(value)) {
      if (!bad_real_code_) bad_real_code_ = gc;
      value = 0;
    }
    if (value == 0) value = 0;  // no "-0"
    char buf[400];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
    std::string_view s = ec == std::errc() ? std::string_view(buf, end - buf) : "0";
    out_ += s;
    if (s.find('.') == std::string_view::npos) out_ += ".0";
    out_ += '\n';
  }
  void dxfInt(int gc, int value) const override {
    Code(gc);
    out_ += std::to_string(value);
    out_ += '\n';
  }
  void dxfHex(int gc, int value) const override {
    Code(gc);
    char buf[20];
    std::snprintf(buf, sizeof buf, "%X", static_cast<unsigned>(value));
    out_ += buf;
    out_ += '\n';
  }
  void dxfString(int gc, const char* value) const override {
    dxfString(gc, std::string(value ? value : ""));
  }
  void dxfString(int gc, const std::string& value) const override {
    Code(gc);
    out_ += value;
    out_ += '\n';
  }

  void SetNextHandle(unsigned long h) const { m_handle = h; }
  std::string& text() const { return out_; }
  int bad_real_code() const { return bad_real_code_; }

 private:
  void Code(int gc) const {
    if (gc < 10)
      out_ += "  ";
    else if (gc < 100)
      out_ += ' ';
    out_ += std::to_string(gc);
    out_ += '\n';
  }
  mutable std::string out_;
  mutable int bad_real_code_ = 0;
};

// The layout blocks dxflib's objects refer to: always written, with what a file kept in them.
constexpr const char* kFixedLayouts[] = {"*Model_Space", "*Paper_Space", "*Paper_Space0"};

bool IsFixedLayout(std::string_view name) {
  return std::any_of(std::begin(kFixedLayouts), std::end(kFixedLayouts),
                     [&](const char* l) { return IEquals(name, l); });
}

std::string HexHandle(EntityId h) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(h));
  return buf;
}

// Texts of these styles are written with the Chinese style.
bool IsDefaultStyle(std::string_view style) {
  return style.empty() || IEquals(style, "Standard") || IEquals(style, kCjkStyle);
}

// Group code of a header variable kept from another file; the value's shape decides the rest.
int HeaderCode(const std::string& name, const std::string& value) {
  static const struct {
    int code;
    std::string_view names;
  } kCodes[] = {
      {8, " $CLAYER "},
      {6, " $CELTYPE "},
      {7, " $TEXTSTYLE $DIMTXSTY "},
      {2,
       " $DIMSTYLE $CMLSTYLE $UCSNAME $UCSBASE $UCSORTHOREF $PUCSNAME $PUCSBASE $PUCSORTHOREF "
       "$FINGERPRINTGUID $VERSIONGUID "},
      {62, " $CECOLOR "},
      {370, " $CELWEIGHT "},
      {380, " $CEPSNTYPE "},
      {280, " $ENDCAPS $JOINSTYLE $DIMASSOC $SORTENTS $INDEXCTL $OBSLTYPE $HALOGAP "},
      {290,
       " $INTERSECTIONDISPLAY $LWDISPLAY $XEDIT $EXTNAMES $PSTYLEMODE $OLESTARTUP $HIDETEXT "
       "$XCLIPFRAME "},
      {50, " $ANGBASE "},
  };
  for (const auto& c : kCodes)
    if (c.names.find(" " + name + " ") != std::string_view::npos) return c.code;
  long long n;
  double r;
  if (ParseInt(value, n)) return 70;
  if (ParseReal(value, r)) return 40;
  return 1;
}

class Emitter {
 public:
  Emitter(const Drawing& d, EntityId handseed) : d_(d), handseed_(handseed) { Prepare(); }

  // Writes the whole file into text; false with error on a drawing that cannot be written.
  bool Run(std::string& text, EntityId& next_handle, std::string& error);

 private:
  void Prepare();
  std::string Enc(std::string_view s);
  std::string Style(const std::string& style);
  DL_Attributes Attr(const Entity& e) {
    return DL_Attributes(Enc(e.layer.empty() ? "0" : e.layer), e.color, -1, "BYLAYER", 1.0);
  }
  void Header();
  void Tables();
  void StyleRecord(const std::string& encoded_name);
  void Blocks();
  void WriteEntity(const Entity& e, bool model);
  void WriteXData(const Entity& e);
  void WriteText(const Text& t, const DL_Attributes& attr);
  void WriteMText(const MText& m, const DL_Attributes& attr);
  void WriteHatch(const Hatch& h, const DL_Attributes& attr);
  void WriteOpaque(const Entity& e, const OpaqueEntity& o);
  void Objects();

  const Drawing& d_;
  EntityId handseed_;
  BufferWriter dw_;
  DL_Dxf dxf_;
  std::string error_;
  EntityId first_free_ = kFirstFreeHandle;
  std::vector<Layer> layers_;
  std::vector<std::string> linetypes_;  // beyond BYBLOCK, BYLAYER, CONTINUOUS
  std::vector<std::string> styles_;     // beyond Standard and the Chinese style
  std::vector<std::string> apps_;
  std::vector<BlockDefinition> blocks_;
};

void Emitter::Prepare() {
  std::vector<const Entity*> all;
  for (const Entity& e : d_.entities()) {
    if (e.erased) continue;
    all.push_back(&e);
    if (e.id < kMaxWritableHandle) first_free_ = std::max(first_free_, e.id + 1);
  }
  for (const auto& b : d_.blocks()) {
    if (!IsFixedLayout(b.name)) blocks_.push_back(b);
    for (const Entity& e : b.entities)
      if (!e.erased) all.push_back(&e);
  }

  auto add_unique = [](std::vector<std::string>& list, const std::string& name) {
    for (const auto& n : list)
      if (IEquals(n, name)) return;
    list.push_back(name);
  };
  // Layer "0" must exist; so must every layer an entity names.
  layers_ = d_.layers();
  auto has_layer = [&](const std::string& name) {
    return std::any_of(layers_.begin(), layers_.end(),
                       [&](const Layer& l) { return l.name == name; });
  };
  if (!has_layer("0")) layers_.insert(layers_.begin(), Layer{"0", 7});
  std::vector<std::string> lt_names;
  apps_ = {"ACAD"};
  for (const auto& app : d_.apps()) add_unique(apps_, app);
  for (const Entity* e : all) {
    std::string layer = e->layer.empty() ? "0" : e->layer;
    if (!has_layer(layer)) layers_.push_back(Layer{layer, 7});
    for (const auto& g : e->xdata) add_unique(apps_, g.app);
    std::string style;
    if (const auto* t = e->As<Text>()) style = t->style;
    if (const auto* m = e->As<MText>()) style = m->style;
    if (!IsDefaultStyle(style)) add_unique(styles_, style);
    // An INSERT of an undefined block would make the file unreadable elsewhere.
    if (const auto* r = e->As<BlockReference>()) {
      bool defined = std::any_of(blocks_.begin(), blocks_.end(),
                                 [&](const BlockDefinition& b) { return b.name == r->block; });
      if (!defined) blocks_.push_back(BlockDefinition{r->block, {}, {}});
    }
  }
  // Opaque entities name their styles and linetypes; the tables must hold them. Their links to
  // other objects by handle cannot be kept: those objects are not read.
  std::map<std::string, int> unlinked;
  for (const Entity* e : all) {
    const auto* o = e->As<OpaqueEntity>();
    if (!o) continue;
    bool links = false;
    for (const DxfGroup& g : o->groups) {
      if (g.code == 7 && !IsDefaultStyle(g.value)) add_unique(styles_, g.value);
      if (g.code == 6) lt_names.push_back(g.value);
      links = links || (g.code >= 320 && g.code <= 369) || g.code == 390 || g.code == 480 ||
              g.code == 481;
    }
    if (links) ++unlinked[o->type];
  }
  for (const Layer& l : layers_) lt_names.push_back(l.linetype);
  for (const auto& lt : lt_names)
    if (!IsDefaultLinetype(lt) && !IEquals(lt, "CONTINUOUS")) add_unique(linetypes_, lt);
  if (!unlinked.empty()) {
    error_ = "saving would lose the links to objects this program does not keep, of";
    for (const auto& [type, n] : unlinked) error_ += " " + std::to_string(n) + " " + type;
  }
}

// UTF-8 to the file's GBK (escapes for the rest, see Utf8ToGbkEscaped).
std::string Emitter::Enc(std::string_view s) {
  if (s.size() <= kMaxLineBytes &&
      std::all_of(s.begin(), s.end(), [](char c) { return c >= 0x20 && c < 0x7F; }))
    return std::string(s);
  std::string out = Utf8ToGbkEscaped(s);
  if (out.size() > kMaxLineBytes && error_.empty())
    error_ = "a text is too long for DXF (" + std::to_string(out.size()) + " bytes, at most " +
             std::to_string(kMaxLineBytes) + "): '" + Snippet(s) + "'";
  return out;
}

std::string Emitter::Style(const std::string& style) {
  if (IsDefaultStyle(style)) return kCjkStyle;
  return Enc(style);
}

bool Emitter::Run(std::string& text, EntityId& next_handle, std::string& error) {
  dw_.SetNextHandle(first_free_);
  Header();
  Tables();
  Blocks();
  dw_.sectionEntities();
  for (const Entity& e : d_.entities())
    if (!e.erased) WriteEntity(e, true);
  dw_.sectionEnd();
  Objects();
  dw_.dxfEOF();
  if (error_.empty() && dw_.bad_real_code())
    error_ =
        "a value of group code " + std::to_string(dw_.bad_real_code()) + " is not a finite number";
  if (!error_.empty()) {
    error = error_;
    return false;
  }
  next_handle = dw_.getNextHandle();
  text = std::move(dw_.text());
  return true;
}

void Emitter::Header() {
  dw_.sectionHeader();
  dw_.dxfString(9, "$ACADVER");
  dw_.dxfString(1, "AC1015");
  dw_.dxfString(9, "$HANDSEED");
  dw_.dxfString(5, HexHandle(handseed_));
  dw_.dxfString(9, "$DWGCODEPAGE");
  dw_.dxfString(3, "ANSI_936");
  // Millimetres, as Chinese plans are drawn; a drawing in other units says so through its
  // architectural scale ($USERR1 and the XRECORD). LibreCAD blows its PDF page up for other units.
  dw_.dxfString(9, "$INSUNITS");
  dw_.dxfInt(70, 4);
  dw_.dxfString(9, "$USERR1");
  dw_.dxfReal(40, d_.arch_scale());
  dw_.dxfString(9, "$USERR2");
  dw_.dxfReal(40, d_.draw_scale());
  for (const auto& [name, value] : d_.header) {
    // $CEPSNID is a handle of a plot style object, which the file does not hold.
    if (name.size() < 2 || name[0] != '$' || IsOwnHeaderVariable(name) || name == "$CEPSNID")
      continue;
    std::vector<std::string> parts = SplitString(value, ',');
    double x;
    bool point = parts.size() >= 2 && parts.size() <= 3 &&
                 std::all_of(parts.begin(), parts.end(),
                             [&](const std::string& p) { return ParseReal(p, x); });
    if (point) {
      dw_.dxfString(9, Enc(name));
      for (std::size_t i = 0; i < parts.size(); ++i) {
        ParseReal(parts[i], x);
        dw_.dxfReal(10 + 10 * static_cast<int>(i), x);
      }
      continue;
    }
    int code = HeaderCode(name, value);
    long long n;
    double r;
    ValueKind kind = KindOf(code);
    if (kind == ValueKind::kInt && (!ParseInt(value, n) || n < INT32_MIN || n > INT32_MAX))
      continue;  // not writable as kept
    if (kind == ValueKind::kReal && !ParseReal(value, r)) continue;
    dw_.dxfString(9, Enc(name));
    if (kind == ValueKind::kInt)
      dw_.dxfInt(code, static_cast<int>(n));
    else if (kind == ValueKind::kReal)
      dw_.dxfReal(code, r);
    else
      dw_.dxfString(code, Enc(value));
  }
  dw_.sectionEnd();
}

void Emitter::StyleRecord(const std::string& encoded_name) {
  // By hand: dxflib's writeStyle leaves the font files empty.
  dw_.dxfString(0, "STYLE");
  dw_.handle();
  dw_.dxfString(100, "AcDbSymbolTableRecord");
  dw_.dxfString(100, "AcDbTextStyleTableRecord");
  dw_.dxfString(2, encoded_name);
  dw_.dxfInt(70, 0);
  dw_.dxfReal(40, 0.0);
  dw_.dxfReal(41, 0.8);
  dw_.dxfReal(50, 0.0);
  dw_.dxfInt(71, 0);
  dw_.dxfReal(42, 2.5);
  dw_.dxfString(3, "txt.shx");
  dw_.dxfString(4, "gbcbig.shx");
}

void Emitter::Tables() {
  dw_.sectionTables();
  dxf_.writeVPort(dw_);

  dw_.tableLinetypes(3 + static_cast<int>(linetypes_.size()));
  dxf_.writeLinetype(dw_, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
  dxf_.writeLinetype(dw_, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
  dxf_.writeLinetype(dw_, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
  for (const auto& lt : linetypes_)
    dxf_.writeLinetype(dw_, DL_LinetypeData(Enc(lt), "", 0, 0, 0.0));
  dw_.tableEnd();

  dw_.tableLayers(static_cast<int>(layers_.size()));
  for (const Layer& l : layers_) {
    std::string lt = IsDefaultLinetype(l.linetype) ? "CONTINUOUS" : Enc(l.linetype);
    dxf_.writeLayer(dw_, DL_LayerData(Enc(l.name), l.frozen ? 1 : 0, l.off),
                    DL_Attributes("", LayerColor(l.color), -1, lt, 1.0));
  }
  dw_.tableEnd();

  dw_.tableStyle(2 + static_cast<int>(styles_.size()));
  dxf_.writeStyle(dw_, DL_StyleData("Standard", 0, 0, 1, 0, 0, 2.5, "txt", ""));
  StyleRecord(kCjkStyle);
  for (const auto& s : styles_) StyleRecord(Enc(s));
  dw_.tableEnd();

  dxf_.writeView(dw_);
  dxf_.writeUcs(dw_);

  dw_.tableAppid(static_cast<int>(apps_.size()));
  for (const auto& app : apps_) dxf_.writeAppid(dw_, Enc(app));
  dw_.tableEnd();

  dxf_.writeDimStyle(dw_, 2.5, 1.25, 0.625, 0.625, 2.5);
  dxf_.writeBlockRecord(dw_);
  for (const auto& b : blocks_) dxf_.writeBlockRecord(dw_, Enc(b.name));
  dw_.tableEnd();
  dw_.sectionEnd();
}

void Emitter::Blocks() {
  dw_.sectionBlocks();
  for (const char* layout : kFixedLayouts) {
    dxf_.writeBlock(dw_, DL_BlockData(layout, 0, 0.0, 0.0, 0.0));
    for (const auto& b : d_.blocks())  // what a file kept there (opaque entities)
      if (IEquals(b.name, layout))
        for (const Entity& e : b.entities)
          if (!e.erased) WriteEntity(e, false);
    dxf_.writeEndBlock(dw_, layout);
  }
  for (const auto& b : blocks_) {
    std::string name = Enc(b.name);
    int flags = !b.name.empty() && b.name[0] == '*' ? 1 : 0;  // anonymous block
    dxf_.writeBlock(dw_, DL_BlockData(name, flags, b.base.x, b.base.y, b.base.z));
    for (const Entity& e : b.entities)
      if (!e.erased) WriteEntity(e, false);
    dxf_.writeEndBlock(dw_, name);
  }
  dw_.sectionEnd();
}

void Emitter::WriteEntity(const Entity& e, bool model) {
  // Model-space entities keep their id as handle; the writer's counter starts above them all.
  bool own = model && e.id >= kFirstFreeHandle && e.id < kMaxWritableHandle;
  const unsigned long counter = dw_.getNextHandle();
  // Writes the record that takes the entity's handle; what follows it numbers on from the counter.
  auto primary = [&](const auto& write) {
    if (own) dw_.SetNextHandle(e.id);
    write();
    if (own) dw_.SetNextHandle(counter);
  };
  DL_Attributes attr = Attr(e);

  if (const auto* r = e.As<BlockReference>()) {
    // By hand: dxflib's insert writer puts 1 for the z scale, whatever it is.
    primary([&] { dw_.entity("INSERT"); });
    dw_.dxfString(100, "AcDbEntity");
    dw_.entityAttributes(attr);
    dw_.dxfString(100, "AcDbBlockReference");
    dw_.dxfString(2, Enc(r->block));
    dw_.coord(10, r->position.x, r->position.y, r->position.z);
    if (r->scale_x != 1 || r->scale_y != 1 || r->scale_z != 1) {
      dw_.dxfReal(41, r->scale_x);
      dw_.dxfReal(42, r->scale_y);
      dw_.dxfReal(43, r->scale_z);
    }
    if (r->rotation_deg != 0) dw_.dxfReal(50, r->rotation_deg);
    if (!r->attributes.empty()) dw_.dxfInt(66, 1);  // attributes follow
    WriteXData(e);
    if (r->attributes.empty()) return;
    for (const Attribute& a : r->attributes) {
      const Point3& p = a.position;
      dxf_.writeAttribute(dw_,
                          DL_AttributeData(p.x, p.y, p.z, p.x, p.y, p.z, a.height, 1.0, 0, 0, 0,
                                           Enc(a.tag), Enc(a.text), kCjkStyle, 0.0),
                          attr);
    }
    dw_.entity("SEQEND");
    dw_.dxfString(100, "AcDbEntity");
    dw_.dxfString(8, attr.getLayer());
    return;
  }
  if (const auto* pl = e.As<Polyline>()) {
    primary([&] {
      dxf_.writePolyline(
          dw_, DL_PolylineData(static_cast<int>(pl->vertices.size()), 0, 0, pl->closed ? 1 : 0),
          attr);
    });
    // Widths and the elevation by hand: dxflib's vertex writer knows none of them.
    if (pl->constant_width != 0) dw_.dxfReal(43, pl->constant_width);
    if (pl->elevation != 0) dw_.dxfReal(38, pl->elevation);
    for (const PolylineVertex& v : pl->vertices) {
      dw_.dxfReal(10, v.x);
      dw_.dxfReal(20, v.y);
      if (v.start_width != 0 || v.end_width != 0) {
        dw_.dxfReal(40, v.start_width);
        dw_.dxfReal(41, v.end_width);
      }
      if (v.bulge != 0) dw_.dxfReal(42, v.bulge);
    }
    dxf_.writePolylineEnd(dw_);
  } else if (const auto* t = e.As<Text>()) {
    primary([&] { dw_.entity("TEXT"); });
    WriteText(*t, attr);
  } else if (const auto* m = e.As<MText>()) {
    primary([&] { dw_.entity("MTEXT"); });
    WriteMText(*m, attr);
  } else if (const auto* pt = e.As<PointEntity>()) {
    primary([&] {
      dxf_.writePoint(dw_, DL_PointData(pt->position.x, pt->position.y, pt->position.z), attr);
    });
  } else if (const auto* l = e.As<Line>()) {
    primary([&] {
      dxf_.writeLine(
          dw_, DL_LineData(l->start.x, l->start.y, l->start.z, l->end.x, l->end.y, l->end.z), attr);
    });
  } else if (const auto* c = e.As<Circle>()) {
    primary([&] {
      dxf_.writeCircle(dw_, DL_CircleData(c->center.x, c->center.y, c->center.z, c->radius), attr);
    });
  } else if (const auto* s = e.As<Solid>()) {
    const auto& k = s->corners;
    primary([&] {
      dxf_.writeSolid(dw_,
                      DL_SolidData(k[0].x, k[0].y, k[0].z, k[1].x, k[1].y, k[1].z, k[2].x, k[2].y,
                                   k[2].z, k[3].x, k[3].y, k[3].z),
                      attr);
    });
  } else if (const auto* h = e.As<Hatch>()) {
    primary([&] { dw_.entity("HATCH"); });
    WriteHatch(*h, attr);
  } else if (const auto* o = e.As<OpaqueEntity>()) {
    primary([&] { dw_.entity(Enc(o->type).c_str()); });
    WriteOpaque(e, *o);
    return;
  }
  WriteXData(e);
}

void Emitter::WriteOpaque(const Entity& e, const OpaqueEntity& o) {
  bool main = true, layer = false;
  for (const DxfGroup& g : o.groups) {
    if (g.code == 0) {
      if (main) WriteXData(e);  // the entity's own, before the records of its sequence
      main = false;
      dw_.entity(Enc(g.value).c_str());
    } else if (main && g.code == 8 && !layer) {
      layer = true;
      dw_.dxfString(8, Enc(e.layer.empty() ? "0" : e.layer));
    } else if (KindOf(g.code) == ValueKind::kString) {
      dw_.dxfString(g.code, Enc(g.value));
    } else {
      dw_.dxfString(g.code, g.value);  // a number as read
    }
  }
  if (main) WriteXData(e);
}

void Emitter::WriteXData(const Entity& e) {
  for (const XDataGroup& g : e.xdata) {
    dw_.dxfString(1001, Enc(g.app));
    for (const XDataItem& it : g.items) {
      switch (it.code >= 1000 && it.code <= 1071 ? KindOf(it.code) : ValueKind::kHandle) {
        case ValueKind::kString:  // control strings, handles and binary chunks as read
          dw_.dxfString(it.code, IsTextCode(it.code) ? Enc(it.text) : it.text);
          break;
        case ValueKind::kReal:
          dw_.dxfReal(it.code, it.real);
          break;
        case ValueKind::kInt:
          dw_.dxfInt(it.code, static_cast<int>(it.integer));
          break;
        case ValueKind::kHandle:
          if (error_.empty())
            error_ = "extended data of application " + g.app + " has the invalid group code " +
                     std::to_string(it.code);
          break;
      }
    }
  }
}

// By hand: dxflib's text writer takes the angle in radians, and the trip from degrees and back
// changes some angles in the last digit.
void Emitter::WriteText(const Text& t, const DL_Attributes& attr) {
  const Point3& p = t.position;
  dw_.dxfString(100, "AcDbEntity");
  dw_.entityAttributes(attr);
  dw_.dxfString(100, "AcDbText");
  dw_.coord(10, p.x, p.y, p.z);
  dw_.dxfReal(40, t.height);
  dw_.dxfString(1, Enc(t.text));
  dw_.dxfReal(50, t.rotation);
  dw_.dxfString(7, Style(t.style));
  dw_.dxfInt(72, t.middle ? 1 : 0);
  dw_.coord(11, p.x, p.y, p.z);
  dw_.dxfString(100, "AcDbText");
  dw_.dxfInt(73, t.middle ? 2 : 0);
}

void Emitter::WriteMText(const MText& m, const DL_Attributes& attr) {
  dw_.dxfString(100, "AcDbEntity");
  dw_.entityAttributes(attr);
  dw_.dxfString(100, "AcDbMText");
  dw_.coord(10, m.position.x, m.position.y, m.position.z);
  dw_.dxfReal(40, m.height);
  dw_.dxfReal(41, m.width);
  dw_.dxfInt(71, m.attachment >= 1 && m.attachment <= 9 ? m.attachment : 1);
  dw_.dxfInt(72, 1);
  // Chunks of at most 250 bytes, cut between characters so no reader sees half a character.
  std::vector<std::string> chunks(1);
  std::string text = m.text;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t n = 1;
    auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0xC0) n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    n = std::min(n, text.size() - i);
    std::string piece = text[i] == '\n' ? std::string("\\P") : Enc(text.substr(i, n));
    i += n;
    if (chunks.back().size() + piece.size() > kMTextChunkBytes) chunks.emplace_back();
    chunks.back() += piece;
  }
  for (std::size_t k = 0; k + 1 < chunks.size(); ++k) dw_.dxfString(3, chunks[k]);
  dw_.dxfString(1, chunks.back());
  dw_.dxfString(7, Style(m.style));
  dw_.dxfReal(50, m.rotation * kRadToDeg);
  dw_.dxfInt(73, 1);
  dw_.dxfReal(44, 1.0);
}

void Emitter::WriteHatch(const Hatch& h, const DL_Attributes& attr) {
  // By hand: dxflib's hatch writer knows no polyline loops and adds ACAD xdata.
  bool solid = h.pattern.empty() || IEquals(h.pattern, "SOLID");
  dw_.dxfString(100, "AcDbEntity");
  dw_.entityAttributes(attr);
  dw_.dxfString(100, "AcDbHatch");
  dw_.coord(10, 0, 0, 0);
  dw_.coord(210, 0, 0, 1);
  dw_.dxfString(2, solid ? std::string("SOLID") : Enc(h.pattern));
  dw_.dxfInt(70, solid ? 1 : 0);
  dw_.dxfInt(71, 0);
  dw_.dxfInt(91, static_cast<int>(h.loops.size()));
  for (const auto& loop : h.loops) {
    dw_.dxfInt(92, 2);  // polyline loop
    dw_.dxfInt(72, 0);
    dw_.dxfInt(73, 1);
    dw_.dxfInt(93, static_cast<int>(loop.size()));
    for (const Point3& p : loop) {
      dw_.dxfReal(10, p.x);
      dw_.dxfReal(20, p.y);
    }
    dw_.dxfInt(97, 0);
  }
  dw_.dxfInt(75, 0);
  dw_.dxfInt(76, 1);
  if (!solid) {
    dw_.dxfReal(52, 0.0);
    dw_.dxfReal(41, 1.0);
    dw_.dxfInt(77, 0);
    dw_.dxfInt(78, 0);
  }
  dw_.dxfInt(98, 0);
}

void Emitter::Objects() {
  dxf_.writeObjects(dw_, kScaleDictionary);
  dxf_.writeAppDictionary(dw_);
  unsigned long arch = dxf_.writeDictionaryEntry(dw_, kArchScaleEntry);
  unsigned long draw = dxf_.writeDictionaryEntry(dw_, kDrawScaleEntry);
  dxf_.writeXRecord(dw_, static_cast<int>(arch), d_.arch_scale());
  dxf_.writeXRecord(dw_, static_cast<int>(draw), d_.draw_scale());
  dxf_.writeObjectsEnd(dw_);
}
}  // namespace
}  // namespace nyhost::dxf

namespace nyhost {

DxfResult WriteDxf(const Drawing& drawing, const std::string& path) {
  DxfResult result;
  std::string text, error;
  EntityId next = 0;
  // The first pass learns the last handle used, which the header's $HANDSEED must exceed.
  if (!dxf::Emitter(drawing, 0).Run(text, next, error) ||
      !dxf::Emitter(drawing, next).Run(text, next, error)) {
    result.error = path + ": cannot write: " + error;
    return result;
  }
  dxf::ScanResult check;
  if (!dxf::CheckDxf(text, path, check, error)) {
    result.error = "cannot write a valid DXF: " + error;
    return result;
  }
  if (!WriteFileAtomically(path, text, result.error)) return result;
  result.ok = true;
  return result;
}

}  // namespace nyhost
