// Conversions between the program's UTF-8 text and the code pages of legacy files.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace nyhost {

// iconv conversion; none when the input is not valid in `from` or cannot be written in `to`.
std::optional<std::string> Convert(std::string_view text, const char* from, const char* to);

std::optional<std::string> GbkToUtf8(std::string_view gbk);
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// UTF-8 to GBK, writing each character outside GBK as \U+XXXX (the DXF escape).
std::string Utf8ToGbkEscaped(std::string_view utf8);
// Decodes \U+XXXX and \M+nXXXX escapes (the latter as GBK double bytes) of DXF text.
std::string DecodeDxfEscapes(std::string_view utf8);

bool IsValidUtf8(std::string_view text);
// Reads text of a legacy settings or list file: UTF-8 when valid (BOM dropped), else GBK.
std::string LegacyTextToUtf8(std::string_view bytes);

// Length in bytes of the text's GBK encoding (characters outside GBK count 2).
std::size_t GbkByteLength(std::string_view utf8);
// The first n bytes of the GBK encoding, returned as UTF-8; a character cut in half by the limit
// is dropped.
std::string GbkPrefix(std::string_view utf8, std::size_t n);

}  // namespace nyhost
