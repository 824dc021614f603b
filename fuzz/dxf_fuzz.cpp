// DXF reading: any bytes either load completely or are refused with a message; a loaded drawing
// can be measured, and writing it and reading the result back gives the same entities.
#include <unistd.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/dxf_io.h"
#include "host/entity_geometry.h"

namespace {

std::string folder;

[[noreturn]] void Mismatch(const std::string& what) {
  std::fprintf(stderr, "round-trip mismatch: %s\n", what.c_str());
  std::abort();
}

// Top-level entity records of the ENTITIES section, counted without our reader: every object
// there but the members of a sequence.
std::size_t CountEntities(std::string_view text) {
  std::size_t n = 0;
  bool in_entities = false, code0 = false, section = false, expect_name = false;
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  std::size_t pos = 0;
  bool is_code = true;
  while (pos < text.size()) {
    std::size_t nl = text.find('\n', pos);
    std::string_view line = text.substr(pos, nl == std::string_view::npos ? nl : nl - pos);
    pos = nl == std::string_view::npos ? text.size() : nl + 1;
    while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (is_code) {
      std::string_view code = line;
      while (!code.empty() && (code.back() == ' ' || code.back() == '\t')) code.remove_suffix(1);
      while (!code.empty() && (code.front() == ' ' || code.front() == '\t')) code.remove_prefix(1);
      if (code.size() > 1 && code.front() == '+') code.remove_prefix(1);
      int number = -1;
      std::from_chars(code.data(), code.data() + code.size(), number);
      code0 = number == 0;
      expect_name = section && number == 2;
      section = false;
    } else if (expect_name) {
      in_entities = line == "ENTITIES";
    } else if (code0) {
      if (line == "EOF") break;  // the rest is not read
      section = line == "SECTION";
      if (line == "ENDSEC") in_entities = false;
      if (in_entities && line != "ATTRIB" && line != "VERTEX" && line != "SEQEND") ++n;
    }
    is_code = !is_code;
  }
  return n;
}

bool SameAngle(double a, double b) { return std::fabs(a - b) <= 1e-9 * (1 + std::fabs(a)); }

// Entities equal up to MText angles, which pass through degrees in the file; block and text
// angles are kept in degrees and must come back exactly.
bool Same(nyhost::Entity a, const nyhost::Entity& b) {
  using namespace nyhost;
  if (a.data.index() != b.data.index()) return false;
  if (auto* m = a.As<MText>(); m && SameAngle(m->rotation, b.As<MText>()->rotation))
    m->rotation = b.As<MText>()->rotation;
  return a == b;
}

// Compares the entities read back with those written; a difference aborts, naming the entity.
void CheckSame(const std::vector<nyhost::Entity>& back, const std::vector<nyhost::Entity>& sent,
               const std::string& where) {
  if (back.size() != sent.size())
    Mismatch(where + ": " + std::to_string(back.size()) + " entities read back of " +
             std::to_string(sent.size()));
  for (std::size_t i = 0; i < back.size(); ++i)
    if (!Same(back[i], sent[i]))
      Mismatch(where + ": entity " + std::to_string(i) + " (" + nyhost::EntityTypeName(sent[i]) +
               ") differs after a round trip");
}

}  // namespace

// The files are named relative to a private working folder: a random folder name in the paths
// (and so in the messages) would steer the fuzzer differently from run to run of one seed.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  char templ[] = "/tmp/nyluxora-fuzz-dxf-XXXXXX";
  if (!mkdtemp(templ) || chdir(templ) != 0) std::abort();
  folder = templ;
  std::atexit([] { std::system(("rm -rf '" + folder + "'").c_str()); });
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string in = "in.dxf", out = "out.dxf";
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (FILE* f = std::fopen(in.c_str(), "wb")) {
    std::fwrite(data, 1, size, f);
    std::fclose(f);
  }
  nyhost::DxfResult r;
  auto d = nyhost::ReadDxf(in, r);
  if (!d) {
    if (r.ok || r.error.find(in) == std::string::npos) Mismatch("refused without naming the file");
    return 0;
  }
  std::vector<nyhost::Entity> live;
  for (const auto& e : d->entities()) {
    live.push_back(e);
    nyhost::EntityExtents(*d, e);
  }
  if (live.size() != CountEntities(text)) Mismatch("not every entity of the file was read");
  nyhost::DrawingExtents(*d);

  nyhost::DxfResult w = nyhost::WriteDxf(*d, out);
  if (!w.ok) {
    if (w.error.empty()) Mismatch("write failed without a message");
    return 0;
  }
  auto back = nyhost::ReadDxf(out, r);
  if (!back) Mismatch("cannot read what was written: " + r.error);
  CheckSame(back->entities(), live, "model space");
  // The writer defines every block a reference names, empty when the drawing has none.
  for (const auto& b : back->blocks()) {
    const nyhost::BlockDefinition* sent = d->FindBlock(b.name);
    if (!sent && !b.entities.empty()) Mismatch("block " + b.name + " appeared");
    if (sent) CheckSame(b.entities, sent->entities, "block " + b.name);
  }
  for (const auto& b : d->blocks())
    if (!back->FindBlock(b.name)) Mismatch("block " + b.name + " was lost");
  if (back->arch_scale() != d->arch_scale() || back->draw_scale() != d->draw_scale())
    Mismatch("scales differ after a round trip");
  return 0;
}
