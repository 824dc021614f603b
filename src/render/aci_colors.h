// The CAD colour index (ACI) as RGB, the 256 entries every CAD program shares.
#pragma once

#include <cstdint>

namespace nyrender {

// 0xRRGGBB of an index 0..255 (0 = by block, drawn black). Index 7 is white here; the renderer
// swaps it with black on a light background. Out-of-range indices give 7.
std::uint32_t AciToRgb(int index);

}  // namespace nyrender
