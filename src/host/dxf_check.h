// One-pass checker of DXF text, and the value syntax it enforces.
//
// dxflib accepts garbage silently and crashes on some malformed entities, so every file is checked
// here first (group codes, numbers, section/table/block/sequence structure, vertex counts). The
// reader and the writer parse values with the same functions, so all three agree on a value.
#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "host/entity.h"

namespace nyhost::dxf {

// dxflib reads lines with fgets into a 1024-byte buffer: a longer line is split in two and
// shifts every following group, so longer lines are refused on reading and never written.
constexpr std::size_t kMaxLineBytes = 1022;

std::string_view TrimBlanks(std::string_view s);
bool ParseInt(std::string_view s, long long& v);
// Accepts a decimal comma as dxflib does, so both read the same value. Infinite, not-a-number
// and subnormal values are refused: no drawing holds them on purpose.
bool ParseReal(std::string_view s, double& v);
bool ParseHandle(std::string_view s, EntityId& h);

enum class ValueKind { kString, kReal, kInt, kHandle };
ValueKind KindOf(int code);

// Groups holding text, decoded from the file's code page; the other string groups (handles,
// control strings, binary chunks) are kept as bytes.
bool IsTextCode(int code);

// A piece of file content fit for an error message.
std::string Snippet(std::string_view s);

// The model- and paper-space layout blocks hold no definition of ours.
bool IsLayoutBlock(std::string_view name);

struct Pair {
  int code;
  std::string_view value;  // into the checked text
  std::size_t line;        // line of the group code, 1-based
};

// Coordinates, sizes and angles of entities beyond this are refused at reading.
constexpr double kMaxCoordinate = 1e12;

// DXF entity kinds the drawing database models (ARC becomes a bulged polyline).
bool IsModeledEntity(std::string_view type);

// An entity kept as an opaque record: pairs [first, last) of ScanResult::pairs, from its group 0
// through the end of its ATTRIB/VERTEX/SEQEND sequence.
struct OpaqueRange {
  std::size_t first = 0, last = 0;
};

struct ScanResult {
  std::vector<Pair> pairs;  // up to and including 0/EOF
  std::string acadver;
  std::string codepage;
  std::size_t model_entities = 0;   // modeled kinds in ENTITIES, model space
  std::size_t block_entities = 0;   // modeled kinds inside block definitions
  std::vector<OpaqueRange> opaque;  // in file order
  // Line of the first value of each header variable and of the first group 40 value of each
  // XRECORD (by its handle as written), for messages about values found unusable later.
  std::map<std::string, std::size_t, std::less<>> header_lines, xrecord_lines;
};

// Checks a whole file; the error names the file (`name`) and the line. The pairs point into
// `text`, which must outlive `out`.
bool CheckDxf(std::string_view text, const std::string& name, ScanResult& out, std::string& error);

}  // namespace nyhost::dxf
