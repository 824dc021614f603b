// Word-processor report output: a .docx written with libzip (filled in with the report).
#pragma once

#include <string>
#include <vector>

class NyWord {
 public:
  struct Font {
    std::string name = "宋体";
    double size_pt = 10;
    bool bold = false;
  };
  // Starts a new document; `visible` opens it with the desktop's opener after saving.
  bool NewDocument(bool visible);
  void AddParagraph(const std::string& text, const Font& font);
  // Writes the document atomically; false with error() set on failure.
  bool SaveAs(const std::string& path);
  const std::string& error() const { return error_; }

 private:
  struct Paragraph {
    std::string text;
    Font font;
  };
  bool visible_ = false;
  std::vector<Paragraph> paragraphs_;
  std::string error_;
};
