// DXF reading and writing on top of dxflib.
//
// Reading runs in three steps. A scanner of our own checks the whole file first (group codes,
// numbers, section/table/block/sequence structure, vertex counts), because dxflib accepts garbage
// silently and crashes on some malformed entities. Only a file that passes is handed to dxflib,
// re-serialised from the checked pairs and read from memory. Finally the entity count dxflib
// delivered is compared with the scanner's count, so a drawing is either complete or not returned.
//
// Writing goes through dxflib's writer functions into a memory buffer (by overriding the writer's
// output primitives), the result is checked with the same scanner, and then written atomically.
#include "host/dxf_io.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <bitset>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/text_codec.h"
#include "host/text_util.h"

namespace nyhost {
namespace {

// dxflib reads lines with fgets into a 1024-byte buffer: a longer line is split in two and
// shifts every following group, so longer lines are refused on reading and never written.
constexpr std::size_t kMaxLineBytes = 1022;
// AutoCAD's limit for one MTEXT chunk (groups 3 and 1).
constexpr std::size_t kMTextChunkBytes = 250;
// Text style that LibreCAD renders Chinese with (it picks glyphs by style name).
constexpr const char* kCjkStyle = "unicode";
// Named dictionary in OBJECTS that keeps the scales as XRECORDs.
constexpr const char* kScaleDictionary = "NYLUXORA";
constexpr const char* kArchScaleEntry = "ArchScale";
constexpr const char* kDrawScaleEntry = "DrawScale";
// dxflib writes tables and standard objects with fixed handles below this value.
constexpr EntityId kFirstFreeHandle = 0x30;
constexpr EntityId kMaxWritableHandle = 0x7FFFFFF0;  // dxflib writes handles through int

// ---------------------------------------------------------------- small parsers

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

bool ParseInt(std::string_view s, long long& v) {
  s = TrimBlanks(s);
  if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.remove_prefix(1);
  if (s.empty()) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size();
}

// Accepts a decimal comma as dxflib does, so both read the same value.
bool ParseReal(std::string_view s, double& v) {
  s = TrimBlanks(s);
  if (s.size() > 1 && s[0] == '+' && s[1] != '-') s.remove_prefix(1);
  if (s.empty() || s.size() > 400) return false;
  std::string comma;
  if (s.find(',') != std::string_view::npos) {
    comma = std::string(s);
    std::replace(comma.begin(), comma.end(), ',', '.');
    s = comma;
  }
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(v);
}

bool ParseHandle(std::string_view s, EntityId& h) {
  s = TrimBlanks(s);
  if (s.empty() || s.size() > 16) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), h, 16);
  return ec == std::errc() && end == s.data() + s.size();
}

bool IEquals(std::string_view a, std::string_view b) { return ToLowerAscii(a) == ToLowerAscii(b); }

// A piece of file content fit for an error message.
std::string Snippet(std::string_view s) {
  std::size_t n = std::min<std::size_t>(s.size(), 40);
  while (n > 0 && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
  std::string out(s.substr(0, n));
  bool utf8 = IsValidUtf8(out);
  for (char& c : out) {
    auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F || (u >= 0x80 && !utf8)) c = '?';
  }
  if (n < s.size()) out += "...";
  return out;
}

enum class ValueKind { kString, kReal, kInt, kHandle };

ValueKind KindOf(int code) {
  if (code == 5 || code == 105) return ValueKind::kHandle;
  if ((code >= 10 && code <= 59) || (code >= 110 && code <= 149) || (code >= 210 && code <= 239) ||
      (code >= 460 && code <= 469) || (code >= 1010 && code <= 1059))
    return ValueKind::kReal;
  if ((code >= 60 && code <= 99) || (code >= 160 && code <= 179) || (code >= 270 && code <= 299) ||
      (code >= 370 && code <= 389) || (code >= 400 && code <= 409) ||
      (code >= 420 && code <= 429) || (code >= 440 && code <= 459) ||
      (code >= 1060 && code <= 1071))
    return ValueKind::kInt;
  return ValueKind::kString;
}

bool IsTextCode(int code) {
  return (code >= 1 && code <= 4) || (code >= 6 && code <= 9) || code == 1000 || code == 1001 ||
         code == 1003;
}

// The model- and paper-space layout blocks hold no definition of ours.
bool IsLayoutBlock(std::string_view name) {
  std::string lower = ToLowerAscii(name);
  return lower == "*model_space" || lower.rfind("*paper_space", 0) == 0;
}

// Entity kinds the drawing database keeps (ARC becomes a bulged polyline).
bool IsKeptEntity(std::string_view type) {
  static constexpr std::string_view kKinds[] = {"INSERT", "LWPOLYLINE", "POLYLINE", "TEXT",
                                                "MTEXT",  "POINT",      "LINE",     "CIRCLE",
                                                "ARC",    "SOLID",      "HATCH"};
  return std::find(std::begin(kKinds), std::end(kKinds), type) != std::end(kKinds);
}

