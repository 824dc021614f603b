#include "support/ny_word.h"

#include "host/host.h"
#include "support/ny_glb.h"

void NyWord::WriteContent(const std::vector<std::string>& lines, double size_pt,
                          const std::string& font) {
  paragraphs_.insert(paragraphs_.end(), lines.begin(), lines.end());
  size_pt_ = size_pt;
  font_ = font;
}

bool NyWord::SaveAsFile(const std::string& path) {
  error_.clear();
  if (!nyhost::Host::Get().office().WriteDocument(path, paragraphs_, font_, size_pt_, error_))
    return false;
  path_ = path;
  return true;
}

void NyWord::SetAppVisible(bool visible) {
  if (!visible || path_.empty()) return;
  NyGlb::OpenDocument(path_);
}
