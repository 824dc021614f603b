// Reading a DXF file into a drawing.
//
// The whole file is checked first (dxf_check.h). Only a file that passes is handed to dxflib,
// re-serialised from the checked pairs and read from memory through a creation adapter that
// builds the drawing. Finally the entity count dxflib delivered is compared with the checker's
// count, so a drawing is either complete or not returned.
#include <dl_creationadapter.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/dxf_check.h"
#include "host/dxf_hatch.h"
#include "host/dxf_internal.h"
#include "host/dxf_io.h"
#include "host/entity_geometry.h"
#include "host/text_codec.h"
#include "host/text_util.h"

namespace nyhost::dxf {
namespace {

// Stands in for an opaque entity in what dxflib reads: it knows no such type and skips it, and
// the reader takes the entity from the checked pairs when it meets the stand-in.
constexpr std::string_view kOpaqueMarker = "NYLUXORA_OPAQUE";

// What dxflib reads: the checked pairs, one line each, without the comments it trips over.
std::string Reserialise(const ScanResult& scan) {
  std::string out;
  out.reserve(scan.pairs.size() * 12);
  auto opaque = scan.opaque.begin();
  for (std::size_t i = 0; i < scan.pairs.size(); ++i) {
    if (opaque != scan.opaque.end() && i == opaque->first) {
      out += "0\n";
      out += kOpaqueMarker;
      out += '\n';
      i = opaque->last - 1;
      ++opaque;
      continue;
    }
    const Pair& p = scan.pairs[i];
    // dxflib throws on a comment that is exactly "dxflib" (it parses a version after it).
    if (p.code == 999 && p.value.rfind("dxflib", 0) == 0 && p.value.size() < 8) continue;
    out += std::to_string(p.code);
    out += '\n';
    out += p.value;
    out += '\n';
  }
  return out;
}

// Decides the file's text encoding once and turns its strings into UTF-8.
class Decoder {
 public:
  Decoder(const ScanResult& scan, std::string_view whole_file) {
    if (!scan.acadver.empty() && ToUpperAscii(scan.acadver) >= "AC1021") {
      utf8_ = true;
      return;
    }
    std::string cp = ToUpperAscii(scan.codepage);
    if (cp.rfind("ANSI_", 0) == 0 && cp.size() > 5 &&
        cp.find_first_not_of("0123456789", 5) == std::string::npos) {
      std::string number = cp.substr(5);
      charset_ = number == "936" ? "GBK" : "CP" + number;
      if (!Convert("", charset_.c_str(), "UTF-8")) charset_.clear();  // iconv lacks it
    }
    if (charset_.empty()) {
      // No usable code page: plain UTF-8 when the bytes allow it, else the Chinese default.
      if (IsValidUtf8(whole_file))
        utf8_ = true;
      else
        charset_ = "GBK";
    }
  }

