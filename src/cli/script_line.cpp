#include "cli/script_line.h"

#include <cctype>
#include <optional>

#include "cli/input_check.h"
#include "host/text_util.h"

namespace nycli {
namespace {

// Kinds of the fixed words after a verb.
enum class Word {
  kId,      // dialog, control, row or column number: 0 or more
  kMenu,    // pop-up menu index, -1 dismisses
  kColor,   // colour index 1..255, 0 cancels the colour dialog
  kFlag,    // 0 or 1
  kStep,    // +1 or -1
  kKey,     // enter, escape, esc, f1
  kAnswer,  // yes, no, ok, cancel
  kTarget,  // an entity handle (hex) or a point X,Y on it
};
// What may follow the fixed words.
enum class Rest { kNone, kOptional, kRequired, kPoint, kHandles };

struct Signature {
  const char* verb;
  std::vector<Word> words;
  Rest rest;
  const char* usage;
  bool answer = false;  // answers a prompt of a running command
};

const std::vector<Signature>& Signatures() {
  using W = Word;
  static const std::vector<Signature> kAll = {
      {"open", {}, Rest::kRequired, "open PLAN.dxf"},
      {"save", {}, Rest::kRequired, "save PLAN.dxf"},
      {"load", {}, Rest::kRequired, "load MODULE.so"},
      {"unload", {}, Rest::kNone, "unload"},
      {"echo", {}, Rest::kOptional, "echo TEXT"},
      {"command", {}, Rest::kRequired, "command NAME"},
      {"point", {}, Rest::kPoint, "point X,Y[,Z]", true},
      {"enter", {}, Rest::kNone, "enter", true},
      {"escape", {}, Rest::kNone, "escape", true},
      {"pick", {W::kTarget}, Rest::kNone, "pick HANDLE|X,Y", true},
      {"select", {}, Rest::kHandles, "select HANDLE...", true},
      {"text", {}, Rest::kOptional, "text TEXT", true},
      {"answer", {W::kAnswer}, Rest::kNone, "answer yes|no|ok|cancel"},
      {"file", {}, Rest::kOptional, "file [PATH]"},
      {"menu", {W::kMenu}, Rest::kNone, "menu N"},
      {"color", {W::kColor}, Rest::kNone, "color N"},
      {"click", {W::kId, W::kId}, Rest::kNone, "click DIALOG CONTROL"},
      {"set", {W::kId, W::kId}, Rest::kOptional, "set DIALOG CONTROL TEXT"},
      {"choose", {W::kId, W::kId}, Rest::kRequired, "choose DIALOG CONTROL ITEM"},
      {"check", {W::kId, W::kId, W::kFlag}, Rest::kNone, "check DIALOG CONTROL 0|1"},
      {"spin", {W::kId, W::kId, W::kStep}, Rest::kNone, "spin DIALOG CONTROL +1|-1"},
      {"cell",
       {W::kId, W::kId, W::kId, W::kId},
       Rest::kOptional,
       "cell DIALOG CONTROL ROW COL TEXT"},
      {"cellclick",
       {W::kId, W::kId, W::kId, W::kId},
       Rest::kNone,
       "cellclick DIALOG CONTROL ROW COL"},
      {"rclick", {W::kId, W::kId}, Rest::kRequired, "rclick DIALOG CONTROL PATH"},
      {"key", {W::kId, W::kKey}, Rest::kNone, "key DIALOG enter|escape|f1"},
      {"close", {W::kId}, Rest::kNone, "close DIALOG"},
      {"show", {W::kId, W::kId}, Rest::kNone, "show DIALOG CONTROL"},
  };
  return kAll;
}

const Signature* Find(const std::string& verb) {
  for (const auto& s : Signatures())
    if (verb == s.verb) return &s;
  return nullptr;
}

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// The next blank-separated word of `text` from `pos`; empty at the end.
std::string NextWord(std::string_view text, std::size_t& pos) {
  while (pos < text.size() && IsSpace(text[pos])) ++pos;
  std::size_t start = pos;
  while (pos < text.size() && !IsSpace(text[pos])) ++pos;
  return std::string(text.substr(start, pos - start));
}

bool IsHandle(const std::string& w) {
  if (w.empty() || w.size() > 16) return false;
  for (char c : w)
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  return true;
}

bool OneOf(const std::string& w, std::initializer_list<const char*> names) {
  std::string lower = nyhost::ToLowerAscii(w);
  for (const char* n : names)
    if (lower == n) return true;
  return false;
}

// Checks one fixed word; numbers go to line.numbers.
bool CheckWord(Word kind, const std::string& w, ScriptLine& line, std::string& why) {
  std::optional<int> n;
  switch (kind) {
    case Word::kId:
      n = CheckedInteger(w, 0, 1000000, why);
      break;
    case Word::kMenu:
      n = CheckedInteger(w, -1, 1000000, why);
      break;
    case Word::kColor:
      n = CheckedInteger(w, 0, 255, why);
      break;
    case Word::kFlag:
      n = CheckedInteger(w, 0, 1, why);
      break;
    case Word::kStep:
      n = CheckedInteger(w, -1, 1, why);
      if (n && *n == 0) {
        why = "'0' is neither +1 nor -1";
        n.reset();
      }
      break;
    case Word::kKey:
      if (OneOf(w, {"enter", "escape", "esc", "f1"})) return true;
      why = "'" + w + "' is not enter, escape or f1";
      return false;
    case Word::kAnswer:
      if (OneOf(w, {"yes", "no", "ok", "cancel"})) return true;
      why = "'" + w + "' is not yes, no, ok or cancel";
      return false;
    case Word::kTarget:
      if (w.find(',') != std::string::npos) {
        auto p = CheckedPoint(w, why);
        if (!p) return false;
        line.point = *p;
        line.has_point = true;
        return true;
      }
      if (IsHandle(w)) return true;
      why = "'" + w + "' is neither a handle nor a point X,Y";
      return false;
  }
  if (!n) return false;
  line.numbers.push_back(*n);
  return true;
}

}  // namespace

bool IsAnswerVerb(const std::string& verb) {
  const Signature* s = Find(verb);
  return s && s->answer;
}

bool ParseScriptLine(std::string_view text, ScriptLine& line, std::string& error) {
  int number = line.number;
  line = ScriptLine{};
  line.number = number;
  std::string trimmed = nyhost::Trim(text);
  if (trimmed.empty() || trimmed[0] == '#') return true;
  std::size_t pos = 0;
  std::string verb = nyhost::ToLowerAscii(NextWord(trimmed, pos));
  const Signature* sig = Find(verb);
  if (!sig) {
    error = "unknown command '" + verb + "'";
    return false;
  }
  line.verb = verb;
  for (Word kind : sig->words) {
    std::string w = NextWord(trimmed, pos);
    if (w.empty()) {
      error = "too few words; usage: " + std::string(sig->usage);
      return false;
    }
    std::string why;
    if (!CheckWord(kind, w, line, why)) {
      error = verb + ": " + why + "; usage: " + sig->usage;
      return false;
    }
    line.words.push_back(w);
  }
  while (pos < trimmed.size() && IsSpace(trimmed[pos])) ++pos;
  line.rest = trimmed.substr(pos);
  switch (sig->rest) {
    case Rest::kNone:
      if (line.rest.empty()) return true;
      error = "too many words; usage: " + std::string(sig->usage);
      return false;
    case Rest::kOptional:
      return true;
    case Rest::kRequired:
      if (!line.rest.empty()) return true;
      error = "too few words; usage: " + std::string(sig->usage);
      return false;
    case Rest::kPoint: {
      std::string why;
      auto p = CheckedPoint(line.rest, why);
      if (!p) {
        error = verb + ": " + why;
        return false;
      }
      line.point = *p;
      line.has_point = true;
      return true;
    }
    case Rest::kHandles: {
      std::size_t at = 0;
      for (std::string h = NextWord(line.rest, at); !h.empty(); h = NextWord(line.rest, at)) {
        line.words.push_back(h);
        if (IsHandle(h)) continue;
        error = verb + ": '" + h + "' is not an entity handle";
        return false;
      }
      if (!line.rest.empty()) return true;
      error = "too few words; usage: " + std::string(sig->usage);
      return false;
    }
  }
  return true;
}

}  // namespace nycli
