#include "support/ny_common.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string p) {
  if (p.empty() || p.back() != '/') p += '/';
  return p;
}

}  // namespace

std::string NyCommon::ModuleFileName(const void* module_address) {
  Dl_info info{};
  if (module_address && dladdr(module_address, &info) && info.dli_fname && *info.dli_fname) {
    std::error_code ec;
    auto p = fs::canonical(info.dli_fname, ec);
    if (!ec) return p.string();
    return info.dli_fname;
  }
  std::error_code ec;
  auto exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : exe.string();
}

std::string NyCommon::ShippedFolder(const void* module_address) {
  if (const char* env = std::getenv("NYLUXORA_SHARE"); env && *env) return WithSlash(env);
  // The module sits in <prefix>/bin, <prefix>/lib or <prefix>/lib/<arch>/nyluxora: look upwards.
  fs::path dir = fs::path(ModuleFileName(module_address)).parent_path();
  std::error_code ec;
  for (int up = 0; up < 4 && !dir.empty(); ++up, dir = dir.parent_path()) {
    fs::path candidate = dir / "share" / "nyluxora";
    if (fs::is_directory(candidate, ec)) return WithSlash(candidate.string());
  }
  return WithSlash((fs::path(ModuleFileName(module_address)).parent_path().parent_path() /
                    "share" / "nyluxora")
                       .string());
}

bool NyCommon::SeedFolder(const std::string& from, const std::string& to) {
  std::error_code ec;
  if (!fs::is_directory(from, ec)) return false;
  fs::create_directories(to, ec);
  if (ec) return false;
  bool ok = true;
  for (auto it = fs::recursive_directory_iterator(from, ec);
       !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
    fs::path rel = fs::relative(it->path(), from, ec);
    fs::path target = fs::path(to) / rel;
    if (it->is_directory()) {
      fs::create_directories(target, ec);
    } else if (!fs::exists(target)) {
      fs::copy_file(it->path(), target, ec);
      // Shipped files are read-only; the user's copies must be writable.
      fs::permissions(target, fs::perms::owner_write, fs::perm_options::add, ec);
    }
    if (ec) {
      ok = false;
      ec.clear();
    }
  }
  return ok;
}

std::string NyCommon::GetRootPath(const void* module_address) {
  std::string root;
  if (const char* env = std::getenv("NYLUXORA_HOME"); env && *env) {
    root = env;
  } else if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg) {
    root = (fs::path(xdg) / "nyluxora").string();
  } else if (const char* home = std::getenv("HOME"); home && *home) {
    root = (fs::path(home) / ".local" / "share" / "nyluxora").string();
  } else {
    root = (fs::temp_directory_path() / "nyluxora").string();
  }
  root = WithSlash(root);
  SeedFolder(ShippedFolder(module_address), root);
  std::error_code ec;
  fs::create_directories(fs::path(root) / "data", ec);
  return root;
}

std::string NyCommon::GetTxtPath(const void* module_address) {
  return GetRootPath(module_address) + "data/";
}

bool NyCommon::WriteFileAtomic(const std::string& path, const std::string& content) {
  fs::path target(path);
  fs::path tmp = target;
  tmp += ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      fs::remove(tmp, ec);
      return false;
    }
  }
  std::error_code ec;
  fs::rename(tmp, target, ec);
  if (ec) {
    fs::remove(tmp, ec);
    return false;
  }
  return true;
}

bool NyCommon::ReadFile(const std::string& path, std::string& content) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::stringstream ss;
  ss << in.rdbuf();
  content = ss.str();
  return true;
}

bool NyCommon::FileExists(const std::string& path) {
  std::error_code ec;
  return fs::is_regular_file(path, ec);
}