  std::string operator()(std::string_view raw) const {
    bool ascii = std::all_of(raw.begin(), raw.end(),
                             [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) return DecodeDxfEscapes(raw);
    std::optional<std::string> u;
    if (utf8_) {
      if (IsValidUtf8(raw)) u = std::string(raw);
    } else {
      u = Convert(raw, charset_.c_str(), "UTF-8");
    }
    if (!u && IsValidUtf8(raw)) u = std::string(raw);
    if (!u) u = Convert(raw, "GB18030", "UTF-8");
    if (!u) {  // undecodable bytes: keep the readable rest
      u.emplace();
      for (char c : raw)
        if (static_cast<unsigned char>(c) < 0x80)
          *u += c;
        else
          *u += "\xEF\xBF\xBD";
    }
    return DecodeDxfEscapes(*u);
  }

 private:
  bool utf8_ = false;
  std::string charset_;
};

enum class Kind {
  kOther,
  kLwPolyline,
  kPolyline,
  kVertex,
  kText,
  kMText,
  kSolid,
  kAppId,
  kSection,
  kOpaque
};

Kind KindOfObject(std::string_view type) {
  if (type == kOpaqueMarker) return Kind::kOpaque;
  if (type == "LWPOLYLINE") return Kind::kLwPolyline;
  if (type == "POLYLINE") return Kind::kPolyline;
  if (type == "VERTEX") return Kind::kVertex;
  if (type == "TEXT") return Kind::kText;
  if (type == "MTEXT") return Kind::kMText;
  if (type == "SOLID") return Kind::kSolid;
  if (type == "APPID") return Kind::kAppId;
  if (type == "SECTION") return Kind::kSection;
  return Kind::kOther;
}

// Raw groups of one DXF object that dxflib does not hand over (handle, xdata, widths, ...),
// collected from processCodeValuePair. dxflib reports an object only when the next group 0
// arrives, so the entity callbacks read the object completed last (done_).
struct ObjectInfo {
  Kind kind = Kind::kOther;
  std::string section;
  EntityId handle = kNullId;
  bool paper = false;
  std::vector<XDataGroup> xdata;
  std::vector<std::pair<double, double>> widths;  // LWPOLYLINE, per vertex
  double constant_width = 0;
  double elevation = 0;
  double start_width = 0, end_width = 0;  // VERTEX
  std::string mtext_chunks;
  // Group 50 of TEXT and MTEXT in degrees, as the file holds it: dxflib hands TEXT angles over
  // in radians (not every angle survives the trip back), and MTEXT ones in radians or degrees
  // depending on the writer the file names. The MTEXT direction vector wins over the angle.
  double direction_x = 0, direction_y = 0, rotation_deg = 0;
  bool has_direction = false;
  bool has_fourth_corner = false;
  std::string name;  // group 2
};

// Builds the drawing's layers, blocks, entities and scales from dxflib's callbacks.
class Reader : public DL_CreationAdapter {
 public:
  Reader(const Decoder& decode, const ScanResult& scan) : decode_(decode), scan_(scan) {}

  void processCodeValuePair(unsigned int code, const std::string& value) override;
  void addLayer(const DL_LayerData& d) override;
  void addBlock(const DL_BlockData& d) override;
  void endBlock() override;
  void addPoint(const DL_PointData& d) override { Add(PointEntity{{d.x, d.y, d.z}}); }
  void addLine(const DL_LineData& d) override { Add(Line{{d.x1, d.y1, d.z1}, {d.x2, d.y2, d.z2}}); }
  void addCircle(const DL_CircleData& d) override { Add(Circle{{d.cx, d.cy, d.cz}, d.radius}); }
  void addArc(const DL_ArcData& d) override;
  void addPolyline(const DL_PolylineData& d) override;
  void addVertex(const DL_VertexData& d) override;
  void addInsert(const DL_InsertData& d) override;
  void addAttribute(const DL_AttributeData& d) override;
  void endSequence() override { Close(); }
  void addText(const DL_TextData& d) override;
  void addMText(const DL_MTextData& d) override;
  void addSolid(const DL_SolidData& d) override;
  void addHatch(const DL_HatchData& d) override;
  void addHatchLoop(const DL_HatchLoopData&) override {
    if (open_ == Open::kHatch) hatch_loops_.emplace_back();
  }
  void addHatchEdge(const DL_HatchEdgeData& d) override {
    if (open_ == Open::kHatch && !hatch_loops_.empty())
      hatch_loops_.back().push_back(HatchEdge::From(d));
  }
  void endEntity() override {
    if (open_ == Open::kPolyline || open_ == Open::kHatch) Close();
  }
  void addDictionary(const DL_DictionaryData& d) override { dictionary_ = d.handle; }
  void addDictionaryEntry(const DL_DictionaryEntryData& d) override {
    dictionary_entries_.push_back({dictionary_, d.name, d.handle});
  }
  void addXRecord(const std::string& handle) override { xrecord_ = handle; }
  void addXRecordReal(int code, double value) override {
    if (code == 40 && !xrecord_reals_.count(xrecord_)) xrecord_reals_[xrecord_] = value;
  }

  // Entities read by kind: modeled ones in model space and in blocks, and opaque ones.
  std::size_t model_count() const { return Modeled(model_); }
  std::size_t block_entity_count() const;
  std::size_t opaque_count() const { return next_opaque_; }
  std::unique_ptr<Drawing> Build(const std::string& path, std::string& error);
  void Close();

 private:
  enum class Open { kNone, kPolyline, kInsert, kHatch };
  struct DictionaryEntry {
    std::string dictionary, name, handle;
  };

