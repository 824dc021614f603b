// The CAD colour index (ACI) as RGB, the 256 entries every CAD program shares.
#pragma once

#include <cstdint>

namespace nyhost {

// 0xRRGGBB of an index 0..255 (0 = by block, drawn black). Index 7 is white here; a view swaps
// it with black on a light background. Out-of-range indices give 7.
std::uint32_t AciToRgb(int index);

// The index 1..254 whose colour is nearest to 0xRRGGBB (7 and 255 excluded: views show them
// black or white by their background).
int NearestAci(std::uint32_t rgb);

}  // namespace nyhost
