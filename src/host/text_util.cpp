#include "host/text_util.h"

#include <cctype>
#include <cmath>
#include <cstdlib>

namespace nyhost {

std::vector<std::string> SplitString(std::string_view text, char sep) {
  std::vector<std::string> out;
  std::size_t start = 0;
  while (true) {
    std::size_t pos = text.find(sep, start);
    out.emplace_back(text.substr(start, pos - start));
    if (pos == std::string_view::npos) break;
    start = pos + 1;
  }
  return out;
}

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
  if (from.empty()) return;
  for (std::size_t at = text.find(from); at != std::string::npos;
       at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
}

std::string Trim(std::string_view text) {
  std::size_t b = 0, e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  return std::string(text.substr(b, e - b));
}

std::string ToLowerAscii(std::string_view text) {
  std::string s(text);
  for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string ToUpperAscii(std::string_view text) {
  std::string s(text);
  for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

bool ParseCoordinates(std::string_view text, double& x, double& y, double& z) {
  auto parts = SplitString(Trim(text), ',');
  if (parts.size() < 2 || parts.size() > 3) return false;
  double v[3] = {0, 0, 0};
  for (std::size_t i = 0; i < parts.size(); ++i) {
    std::string p = Trim(parts[i]);
    if (p.empty()) return false;
    char* end = nullptr;
    v[i] = std::strtod(p.c_str(), &end);
    if (end == p.c_str() || *end != '\0' || !std::isfinite(v[i])) return false;
  }
  x = v[0];
  y = v[1];
  z = v[2];
  return true;
}

}  // namespace nyhost
