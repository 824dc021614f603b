// The checker: one pass over the whole text before dxflib sees it, with FILE:LINE errors.
#include "host/dxf_check.h"

#include <algorithm>
#include <bitset>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>

#include "host/text_codec.h"
#include "host/text_util.h"

namespace nyhost::dxf {

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
  return ec == std::errc() && end == s.data() + s.size() && std::isfinite(v) &&
         std::fpclassify(v) != FP_SUBNORMAL;
}

bool ParseHandle(std::string_view s, EntityId& h) {
  s = TrimBlanks(s);
  if (s.empty() || s.size() > 16) return false;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), h, 16);
  return ec == std::errc() && end == s.data() + s.size();
}

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

bool IsLayoutBlock(std::string_view name) {
  std::string lower = ToLowerAscii(name);
  return lower == "*model_space" || lower.rfind("*paper_space", 0) == 0;
}

bool IsModeledEntity(std::string_view type) {
  static constexpr std::string_view kKinds[] = {"INSERT", "LWPOLYLINE", "POLYLINE", "TEXT",
                                                "MTEXT",  "POINT",      "LINE",     "CIRCLE",
                                                "ARC",    "SOLID",      "HATCH"};
  return std::find(std::begin(kKinds), std::end(kKinds), type) != std::end(kKinds);
}

namespace {

// A value that reads as a number but not as one a drawing can hold (ParseReal refuses it).
bool IsOutOfRangeNumber(std::string_view s) {
  s = TrimBlanks(s);
  if (!s.empty() && s[0] == '+') s.remove_prefix(1);
  if (s.empty() || s.size() > 400) return false;
  std::string dot(s);
  std::replace(dot.begin(), dot.end(), ',', '.');
  double v;
  auto [end, ec] = std::from_chars(dot.data(), dot.data() + dot.size(), v);
  return end == dot.data() + dot.size() &&
         (ec == std::errc::result_out_of_range || ec == std::errc());
}

bool IsKnownSection(std::string_view name) {
  static constexpr std::string_view kSections[] = {
      "HEADER", "CLASSES", "TABLES", "BLOCKS", "ENTITIES", "OBJECTS", "THUMBNAILIMAGE", "ACDSDATA"};
  return std::find(std::begin(kSections), std::end(kSections), name) != std::end(kSections);
}

// Checks a whole file before dxflib sees it; the error names the file and the line.
class Scanner {
 public:
  Scanner(std::string_view text, const std::string& name) : text_(text), name_(name) {}

  bool Run(ScanResult& out, std::string& error);

 private:
  struct Object {
    std::string_view type;
    std::size_t line = 0;
    std::size_t first = 0;  // index of its group 0 in ScanResult::pairs
    std::size_t pairs = 0;
    std::bitset<1072> seen;
    int count10 = 0, count20 = 0, count92 = 0;
    long long n90 = -1, n91 = -1, n66 = 0, n70 = 0, max_count = 0;
    bool vertex_before_count = false, bulge_before_vertex = false, paper = false;
    std::string_view name;
    std::string_view handle;
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
  // TABLE ... ENDTAB or BLOCK ... ENDBLK; `member` names what may stand only between them.
  bool Nest(std::string_view type, std::size_t line, const std::string& open,
            const std::string& close, const std::string& member, bool& inside);
  bool FinishObject();
  void AddToObject(const Pair& p);
  bool IsOpaque(const Object& o) const;
  void CountEntity(const Object& o);

