#include "support/ny_glb.h"

#include "host/host.h"

void NyGlb::SendCommandToZwCad(const std::string& text, int) {
  nyhost::Host::Get().SendCommand(text);
}

void NyGlb::OpenDocument(const std::string& path) {
  nyhost::Host& host = nyhost::Host::Get();
  if (!host.windows().OpenDocument(path)) host.Print("\n" + path);
}

void NyGlb::CancelLastZwCadCommand() { nyhost::Host::Get().CancelRunningCommand(); }

int NyGlb::SelectObjects(std::vector<nyhost::EntityId>& ids, const std::string& prompt,
                         const nyhost::EntityFilter& filter) {
  ids.clear();
  int rc = nyhost::Host::Get().SelectObjects(prompt, filter, ids);
  return rc == nyhost::kRtNorm && !ids.empty() ? 1 : 0;
}
