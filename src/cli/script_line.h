// One line of a session script, read against the one table of verb signatures: the verb, its
// fixed words checked (word count, number syntax and range) and the free text after them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "host/geometry.h"

namespace nycli {

struct ScriptLine {
  int number = 0;                  // line number in the script (set by the caller)
  std::string verb;                // lower case; empty for a blank or comment line
  std::vector<std::string> words;  // the fixed words, as written
  std::vector<int> numbers;        // the fixed words that are numbers, in order
  std::string rest;                // free text after the fixed words
  nyhost::Point3 point;            // the point of `point X,Y` and `pick X,Y`
  bool has_point = false;
};

// Reads one line (no line break). True for a valid line, a blank one or a comment (verb
// empty); false with a message in `error` for an unknown verb or words that do not fit it.
bool ParseScriptLine(std::string_view text, ScriptLine& line, std::string& error);

// Whether the verb answers a prompt of a running command (point, enter, escape, ...).
bool IsAnswerVerb(const std::string& verb);

}  // namespace nycli
