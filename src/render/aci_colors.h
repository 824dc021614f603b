// The CAD colour index (ACI) as RGB: the host's table, under the renderer's name.
#pragma once

#include "host/aci_colors.h"

namespace nyrender {

using nyhost::AciToRgb;

}  // namespace nyrender
