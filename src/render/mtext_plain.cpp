#include "render/mtext_plain.h"

namespace nyrender {

std::string MTextPlain(const std::string& raw) {
  std::string out;
  for (std::size_t i = 0; i < raw.size(); ++i) {
    char c = raw[i];
    if (c == '{' || c == '}') continue;
    if (c != '\\' || i + 1 >= raw.size()) {
      out += c;
      continue;
    }
    char code = raw[++i];
    switch (code) {
      case 'P':
      case 'X':
        out += '\n';
        break;
      case '~':
        out += ' ';
        break;
      case '\\':
      case '{':
      case '}':
        out += code;
        break;
      case 'L': case 'l': case 'O': case 'o': case 'K': case 'k':
        break;  // underline / overline / strike toggles
      case 'S': {  // stacked fraction a^b -> a/b
        std::size_t end = raw.find(';', i);
        std::string frac = raw.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
        for (char& f : frac)
          if (f == '^' || f == '#') f = '/';
        out += frac;
        i = end == std::string::npos ? raw.size() : end;
        break;
      }
      default: {
        // Codes with an argument ended by ';' (\f \H \W \C \Q \T \A \p ...).
        std::size_t end = raw.find(';', i);
        i = end == std::string::npos ? raw.size() : end;
        break;
      }
    }
  }
  return out;
}

}  // namespace nyrender
