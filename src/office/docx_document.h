// The built-in word-processor writer: a WordprocessingML package (.docx) of plain paragraphs,
// assembled in memory with libzip and pugixml and written in one atomic step.
#pragma once

#include <string>
#include <vector>

namespace nyoffice {

// One paragraph per entry (an empty entry is an empty paragraph), every run in `font` (Latin and
// East Asian) at `size_pt`. A tab becomes a tab stop; other control characters, which XML cannot
// hold, are dropped. False with the reason when the file cannot be written.
bool WriteDocx(const std::string& path, const std::vector<std::string>& paragraphs,
               const std::string& font, double size_pt, std::string& error);

}  // namespace nyoffice
