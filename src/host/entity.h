// Entities of the drawing database. Plain values: a change is made by replacing an entity through
// Drawing, never by writing into one held elsewhere.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "host/geometry.h"

namespace nyhost {

// Stable for the life of a drawing; written to DXF as the entity handle. 0 is the null id.
using EntityId = std::uint64_t;
constexpr EntityId kNullId = 0;

// Colour index as CAD programs use it: 0 = by block, 256 = by layer, 1..255 = ACI.
constexpr int kColorByBlock = 0;
constexpr int kColorByLayer = 256;

// One extended-data value (DXF groups 1000..1071).
struct XDataItem {
  int code = 1000;
  std::string text;  // 1000, 1002, 1003, 1005
  double real = 0;   // 1010.., 1040, 1041, 1042
  long integer = 0;  // 1070, 1071
  friend bool operator==(const XDataItem&, const XDataItem&) = default;
};

// Extended data of one registered application.
struct XDataGroup {
  std::string app;
  std::vector<XDataItem> items;
  friend bool operator==(const XDataGroup&, const XDataGroup&) = default;
};

struct Attribute {
  std::string tag;
  std::string text;
  Point3 position;
  double height = 2.5;
  friend bool operator==(const Attribute&, const Attribute&) = default;
};

struct BlockReference {
  std::string block;
  Point3 position;
  double rotation_deg = 0;  // degrees, counter-clockwise, as typed and as the DXF holds it
  double scale_x = 1, scale_y = 1, scale_z = 1;
  std::vector<Attribute> attributes;
  friend bool operator==(const BlockReference&, const BlockReference&) = default;
};

struct PolylineVertex {
  double x = 0, y = 0;
  double bulge = 0;  // tan(included angle / 4) of the arc to the next vertex
  double start_width = 0, end_width = 0;
  friend bool operator==(const PolylineVertex&, const PolylineVertex&) = default;
};

// Lightweight polyline.
struct Polyline {
  std::vector<PolylineVertex> vertices;
  bool closed = false;
  double constant_width = 0;
  double elevation = 0;
  friend bool operator==(const Polyline&, const Polyline&) = default;
};

struct Text {
  Point3 position;  // insertion point; the alignment point too when middle is set
  double height = 2.5;
  double rotation = 0;  // degrees, counter-clockwise, as the DXF holds it
  std::string text;
  std::string style = "Standard";
  bool middle = false;  // middle-centre alignment
  friend bool operator==(const Text&, const Text&) = default;
};

struct MText {
  Point3 position;
  double height = 2.5;
  double width = 0;  // reference rectangle width; 0 = no wrapping
  double rotation = 0;
  int attachment = 1;  // 1 top-left .. 9 bottom-right
  std::string text;
  std::string style = "Standard";
  friend bool operator==(const MText&, const MText&) = default;
};

struct PointEntity {
  Point3 position;
  friend bool operator==(const PointEntity&, const PointEntity&) = default;
};

struct Line {
  Point3 start, end;
  friend bool operator==(const Line&, const Line&) = default;
};

struct Circle {
  Point3 center;
  double radius = 0;
  friend bool operator==(const Circle&, const Circle&) = default;
};

// Filled quadrilateral (DXF SOLID: corners in the order 1, 2, 4, 3 of the outline).
struct Solid {
  std::array<Point3, 4> corners{};
  friend bool operator==(const Solid&, const Solid&) = default;
};

// Solid-filled area bounded by straight-edged loops.
struct Hatch {
  std::vector<std::vector<Point3>> loops;
  std::string pattern = "SOLID";
  friend bool operator==(const Hatch&, const Hatch&) = default;
};

// One DXF group as read from a file; text values are UTF-8.
struct DxfGroup {
  int code = 0;
  std::string value;
  friend bool operator==(const DxfGroup&, const DxfGroup&) = default;
};

// An entity the database does not model (ELLIPSE, XLINE, 3DFACE, 3-D polylines, paper space,
// ...), kept as read so that saving writes it back unchanged. `groups` follow the type name in
// file order; an owned ATTRIB/VERTEX/SEQEND sequence follows, each record opened by a group 0.
// The handles, owners and the entity's own extended data are not among them (Entity keeps its
// id and xdata; the writer numbers the rest anew); its layer group is written from Entity.
struct OpaqueEntity {
  std::string type;
  std::vector<DxfGroup> groups;
  friend bool operator==(const OpaqueEntity&, const OpaqueEntity&) = default;
};

using EntityData = std::variant<BlockReference, Polyline, Text, MText, PointEntity, Line, Circle,
                                Solid, Hatch, OpaqueEntity>;

struct Entity {
  EntityId id = kNullId;
  std::string layer = "0";
  int color = kColorByLayer;
  bool erased = false;
  std::vector<XDataGroup> xdata;
  EntityData data;

  template <typename T>
  T* As() {
    return std::get_if<T>(&data);
  }
  template <typename T>
  const T* As() const {
    return std::get_if<T>(&data);
  }
  friend bool operator==(const Entity&, const Entity&) = default;
};

// DXF type name of an entity ("INSERT", "LWPOLYLINE", ...).
const char* EntityTypeName(const Entity& e);

}  // namespace nyhost