bool IsKnownSection(std::string_view name) {
  static constexpr std::string_view kSections[] = {
      "HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS", "THUMBNAILIMAGE", "ACDSDATA"};
  return std::find(std::begin(kSections), std::end(kSections), name) != std::end(kSections);
}

// ---------------------------------------------------------------- scanner

struct Pair {
  int code;
  std::string_view value;
  std::size_t line;  // line of the group code, 1-based
};

struct ScanResult {
  std::vector<Pair> pairs;  // up to and including 0/EOF
  std::string acadver;
  std::string codepage;
  std::size_t model_entities = 0;  // kept kinds in ENTITIES, model space
  std::size_t block_entities = 0;  // kept kinds inside block definitions
};

// Checks a whole file before dxflib sees it; the error names the file and the line.
class Scanner {
 public:
  Scanner(std::string_view text, const std::string& name) : text_(text), name_(name) {}

  bool Run(ScanResult& out, std::string& error);

 private:
  struct Object {
    std::string_view type;
    std::size_t line = 0;
    std::size_t pairs = 0;
    std::bitset<1072> seen;
    int count10 = 0, count20 = 0, count92 = 0;
    long long n90 = -1, n91 = -1, n66 = 0, max_count = 0;
    bool vertex_before_count = false, bulge_before_vertex = false, paper = false;
    std::string_view name;
  };

  bool Fail(std::size_t line, const std::string& msg) {
    error_ = name_ + ":" + std::to_string(line) + ": " + msg;
    return false;
  }
  bool FailFile(const std::string& msg) {
    error_ = name_ + ": " + msg;
    return false;
  }
  bool CheckValue(int code, std::string_view value, std::size_t line);
  bool HandlePair(const Pair& p);
  bool StartObject(std::string_view type, std::size_t line);
  bool FinishObject();
  void AddToObject(const Pair& p);

  std::string_view text_;
  std::string name_;
  std::string error_;
  ScanResult* out_ = nullptr;
  enum class State { kTop, kSectionName, kBody } state_ = State::kTop;
  std::string section_;
  std::string header_var_;
  bool in_table_ = false, in_block_ = false, skip_block_ = false, eof_ = false;
  bool have_object_ = false;
  std::string sequence_owner_;  // INSERT or POLYLINE while ATTRIB/VERTEX ... SEQEND is due
  Object obj_;
};

bool Scanner::Run(ScanResult& out, std::string& error) {
  out_ = &out;
  std::string_view t = text_;
  if (t.rfind("AutoCAD Binary DXF", 0) == 0) {
    error = name_ + ": binary DXF is not supported";
    return false;
  }
  if (t.rfind("\xEF\xBB\xBF", 0) == 0) t.remove_prefix(3);
  if (t.find_first_not_of(" \t\r\n") == std::string_view::npos) {
    error = name_ + ": empty file";
    return false;
  }
  bool have_code = false;
  int code = 0;
  std::size_t code_line = 0, line_no = 0, pos = 0;
  while (pos < t.size() && !eof_) {
    std::size_t nl = t.find('\n', pos);
    std::size_t end = nl == std::string_view::npos ? t.size() : nl;
    std::string_view line = t.substr(pos, end - pos);
    pos = end + 1;
    ++line_no;
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.find('\0') != std::string_view::npos) {
      Fail(line_no, "binary data in a text DXF file");
      break;
    }
    if (line.size() > kMaxLineBytes) {
      Fail(line_no, "line is longer than " + std::to_string(kMaxLineBytes) + " bytes");
      break;
    }
    if (!have_code) {
      long long c;
      if (!ParseInt(line, c)) {
        Fail(line_no, "expected a group code, found '" + Snippet(line) + "'");
        break;
      }
      if (c < 0 || c > 1071) {
        Fail(line_no, "group code " + std::to_string(c) + " is out of range");
        break;
      }
      code = static_cast<int>(c);
      code_line = line_no;
      have_code = true;
      continue;
    }
    have_code = false;
    if (!CheckValue(code, line, line_no) || !HandlePair({code, line, code_line})) break;
  }
  if (error_.empty() && !eof_) FailFile("truncated: no EOF");
  if (!error_.empty()) {
    error = error_;
    return false;
  }
  return true;
}

bool Scanner::CheckValue(int code, std::string_view value, std::size_t line) {
  switch (KindOf(code)) {
    case ValueKind::kReal: {
      double v;
      if (!ParseReal(value, v))
        return Fail(line, "group code " + std::to_string(code) + " needs a number, found '" +
                              Snippet(value) + "'");
      return true;
    }
    case ValueKind::kInt: {
      long long v;
      bool wide = code >= 160 && code <= 169;
      if (!ParseInt(value, v) || (!wide && (v < INT32_MIN || v > INT32_MAX)))
        return Fail(line, "group code " + std::to_string(code) + " needs a whole number, found '" +
                              Snippet(value) + "'");
      return true;
    }
    case ValueKind::kHandle: {
      EntityId h;
      if (!ParseHandle(value, h))
        return Fail(line, "group code " + std::to_string(code) + " needs a handle, found '" +
                              Snippet(value) + "'");
      return true;
    }
    case ValueKind::kString:
      return true;
  }
  return true;
}

