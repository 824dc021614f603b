#include "cli/module_path.h"

#include <cstdlib>
#include <filesystem>

namespace nycli {

std::string DefaultModulePath() {
  std::error_code ec;
  auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  auto dir = exe.parent_path().parent_path() / NYLUXORA_LIBDIR / "nyluxora" / "NYLuxora.so";
  return dir.string();
}

void UseDataDir(const std::string& dir) {
  if (dir.empty()) return;
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  auto abs = std::filesystem::absolute(dir, ec);
  setenv("NYLUXORA_HOME", abs.string().c_str(), 1);
}

}  // namespace nycli
