#include "support/ny_sql_dialect.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "host/text_codec.h"

namespace {

enum class Tok { kWord, kQuoted, kSpace, kPunct };

struct Token {
  Tok kind;
  std::string_view text;
};

bool IsWordByte(unsigned char c) { return std::isalnum(c) || c == '_' || c >= 0x80; }

// Splits into words, quoted parts ('text', [name], "name", `name`), blanks and punctuation.
// An unterminated quote runs to the end: the statement is left for SQLite to refuse.
std::vector<Token> Lex(std::string_view s) {
  std::vector<Token> out;
  std::size_t i = 0;
  while (i < s.size()) {
    std::size_t start = i;
    unsigned char c = static_cast<unsigned char>(s[i]);
    Tok kind;
    if (c == '\'' || c == '"' || c == '`' || c == '[') {
      char close = c == '[' ? ']' : static_cast<char>(c);
      ++i;
      while (i < s.size()) {
        if (s[i] == close) {
          // '' inside a text and ]] inside a name are an escaped quote and bracket.
          if ((close == '\'' || close == ']') && i + 1 < s.size() && s[i + 1] == close) {
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        ++i;
      }
      kind = Tok::kQuoted;
    } else if (std::isspace(c)) {
      while (i < s.size() && std::isspace(static_cast<unsigned char>(s[i]))) ++i;
      kind = Tok::kSpace;
    } else if (IsWordByte(c)) {
      while (i < s.size() && IsWordByte(static_cast<unsigned char>(s[i]))) ++i;
      kind = Tok::kWord;
    } else {
      ++i;
      kind = Tok::kPunct;
    }
    out.push_back({kind, s.substr(start, i - start)});
  }
  return out;
}

bool Is(const Token& t, std::string_view word) {
  if (t.kind != Tok::kWord || t.text.size() != word.size()) return false;
  for (std::size_t i = 0; i < word.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(t.text[i])) != word[i]) return false;
  return true;
}

// Index of the next token that is not a blank, or toks.size().
std::size_t NextSolid(const std::vector<Token>& toks, std::size_t i) {
  while (i < toks.size() && toks[i].kind == Tok::kSpace) ++i;
  return i;
}

bool EndsTermList(const Token& t) {
  return Is(t, "LIMIT") || Is(t, "HAVING") || Is(t, "ORDER") || Is(t, "UNION") || Is(t, "OFFSET") ||
         (t.kind == Tok::kPunct && (t.text == ";" || t.text == ")"));
}

// Copies the terms of an ORDER BY / GROUP BY list starting at toks[i], adding the collation to
// each term that has none. Returns the index after the list.
std::size_t RewriteTerms(const std::vector<Token>& toks, std::size_t i, std::string& out) {
  while (i < toks.size()) {
    // One term: tokens up to a comma at depth 0 or the end of the list.
    std::size_t begin = i;
    int depth = 0;
    while (i < toks.size()) {
      const Token& t = toks[i];
      if (depth == 0 && (EndsTermList(t) || (t.kind == Tok::kPunct && t.text == ","))) break;
      if (t.kind == Tok::kPunct && t.text == "(") ++depth;
      if (t.kind == Tok::kPunct && t.text == ")") --depth;
      ++i;
    }
    std::size_t end = i;  // [begin, end)
    // Trailing blanks stay after the inserted collation; ASC/DESC stay after it too.
    std::size_t last = end;
    while (last > begin && toks[last - 1].kind == Tok::kSpace) --last;
    std::size_t expr_end = last;
    if (expr_end > begin && (Is(toks[expr_end - 1], "ASC") || Is(toks[expr_end - 1], "DESC"))) {
      --expr_end;
      while (expr_end > begin && toks[expr_end - 1].kind == Tok::kSpace) --expr_end;
    }
    bool has_collate =
        std::any_of(toks.begin() + static_cast<long>(begin), toks.begin() + static_cast<long>(end),
                    [](const Token& t) { return Is(t, "COLLATE"); });
    for (std::size_t k = begin; k < end; ++k) {
      if (k == expr_end && !has_collate && expr_end > begin) out += " COLLATE GBK";
      out += toks[k].text;
    }
    if (end == expr_end && !has_collate && expr_end > begin) out += " COLLATE GBK";
    if (i < toks.size() && toks[i].kind == Tok::kPunct && toks[i].text == ",") {
      out += ",";
      ++i;
      continue;
    }
    break;
  }
  return i;
}

// The text between the quotes of a quoted name, its doubled closing quotes made single.
std::string Unquote(std::string_view name) {
  if (name.size() < 2) return std::string(name);
  char open = name.front();
  char close = open == '[' ? ']' : open;
  if ((open != '[' && open != '"' && open != '`') || name.back() != close) return std::string(name);
  std::string out;
  std::string_view inner = name.substr(1, name.size() - 2);
  for (std::size_t k = 0; k < inner.size(); ++k) {
    out += inner[k];
    if (inner[k] == close && k + 1 < inner.size() && inner[k + 1] == close) ++k;
  }
  return out;
}

// A bracketed name with a doubled "]" as SQLite's double-quoted identifier.
std::string DoubleQuoted(std::string_view bracketed) {
  std::string out = "\"";
  for (char c : Unquote(bracketed)) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + "\"";
}

bool NeedsDoubleQuotes(const Token& t) {
  return t.kind == Tok::kQuoted && t.text.front() == '[' &&
         t.text.substr(1).find("]]") != std::string_view::npos;
}

}  // namespace

std::string ToSqliteDialect(std::string_view access_sql) {
  std::vector<Token> toks = Lex(access_sql);
  std::string out;
  out.reserve(access_sql.size() + 32);
  std::size_t i = 0;
  while (i < toks.size()) {
    const Token& t = toks[i];
    if (Is(t, "DELETE")) {
      std::size_t star = NextSolid(toks, i + 1);
      if (star < toks.size() && toks[star].kind == Tok::kPunct && toks[star].text == "*") {
        std::size_t from = NextSolid(toks, star + 1);
        if (from < toks.size() && Is(toks[from], "FROM")) {
          out += t.text;
          out += " ";
          i = from;  // continue with FROM itself
          continue;
        }
      }
    }
    if (Is(t, "ORDER") || Is(t, "GROUP")) {
      std::size_t by = NextSolid(toks, i + 1);
      if (by < toks.size() && Is(toks[by], "BY")) {
        for (std::size_t k = i; k <= by; ++k) out += toks[k].text;
        i = RewriteTerms(toks, by + 1, out);
        continue;
      }
    }
    if (NeedsDoubleQuotes(t))
      out += DoubleQuoted(t.text);
    else
      out += t.text;
    ++i;
  }
  return out;
}

std::string SqlBracket(std::string_view name) {
  std::string out = "[";
  for (char c : name) {
    if (c == ']') out += ']';
    out += c;
  }
  return out + "]";
}

NamePlaceholders FindNamePlaceholders(std::string_view statement) {
  NamePlaceholders r;
  r.format.reserve(statement.size());
  std::size_t i = 0;
  while (i < statement.size()) {
    char c = statement[i];
    if (c != '%') {
      r.format += c;
      ++i;
      continue;
    }
    if (i + 1 < statement.size() && statement[i + 1] == '%') {
      r.format += "%%";
      i += 2;
      continue;
    }
    // One conversion: flags, width, precision and length up to its letter.
    std::size_t end = i + 1;
    while (end < statement.size() && !std::isalpha(static_cast<unsigned char>(statement[end])))
      ++end;
    while (end < statement.size() && std::strchr("hlLqjzt", statement[end])) ++end;
    std::size_t len = std::min(end + 1, statement.size()) - i;
    bool name = statement.substr(i, len) == "%s" && !r.format.empty() && r.format.back() == '[' &&
                i + 2 < statement.size() && statement[i + 2] == ']';
    r.is_name.push_back(name);
    if (name) {
      r.format.back() = '%';
      r.format += 's';
      i += 3;  // the closing bracket comes from SqlBracket
    } else {
      r.format += statement.substr(i, len);
      i += len;
    }
  }
  return r;
}

std::optional<SelectInto> ParseSelectInto(std::string_view access_sql) {
  std::vector<Token> toks;
  for (const Token& t : Lex(access_sql))
    if (t.kind != Tok::kSpace) toks.push_back(t);
  if (!toks.empty() && toks.back().kind == Tok::kPunct && toks.back().text == ";") toks.pop_back();
  // select * into NAME from NAME
  if (toks.size() != 6) return std::nullopt;
  if (!Is(toks[0], "SELECT") || toks[1].text != "*" || !Is(toks[2], "INTO") || !Is(toks[4], "FROM"))
    return std::nullopt;
  auto is_name = [](const Token& t) {
    return t.kind == Tok::kWord || (t.kind == Tok::kQuoted && t.text.front() != '\'');
  };
  if (!is_name(toks[3]) || !is_name(toks[5])) return std::nullopt;
  SelectInto r{Unquote(toks[3].text), Unquote(toks[5].text)};
  if (r.new_table.empty() || r.template_table.empty()) return std::nullopt;
  return r;
}

int CompareGbk(std::string_view a, std::string_view b) {
  // Characters outside code page 936 are written as escapes, so every text has an encoding.
  std::string ga = nyhost::Utf8ToGbkEscaped(a);
  std::string gb = nyhost::Utf8ToGbkEscaped(b);
  std::size_t n = std::min(ga.size(), gb.size());
  for (std::size_t k = 0; k < n; ++k) {
    unsigned char x = static_cast<unsigned char>(ga[k]), y = static_cast<unsigned char>(gb[k]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (ga.size() == gb.size()) return 0;
  return ga.size() < gb.size() ? -1 : 1;
}
