// Small text helpers shared by the host and its front-ends.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace nyhost {

std::vector<std::string> SplitString(std::string_view text, char sep);
std::string Trim(std::string_view text);
// Replaces every occurrence of `from` (not empty), scanning on after each inserted `to`.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);
std::string ToLowerAscii(std::string_view text);
std::string ToUpperAscii(std::string_view text);
// Parses "x,y" or "x,y,z" of finite numbers; false on anything else.
bool ParseCoordinates(std::string_view text, double& x, double& y, double& z);

}  // namespace nyhost
