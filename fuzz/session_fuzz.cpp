// Session scripts against the module on the example plan: any text runs to its end or stops at
// a line with a message, and never crashes the host. Lines that reach the file system by a path
// of the script's choosing (open, save, load, file answers) are left out. The module is linked
// in and entered as the host enters it.
#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>

#include "cli/session.h"
#include "frame/module_entry.h"
#include "host/dxf_io.h"
#include "host/text_util.h"

namespace {

std::string folder;
std::unique_ptr<nyhost::Drawing> plan;

bool ReachesFiles(const std::string& script) {
  for (const auto& raw : nyhost::SplitString(script, '\n')) {
    std::string line = nyhost::ToLowerAscii(nyhost::Trim(raw));
    std::string verb = line.substr(0, line.find_first_of(" \t"));
    if (verb == "open" || verb == "save" || verb == "load" || verb == "unload" || verb == "file")
      return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A relative home in a private working folder keeps the random folder name out of paths and
  // messages, so one seed steers the fuzzer the same way every run.
  char templ[] = "/tmp/nyluxora-fuzz-session-XXXXXX";
  if (!mkdtemp(templ) || chdir(templ) != 0) std::abort();
  folder = templ;
  std::atexit([] { std::system(("rm -rf '" + folder + "'").c_str()); });
  setenv("NYLUXORA_HOME", "home", 1);
  setenv("NYLUXORA_SHARE", NYLUXORA_FUZZ_SHARE_DIR, 1);
  nyhost::DxfResult r;
  plan = nyhost::ReadDxf(NYLUXORA_FUZZ_EXAMPLE_PLAN, r);
  if (!plan) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string script(reinterpret_cast<const char*>(data), size);
  if (ReachesFiles(script)) return 0;
  std::ostringstream out, err;
  nyhost::Host& host = nyhost::Host::Get();
  nycli::Session session(host, out, err);
  host.SetEntryResolver([](const std::string& name) {
    return reinterpret_cast<nyhost::CommandEntry>(dlsym(RTLD_DEFAULT, name.c_str()));
  });
  host.SetDrawing(std::make_unique<nyhost::Drawing>(*plan));
  ExModuleLoad();
  bool ok = session.RunScript(script, "fuzz.session");
  if (!ok && err.str().find("fuzz.session:") == std::string::npos) {
    std::fprintf(stderr, "a failed script gave no message: %s\n", err.str().c_str());
    std::abort();
  }
  ExModuleUnload();
  session.windows().Collect();
  return 0;
}
