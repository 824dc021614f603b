#include "support/ny_common.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/file_io.h"
#include "host/text_codec.h"
#include "host/text_util.h"

namespace fs = std::filesystem;

namespace {

std::string WithSlash(std::string p) {
  if (p.empty() || p.back() != '/') p += '/';
  return p;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// A temporary file beside `target` for the atomic writes, with the target's mode (0644 for a
// new one). -1 with the reason in `error` when the folder cannot be written.
int OpenTemporary(const fs::path& target, std::string& tmp, std::string& error) {
  tmp = target.string() + ".tmp.XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) {
    error = target.string() + ": " + std::strerror(errno);
    return -1;
  }
  struct stat st;
  ::fchmod(fd, ::stat(target.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644);
  return fd;
}

// Puts `tmp` at `target` unless `target` exists: 0, EEXIST, or the errno of the failure.
int PlaceWithoutReplacing(const std::string& tmp, const fs::path& target) {
  if (::link(tmp.c_str(), target.c_str()) == 0) return 0;
  if (errno == EEXIST) return EEXIST;
  // Folders without hard links (some network and FAT file systems).
  if (::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  struct stat st;
  if (::stat(target.c_str(), &st) == 0) return EEXIST;
  return std::rename(tmp.c_str(), target.c_str()) == 0 ? 0 : errno;
}

// Makes the written temporary file `target`: fsync, close, rename (or, without `replace`, a
// placement that never overwrites), and an fsync of the folder so the rename itself lasts.
bool CommitTemporary(int fd, bool written, const std::string& tmp, const fs::path& target,
                     bool replace, std::string& error) {
  int failure = written && ::fsync(fd) == 0 ? 0 : (errno ? errno : EIO);
  if (::close(fd) != 0 && failure == 0) failure = errno;
  if (failure == 0 && replace && std::rename(tmp.c_str(), target.c_str()) != 0) failure = errno;
  bool kept_existing = false;
  if (failure == 0 && !replace) {
    failure = PlaceWithoutReplacing(tmp, target);
    kept_existing = failure == EEXIST;
    if (kept_existing) failure = 0;
  }
  if (failure != 0 || !replace) ::unlink(tmp.c_str());
  if (failure != 0) {
    error = target.string() + ": " + std::strerror(failure);
    return false;
  }
  if (!kept_existing) {
    fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    int dfd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dfd >= 0) {
      ::fsync(dfd);
      ::close(dfd);
    }
  }
  return true;
}

bool Failed(std::string* error, const std::string& why) {
  if (error) *error = why;
  return false;
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
  return WithSlash(
      (fs::path(ModuleFileName(module_address)).parent_path().parent_path() / "share" / "nyluxora")
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
    } else if (FindFileNoCase(target.parent_path().string(), target.filename().string()).empty()) {
      // Shipped files are read-only; the user's copies are writable (CopyFileAtomic's 0644).
      ok = CopyFileAtomic(it->path().string(), target.string(), nullptr, false) && ok;
    }
    if (ec) {
      ok = false;
      ec.clear();
    }
  }
  return ok;
}

std::string NyCommon::FindFileNoCase(const std::string& folder, const std::string& name) {
  std::error_code ec;
  fs::path exact = fs::path(folder) / name;
  if (fs::is_regular_file(exact, ec)) return exact.string();
  std::string wanted = nyhost::ToLowerAscii(name);
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    if (nyhost::ToLowerAscii(it->path().filename().string()) == wanted) return it->path().string();
  }
  return {};
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

bool NyCommon::WriteFileAtomic(const std::string& path, const std::string& content,
                               std::string* error) {
  std::string why;
  return nyhost::WriteFileAtomically(path, content, why) || Failed(error, why);
}

bool NyCommon::CopyFileAtomic(const std::string& from, const std::string& to, std::string* error,
                              bool replace) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return Failed(error, from + ": " + std::strerror(errno));
  std::string tmp, why;
  int out = OpenTemporary(to, tmp, why);
  if (out < 0) {
    ::close(in);
    return Failed(error, why);
  }
  char buf[1 << 16];
  bool written = true;
  for (;;) {
    ssize_t n = ::read(in, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      written = n == 0;
      break;
    }
    if (!WriteAll(out, buf, static_cast<std::size_t>(n))) {
      written = false;
      break;
    }
  }
  ::close(in);
  if (!CommitTemporary(out, written, tmp, to, replace, why)) return Failed(error, why);
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

bool NyCommon::ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  std::string bytes;
  if (!ReadFile(path, bytes)) return false;
  const std::string text = nyhost::LegacyTextToUtf8(bytes);
  lines.clear();
  for (std::size_t start = 0; start < text.size();) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return true;
}

bool NyCommon::IsFileOpenElsewhere(const std::string& path) {
  const fs::path p(path);
  std::error_code ec;
  if (fs::exists(p.parent_path() / (".~lock." + p.filename().string() + "#"), ec)) return true;
  const int fd = ::open(path.c_str(), O_RDWR);
  if (fd < 0) return true;
  ::close(fd);
  return false;
}