bool Scanner::HandlePair(const Pair& p) {
  out_->pairs.push_back(p);
  if (p.code == 999) return true;  // comments may stand anywhere
  std::string_view v = p.value;
  switch (state_) {
    case State::kTop:
      if (p.code != 0)
        return Fail(p.line,
                    "expected group code 0 (SECTION or EOF), found " + std::to_string(p.code));
      if (v == "EOF") {
        eof_ = true;
        return true;
      }
      if (v != "SECTION")
        return Fail(p.line, "expected SECTION or EOF, found '" + Snippet(v) + "'");
      state_ = State::kSectionName;
      return true;
    case State::kSectionName:
      if (p.code != 2) return Fail(p.line, "SECTION without a name");
      if (!IsKnownSection(v)) return Fail(p.line, "unknown section '" + Snippet(v) + "'");
      section_ = std::string(v);
      state_ = State::kBody;
      have_object_ = false;
      return true;
    case State::kBody:
      if (p.code == 0) return FinishObject() && StartObject(v, p.line);
      if (section_ == "HEADER") {
        if (p.code == 9) {
          header_var_ = std::string(v);
        } else if (header_var_ == "$ACADVER" && p.code == 1) {
          out_->acadver = std::string(TrimBlanks(v));
        } else if (header_var_ == "$DWGCODEPAGE" && p.code == 3) {
          out_->codepage = std::string(TrimBlanks(v));
        }
      }
      if (have_object_) AddToObject(p);
      return true;
  }
  return true;
}

bool Scanner::StartObject(std::string_view type, std::size_t line) {
  std::string t(type);
  if (type == "ENDSEC") {
    if (!sequence_owner_.empty()) return Fail(line, "missing SEQEND after " + sequence_owner_);
    if (in_table_) return Fail(line, "TABLE not closed by ENDTAB before ENDSEC");
    if (in_block_) return Fail(line, "BLOCK not closed by ENDBLK before ENDSEC");
    state_ = State::kTop;
    section_.clear();
    have_object_ = false;
    return true;
  }
  if (type == "SECTION" || type == "EOF")
    return Fail(line, t + " inside section " + section_ + " (missing ENDSEC)");
  if (!sequence_owner_.empty()) {
    std::string member = sequence_owner_ == "INSERT" ? "ATTRIB" : "VERTEX";
    if (type == "SEQEND") {
      sequence_owner_.clear();
    } else if (type != member) {
      return Fail(line, "expected " + member + " or SEQEND after " + sequence_owner_ + ", found '" +
                            Snippet(type) + "'");
    }
  } else if (type == "ATTRIB" || type == "VERTEX" || type == "SEQEND") {
    return Fail(line, t + " outside of an INSERT or POLYLINE");
  }
  if (section_ == "TABLES") {
    if (type == "TABLE") {
      if (in_table_) return Fail(line, "TABLE inside TABLE (missing ENDTAB)");
      in_table_ = true;
    } else if (type == "ENDTAB") {
      if (!in_table_) return Fail(line, "ENDTAB without TABLE");
      in_table_ = false;
    } else if (!in_table_) {
      return Fail(line, "table record '" + Snippet(type) + "' outside of a TABLE");
    }
  } else if (section_ == "BLOCKS") {
    if (type == "BLOCK") {
      if (in_block_) return Fail(line, "BLOCK inside BLOCK (missing ENDBLK)");
      in_block_ = true;
    } else if (type == "ENDBLK") {
      if (!in_block_) return Fail(line, "ENDBLK without BLOCK");
      in_block_ = false;
    } else if (!in_block_) {
      return Fail(line, "entity '" + Snippet(type) + "' outside of a BLOCK");
    }
  } else if (section_ == "ENTITIES" &&
             (type == "BLOCK" || type == "ENDBLK" || type == "TABLE" || type == "ENDTAB")) {
    return Fail(line, t + " in the ENTITIES section");
  }
  obj_ = Object{};
  obj_.type = type;
  obj_.line = line;
  have_object_ = true;
  return true;
}

void Scanner::AddToObject(const Pair& p) {
  Object& o = obj_;
  ++o.pairs;
  o.seen.set(static_cast<std::size_t>(p.code));
  long long n = 0;
  if (KindOf(p.code) == ValueKind::kInt) ParseInt(p.value, n);
  if (p.code == 2 && o.name.empty()) o.name = p.value;
  if (p.code == 66) o.n66 = n;
  if (p.code == 67) o.paper = n == 1;
  if (o.type == "LWPOLYLINE") {
    if (p.code == 90) {
      o.n90 = n;
      if (o.count10 > 0) o.vertex_before_count = true;
    }
    if (p.code == 10) ++o.count10;
    if (p.code == 20) ++o.count20;
    if (p.code == 42 && o.count10 == 0) o.bulge_before_vertex = true;
  } else if (o.type == "HATCH") {
    if (p.code == 91) o.n91 = n;
    if (p.code == 92) ++o.count92;
  } else if ((o.type == "SPLINE" && p.code >= 72 && p.code <= 74) ||
             (o.type == "LEADER" && p.code == 76)) {
    o.max_count = std::max(o.max_count, n);
  }
}

