// The distribution-curve chooser (dialog 219) as the luminaire records use it.
#pragma once

#include <string>

// Shows the chooser modally with `prompt`; true with the chosen curve table when confirmed.
bool ChooseSubstituteCurve(const std::string& prompt, std::string& curve_table);
