// Multiline text without its inline formatting codes: paragraphs become line breaks.
#pragma once

#include <string>

namespace nyrender {

std::string MTextPlain(const std::string& raw);

}  // namespace nyrender