bool Scanner::FinishObject() {
  if (!have_object_) return true;
  const Object& o = obj_;
  const std::string type(o.type);
  // Groups without which dxflib would make up a value.
  static const struct {
    std::string_view type;
    int codes[7];  // 0 ends the list
  } kRequired[] = {
      {"LINE", {10, 20, 11, 21}}, {"CIRCLE", {10, 20, 40}}, {"ARC", {10, 20, 40, 50, 51}},
      {"POINT", {10, 20}},        {"TEXT", {10, 20, 1}},    {"MTEXT", {10, 20}},
      {"INSERT", {2, 10, 20}},    {"ATTRIB", {10, 20, 2}},  {"SOLID", {10, 20, 11, 21, 12, 22}},
      {"VERTEX", {10, 20}},       {"BLOCK", {2}},           {"LAYER", {2}},
  };
  for (const auto& r : kRequired) {
    if (r.type != o.type) continue;
    for (int c : r.codes) {
      if (c == 0) break;
      if (!o.seen.test(static_cast<std::size_t>(c)))
        return Fail(o.line, type + " is missing group code " + std::to_string(c));
    }
  }
  if (o.type == "LWPOLYLINE") {
    if (o.n90 < 0) return Fail(o.line, "LWPOLYLINE has no vertex count (group code 90)");
    if (o.vertex_before_count)
      return Fail(o.line, "LWPOLYLINE vertex count (group code 90) after its first vertex");
    if (o.bulge_before_vertex)
      return Fail(o.line, "LWPOLYLINE bulge (group code 42) before its first vertex");
    if (o.n90 != o.count10 || o.count10 != o.count20)
      return Fail(o.line, "LWPOLYLINE declares " + std::to_string(o.n90) + " vertices but holds " +
                              std::to_string(std::min(o.count10, o.count20)));
  }
  if (o.type == "HATCH" && o.n91 != o.count92)
    return Fail(o.line, "HATCH declares " + std::to_string(std::max(o.n91, 0LL)) +
                            " boundary loops but holds " + std::to_string(o.count92));
  if (o.max_count > static_cast<long long>(o.pairs))
    return Fail(o.line, type + " declares more points than it holds");

  if (o.type == "INSERT" && o.n66 == 1) sequence_owner_ = "INSERT";
  if (o.type == "POLYLINE") sequence_owner_ = "POLYLINE";
  if (o.type == "BLOCK") skip_block_ = IsLayoutBlock(o.name);
  if (IsKeptEntity(o.type)) {
    if (section_ == "ENTITIES" && !o.paper) ++out_->model_entities;
    if (section_ == "BLOCKS" && in_block_ && !skip_block_) ++out_->block_entities;
  }
  have_object_ = false;
  return true;
}

// What dxflib reads: the checked pairs, one line each, without the comments it trips over.
std::string Reserialise(const ScanResult& scan) {
  std::string out;
  out.reserve(scan.pairs.size() * 12);
  for (const Pair& p : scan.pairs) {
    // dxflib throws on a comment that is exactly "dxflib" (it parses a version after it).
    if (p.code == 999 && p.value.rfind("dxflib", 0) == 0 && p.value.size() < 8) continue;
    out += std::to_string(p.code);
    out += '\n';
    out += p.value;
    out += '\n';
  }
  return out;
}

// ---------------------------------------------------------------- text decoding

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

// ---------------------------------------------------------------- dxflib reader

enum class Kind { kOther, kLwPolyline, kPolyline, kVertex, kMText, kSolid, kAppId, kSection };

Kind KindOfObject(std::string_view type) {
  if (type == "LWPOLYLINE") return Kind::kLwPolyline;
  if (type == "POLYLINE") return Kind::kPolyline;
  if (type == "VERTEX") return Kind::kVertex;
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
  // MTEXT direction: dxflib reads group 50 as radians unless the file names a recent dxflib as
  // its writer, although writers (dxflib's own included) put degrees there.
  double direction_x = 0, direction_y = 0, rotation_deg = 0;
  bool has_direction = false;
  bool has_fourth_corner = false;
  std::string name;  // group 2
};

// The parts of a hatch boundary edge we use. dxflib's edge struct leaves members such as its
// bool ccw uninitialised, so copying it whole reads indeterminate values; copy field by field.
struct HatchEdge {
  int type = 0;  // 0 polyline, 1 line, 2 arc, 3 elliptic arc, 4 spline
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  double cx = 0, cy = 0, radius = 0, angle1 = 0, angle2 = 0, mx = 0, my = 0, ratio = 1;
  bool ccw = true;
  std::vector<std::vector<double>> points;  // polyline vertices, else spline fit/control points

