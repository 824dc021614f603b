// What the DXF reader and writer share: the conventions of the files we write, so that reading
// undoes writing, and the file plumbing around dxflib.
#pragma once

#include <algorithm>
#include <iterator>
#include <string>
#include <string_view>

#include "host/entity.h"
#include "host/text_util.h"

class DL_CreationInterface;

namespace nyhost::dxf {

// Text style that LibreCAD renders Chinese with (it picks glyphs by style name).
constexpr const char* kCjkStyle = "unicode";
// Named dictionary in OBJECTS that keeps the scales as XRECORDs.
constexpr const char* kScaleDictionary = "NYLUXORA";
constexpr const char* kArchScaleEntry = "ArchScale";
constexpr const char* kDrawScaleEntry = "DrawScale";

// dxflib writes tables and standard objects with fixed handles below this value.
constexpr EntityId kFirstFreeHandle = 0x30;
constexpr EntityId kMaxWritableHandle = 0x7FFFFFF0;  // dxflib writes handles through int

// The id a model-space entity takes from its handle: one the writer can keep, else a new one.
inline EntityId IdOfHandle(EntityId handle) {
  return handle >= kFirstFreeHandle && handle < kMaxWritableHandle ? handle : kNullId;
}

inline bool IEquals(std::string_view a, std::string_view b) {
  return ToLowerAscii(a) == ToLowerAscii(b);
}

// Layer colours are 1 to 255; anything else shows as white.
inline int LayerColor(int color) { return color >= 1 && color <= 255 ? color : 7; }

// Linetypes that stand for CONTINUOUS on a layer.
inline bool IsDefaultLinetype(std::string_view linetype) {
  return linetype.empty() || IEquals(linetype, "BYLAYER") || IEquals(linetype, "BYBLOCK");
}

// Header variables the writer sets from the drawing itself: never kept as foreign variables.
inline bool IsOwnHeaderVariable(std::string_view name) {
  static constexpr std::string_view kOwn[] = {"$ACADVER", "$HANDSEED", "$DWGCODEPAGE",
                                              "$USERR1",  "$USERR2",   "$INSUNITS"};
  return std::find(std::begin(kOwn), std::end(kOwn), name) != std::end(kOwn);
}

// The file's bytes; the error names the path.
bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error);
// dxflib reads only from a path: feeds it `text` through an in-memory file.
bool RunDxflib(const std::string& text, DL_CreationInterface& reader, std::string& error);

}  // namespace nyhost::dxf
