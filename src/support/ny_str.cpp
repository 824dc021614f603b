#include "support/ny_str.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "host/text_util.h"

int NyStr::IsDigit(double& value, const std::string& text) {
  std::string t = nyhost::Trim(text);
  if (t.empty()) return 0;
  char* end = nullptr;
  double v = std::strtod(t.c_str(), &end);
  if (end == t.c_str() || *end != '\0') return 0;
  // strtod also takes "inf", "nan" and hex floats, which are not numbers a designer types.
  for (char c : t)
    if (!(std::isdigit(static_cast<unsigned char>(c)) || c == '.' || c == '-' || c == '+' ||
          c == 'e' || c == 'E'))
      return 0;
  // A number too large for a double reads as infinity: not a number either.
  if (!std::isfinite(v)) return 0;
  value = v;
  return 1;
}

double NyStr::LeadingReal(const std::string& text) {
  const double v = std::strtod(text.c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}

int NyStr::LeadingInt(const std::string& text) {
  errno = 0;
  const long v = std::strtol(text.c_str(), nullptr, 10);
  if (errno == ERANGE || v > INT_MAX || v < INT_MIN) return v < 0 ? INT_MIN : INT_MAX;
  return static_cast<int>(v);
}

void NyStr::RemoveSameStr(std::vector<std::string>& items, int flag) {
  std::vector<std::string> out;
  for (const auto& s : items) {
    bool seen = FindStrInStrArr(out, s, flag);
    if (!seen) out.push_back(s);
  }
  items = std::move(out);
}

void NyStr::SplitStrBySymbol(std::vector<std::string>& out, const std::string& text,
                             const std::string& separator) {
  out.clear();
  if (separator.empty()) {
    out.push_back(text);
    return;
  }
  std::size_t start = 0;
  while (true) {
    std::size_t pos = text.find(separator, start);
    out.push_back(text.substr(start, pos - start));
    if (pos == std::string::npos) break;
    start = pos + separator.size();
  }
}

bool NyStr::FindStrInStrArr(const std::vector<std::string>& items, const std::string& text,
                            int flag) {
  for (const auto& s : items) {
    if (flag ? nyhost::ToLowerAscii(s) == nyhost::ToLowerAscii(text) : s == text) return true;
  }
  return false;
}

int NyStr::IsPath(const std::string& text) {
  if (text.empty()) return 0;
  std::error_code ec;
  std::filesystem::path p(text);
  if (std::filesystem::is_directory(p, ec)) return 1;
  auto parent = p.parent_path();
  return !parent.empty() && std::filesystem::is_directory(parent, ec) ? 1 : 0;
}

int NyStr::IfHasChinese(const std::string& text) {
  // CJK ideographs and their extensions: U+3400..U+9FFF, U+F900..U+FAFF, U+20000..U+2FFFF.
  for (std::size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<unsigned char>(text[i]);
    if ((c >> 4) == 0xE && i + 2 < text.size()) {
      unsigned cp = ((c & 0x0Fu) << 12) | ((static_cast<unsigned char>(text[i + 1]) & 0x3Fu) << 6) |
                    (static_cast<unsigned char>(text[i + 2]) & 0x3Fu);
      if ((cp >= 0x3400 && cp <= 0x9FFF) || (cp >= 0xF900 && cp <= 0xFAFF)) return 1;
    } else if (c == 0xF0 && i + 1 < text.size()) {
      auto c1 = static_cast<unsigned char>(text[i + 1]);
      if (c1 >= 0xA0 && c1 <= 0xAF) return 1;
    }
  }
  return 0;
}
