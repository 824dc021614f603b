// --edition 2004|2024 of the batch commands that check against a standard: the edition of the
// national lighting standard, chosen in the standards dialog (207) where the dialog lists it.
#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace nycli {

inline constexpr int kStandardsEditionList = 371;

// The item of the standards dialog's edition list for a key of --edition.
inline std::string EditionItem(const std::string& key) {
  return key == "2024" ? "GB/T 50034-2024 (GB 55015-2021)" : "GB 50034-2004";
}

// Adds the option; it needs `standard`, since the edition only matters for a chosen place.
inline void AddEditionOption(CLI::App& sub, std::string& edition, CLI::Option* standard) {
  sub.add_option("--edition", edition,
                 "Edition of the standard the verdicts follow: 2004 (default) or 2024 (GB/T "
                 "50034-2024 with the GB 55015-2021 limits)")
      ->check(CLI::IsMember({"2004", "2024"}))
      ->needs(standard);
}

}  // namespace nycli