  static HatchEdge From(const DL_HatchEdgeData& d) {
    HatchEdge e;
    e.type = d.type;
    switch (d.type) {
      case 0:
        e.points = d.vertices;
        break;
      case 1:
        e.x1 = d.x1, e.y1 = d.y1, e.x2 = d.x2, e.y2 = d.y2;
        break;
      case 2:
      case 3: {
        unsigned char ccw;  // may never have been set: read the byte, not the bool
        std::memcpy(&ccw, &d.ccw, 1);
        e.ccw = ccw != 0;
        e.cx = d.cx, e.cy = d.cy, e.angle1 = d.angle1, e.angle2 = d.angle2;
        if (d.type == 2) e.radius = d.radius;
        if (d.type == 3) e.mx = d.mx, e.my = d.my, e.ratio = d.ratio;
        break;
      }
      case 4:
        e.points = d.fitPoints.empty() ? d.controlPoints : d.fitPoints;
        break;
      default:
        break;
    }
    return e;
  }
};

class Reader : public DL_CreationAdapter {
 public:
  explicit Reader(const Decoder& decode) : decode_(decode) {}

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

  std::size_t model_count() const { return model_.size(); }
  std::size_t block_entity_count() const;
  std::unique_ptr<Drawing> Build(const std::string& path);
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
  void CaptureXData(int code, const std::string& value);
  std::optional<double> HeaderReal(const std::string& name) const;
  std::optional<double> XRecordScale(const std::string& entry) const;

  const Decoder& decode_;
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
    CaptureXData(static_cast<int>(code), value);
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
  } else if (t == Kind::kMText) {
    if (code == 3) cur_.mtext_chunks += value;
    if (code == 50) cur_.rotation_deg = real;
    if (code == 11) cur_.direction_x = real, cur_.has_direction = true;
    if (code == 21) cur_.direction_y = real, cur_.has_direction = true;
  } else if (t == Kind::kSolid) {
    if (code == 13) cur_.has_fourth_corner = true;
  }
}

void Reader::CaptureXData(int code, const std::string& value) {
  if (code == 1001) {
    cur_.xdata.push_back({Decode(value), {}});
    return;
  }
  if (cur_.xdata.empty()) return;  // values before any application name
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
  cur_.xdata.back().items.push_back(std::move(item));
}

void Reader::addLayer(const DL_LayerData& d) {
  if (done_.section != "TABLES") return;
  const DL_Attributes& a = getAttributes();
  Layer l;
  l.name = Decode(d.name);
  int color = a.getColor();
  l.off = d.off || color < 0;  // dxflib reports an off layer only by its negative colour
  color = std::abs(color);
  l.color = color >= 1 && color <= 255 ? color : 7;
  l.frozen = (d.flags & 1) != 0;
  std::string lt = Decode(a.getLinetype());
  l.linetype = lt.empty() || IEquals(lt, "BYLAYER") || IEquals(lt, "BYBLOCK") ? "CONTINUOUS" : lt;
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
  if (!skip_block_) blocks_.push_back(std::move(block_));
  block_ = BlockDefinition{};
  in_block_ = false;
}

std::vector<Entity>* Reader::Target() {
  if (in_block_) return skip_block_ || done_.section != "BLOCKS" ? nullptr : &block_.entities;
  if (done_.section == "ENTITIES" && !done_.paper) return &model_;
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
  if (target == &model_) e.id = done_.handle;  // block contents carry no ids of ours
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
        std::vector<Point3> pts;
        bool have_polyline = false;
        auto push = [&](double x, double y) {
          if (!std::isfinite(x) || !std::isfinite(y)) return;
          Point3 p{x, y, 0};
          if (pts.empty() || !(pts.back() == p)) pts.push_back(p);
        };
        auto arc = [&](double cx, double cy, double rx, double ry, double rot, double a0,
                       double a1) {
          int n = std::clamp(static_cast<int>(std::ceil(std::abs(a1 - a0) / 0.2)), 1, 64);
          for (int k = 0; k <= n; ++k) {
            double a = a0 + (a1 - a0) * k / n;
            double x = rx * std::cos(a), y = ry * std::sin(a);
            push(cx + x * std::cos(rot) - y * std::sin(rot),
                 cy + x * std::sin(rot) + y * std::cos(rot));
          }
        };
        for (const HatchEdge& edge : edges) {
          switch (edge.type) {
            case 0: {  // polyline loop; dxflib adds seed points as a second polyline edge
              if (have_polyline) break;
              have_polyline = true;
              const auto& v = edge.points;
              for (std::size_t i = 0; i < v.size(); ++i) {
                if (v[i].size() < 2) continue;
                push(v[i][0], v[i][1]);
                double bulge = v[i].size() > 2 ? v[i][2] : 0;
                const auto& next = v[(i + 1) % v.size()];
                if (bulge != 0 && next.size() >= 2) {
                  // Arc through the chord from this vertex to the next.
                  double dx = next[0] - v[i][0], dy = next[1] - v[i][1];
                  double chord = std::hypot(dx, dy), sweep = 4 * std::atan(bulge);
                  if (chord <= 0) continue;
                  double r = chord / (2 * std::sin(sweep / 2));
                  double mx = (v[i][0] + next[0]) / 2, my = (v[i][1] + next[1]) / 2;
                  double h = r * std::cos(sweep / 2);
                  double cx = mx - h * dy / chord, cy = my + h * dx / chord;
                  double a0 = std::atan2(v[i][1] - cy, v[i][0] - cx);
                  arc(cx, cy, std::abs(r), std::abs(r), 0, a0, a0 + sweep);
                }
              }
              break;
            }
            case 1:
              push(edge.x1, edge.y1);
              push(edge.x2, edge.y2);
              break;
            case 2: {  // clockwise arcs store mirrored angles
              double a0 = edge.angle1, a1 = edge.angle2;
              if (!edge.ccw) a0 = -a0, a1 = -a1;
              if (edge.ccw && a1 < a0) a1 += 2 * std::numbers::pi;
              if (!edge.ccw && a1 > a0) a1 -= 2 * std::numbers::pi;
              arc(edge.cx, edge.cy, edge.radius, edge.radius, 0, a0, a1);
              break;
            }
            case 3: {
              double major = std::hypot(edge.mx, edge.my);
              double a0 = edge.angle1, a1 = edge.angle2;
              if (!edge.ccw) a0 = -a0, a1 = -a1;
              if (edge.ccw && a1 < a0) a1 += 2 * std::numbers::pi;
              if (!edge.ccw && a1 > a0) a1 -= 2 * std::numbers::pi;
              arc(edge.cx, edge.cy, major, major * edge.ratio, std::atan2(edge.my, edge.mx), a0,
                  a1);
              break;
            }
            case 4:  // splines: their fit points, else control points
              for (const auto& p : edge.points)
                if (p.size() >= 2) push(p[0], p[1]);
              break;
            default:
              break;
          }
        }
        if (pts.size() > 1 && pts.front() == pts.back()) pts.pop_back();
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
  r.rotation = d.angle * kDegToRad;
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
  t.rotation = d.angle;
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
  for (const auto& b : blocks_) n += b.entities.size();
  return n;
}

