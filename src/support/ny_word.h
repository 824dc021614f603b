// Word-processor output as the module drives it: a new document, its paragraphs in one font,
// saved under a name and shown, all through the host's office port.
#pragma once

#include <string>
#include <vector>

class NyWord {
 public:
  // Starts an empty document.
  void NewFile() { paragraphs_.clear(); }
  // Appends one paragraph per line, every one in `font` at `size_pt`.
  void WriteContent(const std::vector<std::string>& lines, double size_pt, const std::string& font);
  // Writes the document (atomically); false with error() set when the office port cannot.
  bool SaveAsFile(const std::string& path);
  // Opens the saved document with the desktop's opener; without one, the path is printed on the
  // command line so that a script or a person can find it.
  void SetAppVisible(bool visible);
  const std::string& error() const { return error_; }

 private:
  std::vector<std::string> paragraphs_;
  std::string font_ = "宋体";
  double size_pt_ = 10;
  std::string path_;
  std::string error_;
};
