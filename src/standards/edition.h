// Editions of the national lighting standard that the verdicts can follow: GB 50034-2004 (the
// program's own rules, the default) and GB/T 50034-2024 with the power-density limits of
// GB 55015-2021. Each edition keeps its categories in a table of its own in NyData.mdb, so
// editions stand side by side and the 2004 tables stay as they are.
#pragma once

#include <optional>
#include <string>

enum class StandardEdition { k2004, k2024 };

struct EditionInfo {
  StandardEdition edition;
  const char* key;                // "2004": the settings file and the batch commands' --edition
  const char* label;              // how verdicts and reports name it
  const char* categories;         // table listing the categories
  const char* table_suffix;       // a category's table: category + suffix
  const char* category_template;  // new category tables are copied from it
};

const EditionInfo& InfoOf(StandardEdition edition);
std::optional<StandardEdition> EditionFromKey(const std::string& key);
std::optional<StandardEdition> EditionFromLabel(const std::string& label);

// "GB 50034-2004" or "GB/T 50034-2024 (GB 55015-2021)", for report lines.
std::string EditionLabel(StandardEdition edition);

// The edition chosen in the standards dialog, remembered in the settings file; 2004 when none
// was chosen or the remembered text is not an edition.
inline constexpr const char* kEditionKey = "标准版本";
StandardEdition CurrentEdition();

// Whether a calculated average illuminance satisfies the standard illuminance. 2004: it must
// reach it. 2024: the design value may fall short of it by 10 % (4.1.7), so the power-density
// limit applies unreduced down to 90 % of the standard.
bool ReachesStandard(StandardEdition edition, double average, double standard_lx);

// The work-area uniformity a place requires: 2004 always 0.7; 2024 the place's U0 (0: none),
// a value outside 0..1 counting as none.
double StandardUniformity(StandardEdition edition, double u0);

// A verdict text as the edition states it. 2004: unchanged. 2024: the illuminance condition
// reads against 90 % of the standard, and a closing clause names the edition.
std::string EditionVerdict(StandardEdition edition, const std::string& text);