  std::string Decode(std::string_view raw) const { return decode_(raw); }
  std::vector<Entity>* Target();
  Entity* Add(EntityData data);
  Entity* OpenEntity() { return open_container_ ? &(*open_container_)[open_index_] : nullptr; }
  void CaptureXData(std::vector<XDataGroup>& xdata, int code, std::string_view value) const;
  void AddOpaque();
  static std::size_t Modeled(const std::vector<Entity>& entities);
  struct Scale {
    double value = 0;
    std::size_t line = 0;
  };
  std::optional<Scale> HeaderScale(const std::string& name) const;
  std::optional<Scale> XRecordScale(const std::string& entry) const;
  bool TakeScale(const std::string& entry, const std::string& header_var, const char* what,
                 double fallback, const std::string& path, double& out, std::string& error) const;

  const Decoder& decode_;
  const ScanResult& scan_;
  std::size_t next_opaque_ = 0;
  ObjectInfo cur_, done_;
  std::string section_;
  std::string header_var_;
  std::map<std::string, std::vector<std::pair<int, std::string>>> header_;
  std::vector<Layer> layers_;
  std::vector<std::string> apps_;
  std::vector<BlockDefinition> blocks_;
  BlockDefinition block_;
  bool in_block_ = false, skip_block_ = false;
  std::vector<Entity> model_;
  Open open_ = Open::kNone;
  std::vector<Entity>* open_container_ = nullptr;
  std::size_t open_index_ = 0;
  std::size_t lw_vertex_ = 0;
  std::vector<std::vector<HatchEdge>> hatch_loops_;
  std::string dictionary_, xrecord_;
  std::vector<DictionaryEntry> dictionary_entries_;
  std::map<std::string, double> xrecord_reals_;
};

void Reader::processCodeValuePair(unsigned int code, const std::string& value) {
  if (code == 0) {
    done_ = std::move(cur_);
    cur_ = ObjectInfo{};
    cur_.kind = KindOfObject(value);
    if (value == "ENDSEC") section_.clear();
    cur_.section = section_;
    header_var_.clear();
    if (done_.kind == Kind::kAppId && done_.section == "TABLES" && !done_.name.empty()) {
      std::string app = Decode(done_.name);
      if (!IEquals(app, "ACAD")) apps_.push_back(app);
    }
    if (done_.kind == Kind::kOpaque) AddOpaque();
    return;
  }
  if (cur_.kind == Kind::kSection && code == 2 && section_.empty()) {
    section_ = value;
    cur_.section = value;
    return;
  }
  if (section_ == "HEADER") {
    if (code == 9) {
      header_var_ = value;
      header_[value].clear();
    } else if (!header_var_.empty()) {
      header_[header_var_].push_back({static_cast<int>(code), value});
    }
    return;
  }
  if (code >= 1000) {
    CaptureXData(cur_.xdata, static_cast<int>(code), value);
    return;
  }
  if (!cur_.xdata.empty()) return;  // extended data closes the object's own groups
  double real = 0;
  if (KindOf(static_cast<int>(code)) == ValueKind::kReal) ParseReal(value, real);
  if (code == 5) ParseHandle(value, cur_.handle);
  if (code == 67) {
    long long n = 0;
    cur_.paper = ParseInt(value, n) && n == 1;  // as the scanner counts it
  }
  if (code == 2 && cur_.name.empty()) cur_.name = value;
  const Kind t = cur_.kind;
  if (t == Kind::kLwPolyline) {
    if (code == 10) cur_.widths.push_back({0, 0});
    if (code == 40 && !cur_.widths.empty()) cur_.widths.back().first = real;
    if (code == 41 && !cur_.widths.empty()) cur_.widths.back().second = real;
    if (code == 43) cur_.constant_width = real;
    if (code == 38) cur_.elevation = real;
  } else if (t == Kind::kPolyline) {
    if (code == 30) cur_.elevation = real;
  } else if (t == Kind::kVertex) {
    if (code == 40) cur_.start_width = real;
    if (code == 41) cur_.end_width = real;
  } else if (t == Kind::kText) {
    if (code == 50) cur_.rotation_deg = real;
  } else if (t == Kind::kMText) {
    if (code == 3) cur_.mtext_chunks += value;
    if (code == 50) cur_.rotation_deg = real;
    if (code == 11) cur_.direction_x = real, cur_.has_direction = true;
    if (code == 21) cur_.direction_y = real, cur_.has_direction = true;
  } else if (t == Kind::kSolid) {
    if (code == 13) cur_.has_fourth_corner = true;
  }
}

void Reader::CaptureXData(std::vector<XDataGroup>& xdata, int code, std::string_view value) const {
  if (code == 1001) {
    xdata.push_back({Decode(value), {}});
    return;
  }
  if (xdata.empty()) return;  // values before any application name
  XDataItem item;
  item.code = code;
  switch (KindOf(code)) {
    case ValueKind::kReal:
      ParseReal(value, item.real);
      break;
    case ValueKind::kInt: {
      long long n = 0;
      ParseInt(value, n);
      item.integer = static_cast<long>(n);
      break;
    }
    default:
      item.text = IsTextCode(code) ? Decode(value) : std::string(TrimBlanks(value));
      break;
  }
  xdata.back().items.push_back(std::move(item));
}

// The entity a stand-in replaced, from the checked pairs: its own groups until its extended
// data, then its sequence. Handles and owners are left to the writer, which numbers anew.
void Reader::AddOpaque() {
  if (next_opaque_ >= scan_.opaque.size()) return;
  const OpaqueRange range = scan_.opaque[next_opaque_++];
  Close();
  std::vector<Entity>* target = Target();
  if (!target) return;
  Entity e;
  OpaqueEntity o;
  o.type = Decode(scan_.pairs[range.first].value);
  bool main = true, xdata = false, layer = false;
  int bracket = 0;  // inside a 102 {ACAD_REACTORS ... } group: back-pointers, rebuilt by CAD
  for (std::size_t i = range.first + 1; i < range.last; ++i) {
    const Pair& p = scan_.pairs[i];
    if (p.code == 999) continue;
    if (p.code == 0) main = false, xdata = false;
    if (p.code == 5) {
      if (main) ParseHandle(p.value, e.id);
      continue;
    }
    if (p.code == 330 && bracket == 0) continue;
    if (p.code == 102) {
      bool reactors = TrimBlanks(p.value) == "{ACAD_REACTORS";
      if (reactors || (bracket > 0 && TrimBlanks(p.value) == "}")) {
        bracket = reactors;
        continue;
      }
    }
    if (bracket > 0) continue;
    if (main && (p.code >= 1000 || xdata)) {
      CaptureXData(e.xdata, p.code, p.value);
      xdata = !e.xdata.empty();  // values before an application name are dropped, not its start
      continue;
    }
    std::string value =
        KindOf(p.code) == ValueKind::kString ? Decode(p.value) : std::string(p.value);
    if (main && p.code == 8 && !layer) {  // the one the writer puts Entity::layer into
      layer = true;
      if (value.empty()) value = "0";
      e.layer = value;
    }
    if (main && p.code == 62) {
      long long c = kColorByLayer;
      ParseInt(p.value, c);
      e.color = c >= 0 && c <= 256 ? static_cast<int>(c) : kColorByLayer;
    }
    o.groups.push_back({p.code, std::move(value)});
  }
  e.id = target == &model_ ? IdOfHandle(e.id) : kNullId;
  e.data = std::move(o);
  target->push_back(std::move(e));
}

std::size_t Reader::Modeled(const std::vector<Entity>& entities) {
  return static_cast<std::size_t>(std::count_if(
      entities.begin(), entities.end(), [](const Entity& e) { return !e.As<OpaqueEntity>(); }));
}

void Reader::addLayer(const DL_LayerData& d) {
  if (done_.section != "TABLES") return;
  const DL_Attributes& a = getAttributes();
  Layer l;
  l.name = Decode(d.name);
  int color = a.getColor();
  l.off = d.off || color < 0;  // dxflib reports an off layer only by its negative colour
  color = std::abs(color);
  l.color = LayerColor(color);
  l.frozen = (d.flags & 1) != 0;
  std::string lt = Decode(a.getLinetype());
  l.linetype = IsDefaultLinetype(lt) ? "CONTINUOUS" : lt;
  if (!l.name.empty()) layers_.push_back(std::move(l));
}

void Reader::addBlock(const DL_BlockData& d) {
  if (done_.section != "BLOCKS") return;
  Close();
  in_block_ = true;
  block_ = BlockDefinition{Decode(d.name), {d.bpx, d.bpy, d.bpz}, {}};
  skip_block_ = IsLayoutBlock(block_.name);
}

void Reader::endBlock() {
  if (!in_block_) return;
  Close();
  // A layout block is kept only for the entities of another layout it may hold.
  if (!skip_block_ || !block_.entities.empty()) blocks_.push_back(std::move(block_));
  block_ = BlockDefinition{};
  in_block_ = false;
}

std::vector<Entity>* Reader::Target() {
  if (in_block_) {
    bool kept = !skip_block_ || done_.kind == Kind::kOpaque;  // layouts hold opaque ones only
    return kept && done_.section == "BLOCKS" ? &block_.entities : nullptr;
  }
  // Paper space reaches here only as opaque entities.
  if (done_.section == "ENTITIES" && (!done_.paper || done_.kind == Kind::kOpaque)) return &model_;
  return nullptr;
}

Entity* Reader::Add(EntityData data) {
  Close();
  std::vector<Entity>* target = Target();
  if (!target) return nullptr;
  const DL_Attributes& a = getAttributes();
  Entity e;
  e.layer = Decode(a.getLayer());
  if (e.layer.empty()) e.layer = "0";
  int color = a.getColor();
  e.color = color >= 0 && color <= 256 ? color : kColorByLayer;
  e.xdata = done_.xdata;
  if (target == &model_) e.id = IdOfHandle(done_.handle);  // blocks hold no ids of ours
  e.data = std::move(data);
  target->push_back(std::move(e));
  open_container_ = target;
  open_index_ = target->size() - 1;
  return &target->back();
}

void Reader::Close() {
  if (open_ == Open::kHatch) {
    if (Entity* e = OpenEntity()) {
      Hatch& h = std::get<Hatch>(e->data);
      for (const auto& edges : hatch_loops_) {
        std::vector<Point3> pts = HatchLoopPoints(edges);
        if (!pts.empty()) h.loops.push_back(std::move(pts));
      }
    }
    hatch_loops_.clear();
  }
  open_ = Open::kNone;
  open_container_ = nullptr;
}

void Reader::addArc(const DL_ArcData& d) {
  // The database has no arc: an open polyline of one bulged segment is the same curve.
  double sweep = std::fmod(d.angle2 - d.angle1, 360.0);
  if (sweep <= 0) sweep += 360.0;
  int segments = sweep > 359.999 ? 2 : 1;
  Polyline pl;
  for (int k = 0; k <= segments; ++k) {
    double a = (d.angle1 + sweep * k / segments) * kDegToRad;
    PolylineVertex v;
    v.x = d.cx + d.radius * std::cos(a);
    v.y = d.cy + d.radius * std::sin(a);
    v.bulge = k < segments ? std::tan(sweep / segments * kDegToRad / 4) : 0;
    pl.vertices.push_back(v);
  }
  pl.elevation = d.cz;
  Add(std::move(pl));
}

void Reader::addPolyline(const DL_PolylineData& d) {
  Polyline pl;
  pl.closed = (d.flags & 1) != 0;
  pl.elevation = done_.elevation;
  if (done_.kind == Kind::kLwPolyline) pl.constant_width = done_.constant_width;
  if (Add(std::move(pl))) open_ = Open::kPolyline;
  lw_vertex_ = 0;
}

void Reader::addVertex(const DL_VertexData& d) {
  Entity* e = open_ == Open::kPolyline ? OpenEntity() : nullptr;
  if (!e) return;
  PolylineVertex v;
  v.x = d.x;
  v.y = d.y;
  v.bulge = std::isfinite(d.bulge) ? d.bulge : 0;
  if (done_.kind == Kind::kVertex) {
    v.start_width = done_.start_width;
    v.end_width = done_.end_width;
  } else if (lw_vertex_ < done_.widths.size()) {
    v.start_width = done_.widths[lw_vertex_].first;
    v.end_width = done_.widths[lw_vertex_].second;
  }
  ++lw_vertex_;
  std::get<Polyline>(e->data).vertices.push_back(v);
}

void Reader::addInsert(const DL_InsertData& d) {
  BlockReference r;
  r.block = Decode(d.name);
  r.position = {d.ipx, d.ipy, d.ipz};
  r.rotation_deg = d.angle;
  r.scale_x = d.sx;
  r.scale_y = d.sy;
  r.scale_z = d.sz;
  if (Add(std::move(r))) open_ = Open::kInsert;
}

void Reader::addAttribute(const DL_AttributeData& d) {
  Entity* e = open_ == Open::kInsert ? OpenEntity() : nullptr;
  if (!e) return;
  Attribute a;
  a.tag = Decode(d.tag);
  a.text = Decode(d.text);
  if (std::isfinite(d.ipx) && std::isfinite(d.ipy))
    a.position = {d.ipx, d.ipy, std::isfinite(d.ipz) ? d.ipz : 0};
  a.height = d.height;
  std::get<BlockReference>(e->data).attributes.push_back(std::move(a));
}

// The Chinese style is written for texts of the default style; read it back as that default.
std::string StyleFromFile(const std::string& style) {
  return style.empty() || IEquals(style, kCjkStyle) ? "Standard" : style;
}

void Reader::addText(const DL_TextData& d) {
  Text t;
  t.middle = (d.hJustification == 1 && d.vJustification == 2) || d.hJustification == 4;
  bool aligned = t.middle && std::isfinite(d.apx) && std::isfinite(d.apy);
  t.position = aligned ? Point3{d.apx, d.apy, std::isfinite(d.apz) ? d.apz : 0}
                       : Point3{d.ipx, d.ipy, d.ipz};
  t.height = d.height;
  t.rotation = done_.rotation_deg;
  t.text = Decode(d.text);
  t.style = StyleFromFile(Decode(d.style));
  Add(std::move(t));
}

void Reader::addMText(const DL_MTextData& d) {
  MText m;
  m.position = {d.ipx, d.ipy, d.ipz};
  m.height = d.height;
  m.width = d.width;
  bool direction = done_.has_direction && (done_.direction_x != 0 || done_.direction_y != 0);
  m.rotation =
      direction ? std::atan2(done_.direction_y, done_.direction_x) : done_.rotation_deg * kDegToRad;
  m.attachment = d.attachmentPoint >= 1 && d.attachmentPoint <= 9 ? d.attachmentPoint : 1;
  m.text = Decode(done_.mtext_chunks + d.text);  // chunks first, decoded together
  m.style = StyleFromFile(Decode(d.style));
  Add(std::move(m));
}

void Reader::addSolid(const DL_SolidData& d) {
  Solid s;
  for (int i = 0; i < 4; ++i) s.corners[i] = {d.x[i], d.y[i], d.z[i]};
  if (!done_.has_fourth_corner) s.corners[3] = s.corners[2];
  Add(std::move(s));
}

void Reader::addHatch(const DL_HatchData& d) {
  Hatch h;
  std::string pattern = Decode(d.pattern);
  h.pattern = d.solid || pattern.empty() ? "SOLID" : pattern;
  if (Add(std::move(h))) open_ = Open::kHatch;
  hatch_loops_.clear();
}

std::size_t Reader::block_entity_count() const {
  std::size_t n = 0;
  for (const auto& b : blocks_) n += Modeled(b.entities);
  return n;
}

std::optional<Reader::Scale> Reader::HeaderScale(const std::string& name) const {
  auto it = header_.find(name);
  double v;
  if (it == header_.end() || it->second.empty() || !ParseReal(it->second.front().second, v) ||
      v == 0)  // 0 is the value CAD programs give an unset $USERRn
    return std::nullopt;
  auto line = scan_.header_lines.find(name);
  return Scale{v, line == scan_.header_lines.end() ? 0 : line->second};
}

std::optional<Reader::Scale> Reader::XRecordScale(const std::string& entry) const {
  for (const auto& root : dictionary_entries_) {
    if (root.name != kScaleDictionary) continue;
    for (const auto& e : dictionary_entries_) {
      if (e.dictionary != root.handle || e.name != entry) continue;
      auto it = xrecord_reals_.find(e.handle);
      if (it == xrecord_reals_.end()) continue;
      auto line = scan_.xrecord_lines.find(e.handle);
      return Scale{it->second, line == scan_.xrecord_lines.end() ? 0 : line->second};
    }
  }
  return std::nullopt;
}

// A scale from our XRECORD, else from the header (other programs may overwrite $USERRn; the
// XRECORDs are ours alone), else the default. A stored scale out of range refuses the file.
bool Reader::TakeScale(const std::string& entry, const std::string& header_var, const char* what,
                       double fallback, const std::string& path, double& out,
                       std::string& error) const {
  constexpr double kMin = 1e-6, kMax = 1e6;
  std::optional<Scale> found[] = {XRecordScale(entry), HeaderScale(header_var)};
  const std::string where[] = {"XRECORD " + entry, header_var};
  out = fallback;
  for (int i = 1; i >= 0; --i) {
    if (!found[i]) continue;
    if (!(found[i]->value >= kMin && found[i]->value <= kMax)) {
      char value[32];
      std::snprintf(value, sizeof value, "%.6g", found[i]->value);
      error = path + ":" + std::to_string(found[i]->line) + ": the " + what + " (" + where[i] +
              ") " + value + " is out of range (0.000001 to 1000000)";
      return false;
    }
    out = found[i]->value;
  }
  return true;
}

std::unique_ptr<Drawing> Reader::Build(const std::string& path, std::string& error) {
  auto d = std::make_unique<Drawing>();
  double arch = 1, draw = 100;
  if (!TakeScale(kArchScaleEntry, "$USERR1", "architectural scale", 1, path, arch, error) ||
      !TakeScale(kDrawScaleEntry, "$USERR2", "drawing scale", 100, path, draw, error))
    return nullptr;
  for (const Layer& l : layers_) d->EnsureLayer(l.name, l.color) = l;
  for (const std::string& app : apps_) d->RegisterApp(app);
  auto declare = [&](const Entity& e) {  // its layer and xdata applications
    d->EnsureLayer(e.layer);
    for (const auto& g : e.xdata) d->RegisterApp(g.app);
    if (const auto* o = e.As<OpaqueEntity>())
      for (const auto& g : o->groups)
        if (g.code == 1001) d->RegisterApp(g.value);
  };
  for (auto& b : blocks_) {
    for (const Entity& e : b.entities) declare(e);
    d->SetBlock(std::move(b));
  }
  std::vector<std::string> cycle = BlockCycle(*d);
  if (!cycle.empty()) {
    std::string chain;
    for (const auto& name : cycle) chain += (chain.empty() ? "" : " -> ") + name;
    error = path + ": block '" + cycle.front() + "' contains itself (" + chain + ")";
    return nullptr;
  }
  for (Entity& e : model_) {
    declare(e);
    d->AddWithId(std::move(e));
  }
  d->set_arch_scale(arch);
  d->set_draw_scale(draw);
  for (const auto& [name, groups] : header_) {
    if (groups.empty() || IsOwnHeaderVariable(name)) continue;
    std::string value;
    if (groups.size() == 1 && IsTextCode(groups[0].first)) {
      value = Decode(groups[0].second);
    } else {
      for (std::size_t i = 0; i < groups.size(); ++i) {
        if (i) value += ',';
        value += TrimBlanks(groups[i].second);
      }
    }
    d->header[name] = value;
  }
  d->set_path(path);
  d->ClearUndo();
  return d;
}

}  // namespace
}  // namespace nyhost::dxf

namespace nyhost {

std::unique_ptr<Drawing> ReadDxf(const std::string& path, DxfResult& result) {
  result = DxfResult{};
  std::string bytes;
  if (!dxf::ReadWholeFile(path, bytes, result.error)) return nullptr;
  dxf::ScanResult scan;
  if (!dxf::CheckDxf(bytes, path, scan, result.error)) return nullptr;
  dxf::Decoder decoder(scan, bytes);
  dxf::Reader reader(decoder, scan);
  std::string error;
  if (!dxf::RunDxflib(dxf::Reserialise(scan), reader, error)) {
    result.error = path + ": " + error;
    return nullptr;
  }
  reader.Close();
  if (reader.model_count() != scan.model_entities ||
      reader.block_entity_count() != scan.block_entities ||
      reader.opaque_count() != scan.opaque.size()) {
    result.error =
        path + ": could not read all entities (read " +
        std::to_string(reader.model_count() + reader.block_entity_count() + reader.opaque_count()) +
        " of " + std::to_string(scan.model_entities + scan.block_entities + scan.opaque.size()) +
        ")";
    return nullptr;
  }
  auto drawing = reader.Build(path, result.error);
  result.ok = drawing != nullptr;
  return drawing;
}

}  // namespace nyhost