  std::string_view text_;
  std::string name_;
  std::string error_;
  ScanResult* out_ = nullptr;
  enum class State { kTop, kSectionName, kBody } state_ = State::kTop;
  std::string section_;
  std::string header_var_;
  bool in_table_ = false, in_block_ = false, skip_block_ = false, eof_ = false;
  bool have_object_ = false;
  std::string sequence_owner_;    // INSERT or POLYLINE while ATTRIB/VERTEX ... SEQEND is due
  bool opaque_sequence_ = false;  // that sequence belongs to an opaque entity
  std::size_t opaque_first_ = 0;
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
  const char* needed = nullptr;
  switch (KindOf(code)) {
    case ValueKind::kReal: {
      double v;
      if (!ParseReal(value, v))
        needed = IsOutOfRangeNumber(value) ? "a finite number in range" : "a number";
      break;
    }
    case ValueKind::kInt: {
      long long v;
      bool wide = code >= 160 && code <= 169;
      if (!ParseInt(value, v) || (!wide && (v < INT32_MIN || v > INT32_MAX)))
        needed = "a whole number";
      break;
    }
    case ValueKind::kHandle: {
      EntityId h;
      if (!ParseHandle(value, h)) needed = "a handle";
      break;
    }
    case ValueKind::kString:
      break;
  }
  if (!needed) return true;
  return Fail(line, "group code " + std::to_string(code) + " needs " + needed + ", found '" +
                        Snippet(value) + "'");
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
        } else if (!header_var_.empty() && !out_->header_lines.count(header_var_)) {
          out_->header_lines[header_var_] = p.line + 1;
        }
        if (header_var_ == "$ACADVER" && p.code == 1) {
          out_->acadver = std::string(TrimBlanks(v));
        } else if (header_var_ == "$DWGCODEPAGE" && p.code == 3) {
          out_->codepage = std::string(TrimBlanks(v));
        }
      }
      if ((section_ == "ENTITIES" || section_ == "BLOCKS") && p.code >= 10 && p.code <= 59) {
        double x = 0;
        ParseReal(v, x);
        if (std::fabs(x) > kMaxCoordinate)
          return Fail(p.line + 1, "group code " + std::to_string(p.code) + " holds " + Snippet(v) +
                                      ", beyond the largest coordinate or size a plan may hold");
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
    if (!Nest(type, line, "TABLE", "ENDTAB", "table record", in_table_)) return false;
  } else if (section_ == "BLOCKS") {
    if (!Nest(type, line, "BLOCK", "ENDBLK", "entity", in_block_)) return false;
  } else if (section_ == "ENTITIES" &&
             (type == "BLOCK" || type == "ENDBLK" || type == "TABLE" || type == "ENDTAB")) {
    return Fail(line, t + " in the ENTITIES section");
  }
  obj_ = Object{};
  obj_.type = type;
  obj_.line = line;
  obj_.first = out_->pairs.size() - 1;
  have_object_ = true;
  return true;
}

bool Scanner::Nest(std::string_view type, std::size_t line, const std::string& open,
                   const std::string& close, const std::string& member, bool& inside) {
  if (type == open) {
    if (inside) return Fail(line, open + " inside " + open + " (missing " + close + ")");
    inside = true;
  } else if (type == close) {
    if (!inside) return Fail(line, close + " without " + open);
    inside = false;
  } else if (!inside) {
    return Fail(line, member + " '" + Snippet(type) + "' outside of a " + open);
  }
  return true;
}

void Scanner::AddToObject(const Pair& p) {
  Object& o = obj_;
  ++o.pairs;
  o.seen.set(static_cast<std::size_t>(p.code));
  long long n = 0;
  if (KindOf(p.code) == ValueKind::kInt) ParseInt(p.value, n);
  if (p.code == 2) o.name = p.value;  // the last, as dxflib takes it
  if (p.code == 5 && o.handle.empty()) o.handle = TrimBlanks(p.value);
  if (p.code == 40 && o.type == "XRECORD" && !out_->xrecord_lines.count(o.handle))
    out_->xrecord_lines[std::string(o.handle)] = p.line + 1;
  if (p.code == 66) o.n66 = n;
  if (p.code == 70) o.n70 = n;
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
  if (o.type == "BLOCK") skip_block_ = IsLayoutBlock(DecodeDxfEscapes(TrimBlanks(o.name)));
  CountEntity(o);
  have_object_ = false;
  return true;
}

bool Scanner::IsOpaque(const Object& o) const {
  if (!IsModeledEntity(o.type)) return true;
  if (section_ == "BLOCKS" && skip_block_) return true;  // layouts other than the model
  if (section_ == "ENTITIES" && o.paper) return true;    // paper space is not modeled
  // 3-D polylines and meshes: the database's polylines are flat.
  return o.type == "POLYLINE" && (o.n70 & (8 | 16 | 64)) != 0;
}

void Scanner::CountEntity(const Object& o) {
  bool entities = section_ == "ENTITIES";
  if (!entities && !(section_ == "BLOCKS" && in_block_)) return;
  if (o.type == "BLOCK" || o.type == "ENDBLK") return;
  if (o.type == "ATTRIB" || o.type == "VERTEX" || o.type == "SEQEND") {
    // The end of an opaque entity's sequence ends its record.
    if (opaque_sequence_ && o.type == "SEQEND") {
      out_->opaque.push_back({opaque_first_, out_->pairs.size() - 1});
      opaque_sequence_ = false;
    }
    return;
  }
  if (!IsOpaque(o)) {
    ++(entities ? out_->model_entities : out_->block_entities);
  } else if (sequence_owner_.empty()) {
    out_->opaque.push_back({o.first, out_->pairs.size() - 1});
  } else {
    opaque_sequence_ = true;
    opaque_first_ = o.first;
  }
}

}  // namespace

bool CheckDxf(std::string_view text, const std::string& name, ScanResult& out, std::string& error) {
  return Scanner(text, name).Run(out, error);
}

}  // namespace nyhost::dxf
