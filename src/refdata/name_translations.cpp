#include "refdata/name_translations.h"

#include "support/ny_common.h"

NameTranslations ReadNameTranslations(const std::string& path) {
  NameTranslations pairs;
  std::vector<std::string> lines;
  if (!NyCommon::ReadTextLines(path, lines)) return pairs;
  for (const auto& line : lines)
    if (auto eq = line.find('='); eq != std::string::npos)
      pairs.emplace_back(line.substr(0, eq), line.substr(eq + 1));
  return pairs;
}