std::optional<double> Reader::HeaderReal(const std::string& name) const {
  auto it = header_.find(name);
  double v;
  if (it == header_.end() || it->second.empty() || !ParseReal(it->second.front().second, v) ||
      v <= 0)
    return std::nullopt;
  return v;
}

std::optional<double> Reader::XRecordScale(const std::string& entry) const {
  for (const auto& root : dictionary_entries_) {
    if (root.name != kScaleDictionary) continue;
    for (const auto& e : dictionary_entries_) {
      if (e.dictionary != root.handle || e.name != entry) continue;
      auto it = xrecord_reals_.find(e.handle);
      if (it != xrecord_reals_.end() && std::isfinite(it->second) && it->second > 0)
        return it->second;
    }
  }
  return std::nullopt;
}

std::unique_ptr<Drawing> Reader::Build(const std::string& path) {
  auto d = std::make_unique<Drawing>();
  for (const Layer& l : layers_) d->EnsureLayer(l.name, l.color) = l;
  for (const std::string& app : apps_) d->RegisterApp(app);
  for (auto& b : blocks_) {
    for (const Entity& e : b.entities) {
      d->EnsureLayer(e.layer);
      for (const auto& g : e.xdata) d->RegisterApp(g.app);
    }
    d->SetBlock(std::move(b));
  }
  for (Entity& e : model_) {
    d->EnsureLayer(e.layer);
    for (const auto& g : e.xdata) d->RegisterApp(g.app);
    d->AddWithId(std::move(e));
  }
  // Other programs may overwrite $USERRn; the XRECORDs are ours alone.
  d->set_arch_scale(XRecordScale(kArchScaleEntry).value_or(HeaderReal("$USERR1").value_or(1)));
  d->set_draw_scale(XRecordScale(kDrawScaleEntry).value_or(HeaderReal("$USERR2").value_or(100)));
  static const char* const kOwn[] = {"$ACADVER", "$HANDSEED", "$DWGCODEPAGE",
                                     "$USERR1",  "$USERR2",   "$INSUNITS"};
  for (const auto& [name, groups] : header_) {
    if (groups.empty() || std::find(std::begin(kOwn), std::end(kOwn), name) != std::end(kOwn))
      continue;
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

// ---------------------------------------------------------------- reading helpers

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = path + ": cannot open: " + std::strerror(errno);
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    error = path + ": cannot open: is a folder";
    return false;
  }
  char buf[65536];
  while (true) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = path + ": cannot read: " + std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// dxflib reads only from a path: give it the checked text through an in-memory file.
bool RunDxflib(const std::string& text, Reader& reader, std::string& error) {
  int fd = ::memfd_create("nyluxora-dxf", MFD_CLOEXEC);
  std::string feed_path;
  if (fd >= 0) {
    feed_path = "/proc/self/fd/" + std::to_string(fd);
    if (::access(feed_path.c_str(), R_OK) != 0) {
      ::close(fd);
      fd = -1;
    }
  }
  bool unlink_after = false;
  if (fd < 0) {  // no memfd or no /proc: a private temporary file
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/nyluxora-dxf-XXXXXX";
    fd = ::mkstemp(templ.data());
    if (fd < 0) {
      error = std::string("cannot create a temporary file: ") + std::strerror(errno);
      return false;
    }
    feed_path = templ;
    unlink_after = true;
  }
  bool ok = WriteAll(fd, text);
  if (!ok) error = std::string("cannot buffer the file: ") + std::strerror(errno);
  if (ok) {
    try {
      DL_Dxf dxf;
      if (!dxf.in(feed_path, &reader)) {
        error = "dxflib could not read the file";
        ok = false;
      }
    } catch (const std::exception& ex) {
      error = std::string("dxflib failed: ") + ex.what();
      ok = false;
    } catch (...) {
      error = "dxflib failed";
      ok = false;
    }
  }
  ::close(fd);
  if (unlink_after) ::unlink(feed_path.c_str());
  return ok;
}

// ---------------------------------------------------------------- writer

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

std::string HexHandle(EntityId h) {
  char buf[24];
  std::snprintf(buf, sizeof buf, "%llX", static_cast<unsigned long long>(h));
  return buf;
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
  void WriteMText(const MText& m, const DL_Attributes& attr);
  void WriteHatch(const Hatch& h, const DL_Attributes& attr);
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
  for (const Entity& e : d_.entities())
    if (!e.erased) all.push_back(&e);
  for (const auto& b : d_.blocks())
    if (!IsLayoutBlock(b.name)) {
      blocks_.push_back(b);
      for (const Entity& e : b.entities)
        if (!e.erased) all.push_back(&e);
    }
  for (const Entity& e : d_.entities())
    if (!e.erased && e.id < kMaxWritableHandle) first_free_ = std::max(first_free_, e.id + 1);

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
  apps_ = {"ACAD"};
  for (const auto& app : d_.apps()) add_unique(apps_, app);
  for (const Entity* e : all) {
    std::string layer = e->layer.empty() ? "0" : e->layer;
    if (!has_layer(layer)) layers_.push_back(Layer{layer, 7});
    for (const auto& g : e->xdata) add_unique(apps_, g.app);
    std::string style;
    if (const auto* t = e->As<Text>()) style = t->style;
    if (const auto* m = e->As<MText>()) style = m->style;
    if (!style.empty() && !IEquals(style, "Standard") && !IEquals(style, kCjkStyle))
      add_unique(styles_, style);
    // An INSERT of an undefined block would make the file unreadable elsewhere.
    if (const auto* r = e->As<BlockReference>()) {
      bool defined = std::any_of(blocks_.begin(), blocks_.end(),
                                 [&](const BlockDefinition& b) { return b.name == r->block; });
      if (!defined) blocks_.push_back(BlockDefinition{r->block, {}, {}});
    }
  }
  for (const Layer& l : layers_) {
    if (!IEquals(l.linetype, "CONTINUOUS") && !IEquals(l.linetype, "BYLAYER") &&
        !IEquals(l.linetype, "BYBLOCK") && !l.linetype.empty())
      add_unique(linetypes_, l.linetype);
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
  if (style.empty() || IEquals(style, "Standard") || IEquals(style, kCjkStyle)) return kCjkStyle;
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
  static const char* const kOwn[] = {"$ACADVER", "$HANDSEED", "$DWGCODEPAGE", "$USERR1",
                                     "$USERR2",  "$INSUNITS", "$CEPSNID"};
  for (const auto& [name, value] : d_.header) {
    if (name.size() < 2 || name[0] != '$' ||
        std::find(std::begin(kOwn), std::end(kOwn), name) != std::end(kOwn))
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
    int color = l.color >= 1 && l.color <= 255 ? l.color : 7;
    std::string lt =
        l.linetype.empty() || IEquals(l.linetype, "BYLAYER") || IEquals(l.linetype, "BYBLOCK")
            ? "CONTINUOUS"
            : Enc(l.linetype);
    dxf_.writeLayer(dw_, DL_LayerData(Enc(l.name), l.frozen ? 1 : 0, l.off),
                    DL_Attributes("", color, -1, lt, 1.0));
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
  for (const char* layout : {"*Model_Space", "*Paper_Space", "*Paper_Space0"}) {
    dxf_.writeBlock(dw_, DL_BlockData(layout, 0, 0.0, 0.0, 0.0));
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
  auto begin = [&] {
    if (own) dw_.SetNextHandle(e.id);
  };
  auto end_primary = [&] {
    if (own) dw_.SetNextHandle(counter);
  };
  DL_Attributes attr = Attr(e);

  if (const auto* r = e.As<BlockReference>()) {
    begin();
    dxf_.writeInsert(
        dw_,
        DL_InsertData(Enc(r->block), r->position.x, r->position.y, r->position.z, r->scale_x,
                      r->scale_y, r->scale_z, r->rotation * kRadToDeg, 1, 1, 0, 0),
        attr);
    end_primary();
    if (r->attributes.empty()) {
      WriteXData(e);
      return;
    }
    dw_.dxfInt(66, 1);
    WriteXData(e);
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
    begin();
    dxf_.writePolyline(
        dw_, DL_PolylineData(static_cast<int>(pl->vertices.size()), 0, 0, pl->closed ? 1 : 0),
        attr);
    end_primary();
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
    const Point3& p = t->position;
    begin();
    dxf_.writeText(dw_,
                   DL_TextData(p.x, p.y, p.z, p.x, p.y, p.z, t->height, 1.0, 0, t->middle ? 1 : 0,
                               t->middle ? 2 : 0, Enc(t->text), Style(t->style), t->rotation),
                   attr);
    end_primary();
  } else if (const auto* m = e.As<MText>()) {
    begin();
    dw_.entity("MTEXT");
    end_primary();
    WriteMText(*m, attr);
  } else if (const auto* pt = e.As<PointEntity>()) {
    begin();
    dxf_.writePoint(dw_, DL_PointData(pt->position.x, pt->position.y, pt->position.z), attr);
    end_primary();
  } else if (const auto* l = e.As<Line>()) {
    begin();
    dxf_.writeLine(
        dw_, DL_LineData(l->start.x, l->start.y, l->start.z, l->end.x, l->end.y, l->end.z), attr);
    end_primary();
  } else if (const auto* c = e.As<Circle>()) {
    begin();
    dxf_.writeCircle(dw_, DL_CircleData(c->center.x, c->center.y, c->center.z, c->radius), attr);
    end_primary();
  } else if (const auto* s = e.As<Solid>()) {
    const auto& k = s->corners;
    begin();
    dxf_.writeSolid(dw_,
                    DL_SolidData(k[0].x, k[0].y, k[0].z, k[1].x, k[1].y, k[1].z, k[2].x, k[2].y,
                                 k[2].z, k[3].x, k[3].y, k[3].z),
                    attr);
    end_primary();
  } else if (const auto* h = e.As<Hatch>()) {
    begin();
    dw_.entity("HATCH");
    end_primary();
    WriteHatch(*h, attr);
  }
  WriteXData(e);
}

void Emitter::WriteXData(const Entity& e) {
  for (const XDataGroup& g : e.xdata) {
    dw_.dxfString(1001, Enc(g.app));
    for (const XDataItem& it : g.items) {
      switch (it.code >= 1000 && it.code <= 1071 ? KindOf(it.code) : ValueKind::kHandle) {
        case ValueKind::kString:
          dw_.dxfString(it.code, Enc(it.text));
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

// Temporary file in the target's folder, then rename: the old file survives any failure.
bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error) {
  static std::atomic<unsigned> counter{0};
  std::string::size_type slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  struct stat st;
  bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    error = path + ": cannot write: is a folder";
    return false;
  }
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = (dir == "/" ? "" : dir) + "/." + base + ".tmp" + std::to_string(::getpid()) + "_" +
          std::to_string(counter++);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = path + ": cannot write: " + std::strerror(errno);
    return false;
  }
  if (exists) ::fchmod(fd, st.st_mode & 07777);
  bool ok = WriteAll(fd, data) && ::fsync(fd) == 0;
  int saved = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    error = path + ": cannot write: " + std::strerror(saved);
    return false;
  }
  int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {  // make the rename itself durable
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

}  // namespace

std::unique_ptr<Drawing> ReadDxf(const std::string& path, DxfResult& result) {
  result = DxfResult{};
  std::string bytes;
  if (!ReadWholeFile(path, bytes, result.error)) return nullptr;
  ScanResult scan;
  if (!Scanner(bytes, path).Run(scan, result.error)) return nullptr;
  Decoder decoder(scan, bytes);
  Reader reader(decoder);
  std::string error;
  if (!RunDxflib(Reserialise(scan), reader, error)) {
    result.error = path + ": " + error;
    return nullptr;
  }
  reader.Close();
  if (reader.model_count() != scan.model_entities ||
      reader.block_entity_count() != scan.block_entities) {
    result.error = path + ": could not read all entities (read " +
                   std::to_string(reader.model_count() + reader.block_entity_count()) + " of " +
                   std::to_string(scan.model_entities + scan.block_entities) + ")";
    return nullptr;
  }
  auto drawing = reader.Build(path);
  result.ok = true;
  return drawing;
}

DxfResult WriteDxf(const Drawing& drawing, const std::string& path) {
  DxfResult result;
  std::string text, error;
  EntityId next = 0;
  // The first pass learns the last handle used, which the header's $HANDSEED must exceed.
  if (!Emitter(drawing, 0).Run(text, next, error) ||
      !Emitter(drawing, next).Run(text, next, error)) {
    result.error = path + ": cannot write: " + error;
    return result;
  }
  ScanResult check;
  if (!Scanner(text, path).Run(check, error)) {
    result.error = "cannot write a valid DXF: " + error;
    return result;
  }
  if (!WriteFileAtomically(path, text, result.error)) return result;
  result.ok = true;
  return result;
}

}  // namespace nyhost
