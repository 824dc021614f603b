// The luminaire-name list of the English reports: "照度灯具中英文对照.txt" beside the databases,
// one "Chinese=English" pair a line (split at the first "=", neither side trimmed).
#pragma once

#include <string>
#include <utility>
#include <vector>

using NameTranslations = std::vector<std::pair<std::string, std::string>>;

inline constexpr const char* kNameTranslationsFile = "照度灯具中英文对照.txt";

// The pairs in file order; lines without "=" are skipped, a missing file gives none.
NameTranslations ReadNameTranslations(const std::string& path);
