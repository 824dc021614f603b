// DXF reading and writing through dxflib.
//
// Written as Chinese CAD programs write R2000 files: $DWGCODEPAGE ANSI_936, text in GBK with
// \U+XXXX for characters outside GBK. Read by the file's own $ACADVER and $DWGCODEPAGE (UTF-8 for
// AC1021 and later). The drawing's architectural and drawing scales are stored in the file.
#pragma once

#include <memory>
#include <string>

#include "host/drawing.h"

namespace nyhost {

struct DxfResult {
  bool ok = false;
  // For a failure: names the file and, where known, the line ("plan.dxf:123: ...").
  std::string error;
};

// Reads a whole drawing; on failure no drawing is returned (never a half-loaded one).
std::unique_ptr<Drawing> ReadDxf(const std::string& path, DxfResult& result);
// Writes atomically (temporary file, then rename).
DxfResult WriteDxf(const Drawing& drawing, const std::string& path);

}  // namespace nyhost
