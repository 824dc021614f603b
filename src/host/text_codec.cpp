#include "host/text_codec.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>

#include <iconv.h>

namespace nyhost {

std::optional<std::string> Convert(std::string_view text, const char* from, const char* to) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::string out;
  out.resize(text.size() * 2 + 16);
  char* in_ptr = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  std::size_t done = 0;
  bool ok = true;
  while (in_left > 0) {
    char* out_ptr = out.data() + done;
    std::size_t out_left = out.size() - done;
    std::size_t r = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    done = out.size() - out_left;
    if (r == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) {
        out.resize(out.size() * 2);
        continue;
      }
      ok = false;
      break;
    }
  }
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.resize(done);
  return out;
}

std::optional<std::string> GbkToUtf8(std::string_view gbk) { return Convert(gbk, "GBK", "UTF-8"); }
std::optional<std::string> Utf8ToGbk(std::string_view utf8) { return Convert(utf8, "UTF-8", "GBK"); }

namespace {

// Decodes one UTF-8 character at text[i]; returns its length (0 when invalid).
std::size_t DecodeOne(std::string_view text, std::size_t i, char32_t& cp) {
  auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[i + k]); };
  unsigned char c = b(0);
  std::size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + len > text.size()) return 0;
  if (len == 1) {
    cp = c;
    return 1;
  }
  cp = c & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    if ((b(k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(k) & 0x3F);
  }
  static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
  if (cp < kMin[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool ParseHex(std::string_view s, std::size_t pos, std::size_t n, unsigned& value) {
  if (pos + n > s.size()) return false;
  value = 0;
  for (std::size_t k = 0; k < n; ++k) {
    int h = HexValue(s[pos + k]);
    if (h < 0) return false;
    value = value * 16 + static_cast<unsigned>(h);
  }
  return true;
}

}  // namespace

bool IsValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    char32_t cp;
    std::size_t n = DecodeOne(text, i, cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string Utf8ToGbkEscaped(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    std::size_t n = DecodeOne(utf8, i, cp);
    if (n == 0) {  // not UTF-8: keep the byte rather than lose text
      out += utf8[i++];
      continue;
    }
    char buf[32];
    if (cp < 0x20 || cp == 0x7F) {
      // Control characters would break the line structure of the file.
      std::snprintf(buf, sizeof buf, "\\U+%04X", static_cast<unsigned>(cp));
      out += buf;
    } else if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (auto g = Utf8ToGbk(utf8.substr(i, n))) {
      out += *g;
    } else if (cp > 0xFFFF) {
      // Beyond the BMP: a UTF-16 surrogate pair, as CAD programs escape it.
      char32_t v = cp - 0x10000;
      std::snprintf(buf, sizeof buf, "\\U+%04X\\U+%04X", static_cast<unsigned>(0xD800 + (v >> 10)),
                    static_cast<unsigned>(0xDC00 + (v & 0x3FF)));
      out += buf;
    } else {
      std::snprintf(buf, sizeof buf, "\\U+%04X", static_cast<unsigned>(cp));
      out += buf;
    }
    i += n;
  }
  return out;
}

std::string DecodeDxfEscapes(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    unsigned v;
    if (s[i] == '\\' && i + 2 < s.size() && s[i + 2] == '+') {
      if (s[i + 1] == 'U' && ParseHex(s, i + 3, 4, v)) {
        unsigned lo;
        if (v >= 0xD800 && v <= 0xDBFF && s.compare(i + 7, 3, "\\U+") == 0 &&
            ParseHex(s, i + 10, 4, lo) && lo >= 0xDC00 && lo <= 0xDFFF) {
          AppendUtf8(out, 0x10000 + ((v - 0xD800) << 10) + (lo - 0xDC00));
          i += 14;
          continue;
        }
        if (v < 0xD800 || v > 0xDFFF) {  // a lone surrogate is no character
          AppendUtf8(out, v);
          i += 7;
          continue;
        }
      }
      if (s[i + 1] == 'M' && i + 3 < s.size() && ParseHex(s, i + 4, 4, v)) {
        char dbcs[2] = {static_cast<char>(v >> 8), static_cast<char>(v & 0xFF)};
        if (auto u = GbkToUtf8(std::string_view(dbcs, 2))) {
          out += *u;
          i += 8;
          continue;
        }
      }
    }
    out += s[i++];
  }
  return out;
}

std::string LegacyTextToUtf8(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  if (IsValidUtf8(bytes)) return std::string(bytes);
  if (auto u = GbkToUtf8(bytes)) return *u;
  if (auto u = Convert(bytes, "GB18030", "UTF-8")) return *u;
  return std::string(bytes);
}

std::size_t GbkByteLength(std::string_view utf8) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    std::size_t len = DecodeOne(utf8, i, cp);
    if (len == 0) len = 1;
    n += cp < 0x80 && len == 1 ? 1 : 2;
    i += len;
  }
  return n;
}

std::string GbkPrefix(std::string_view utf8, std::size_t limit) {
  std::size_t n = 0, i = 0;
  while (i < utf8.size()) {
    char32_t cp = 0;
    std::size_t len = DecodeOne(utf8, i, cp);
    if (len == 0) len = 1;
    std::size_t bytes = cp < 0x80 && len == 1 ? 1 : 2;
    if (n + bytes > limit) break;
    n += bytes;
    i += len;
  }
  return std::string(utf8.substr(0, i));
}

}  // namespace nyhost
