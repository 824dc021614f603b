// File plumbing of DXF reading and writing: whole-file reads, feeding dxflib from memory, and
// atomic replacement of the target file.
#include <dirent.h>
#include <dl_dxf.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>
#include <string_view>

#include "host/dxf_internal.h"
#include "host/file_io.h"

namespace nyhost::dxf {
namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Temporary files of our naming (".NAME.tmpPID_N") that an interrupted save left beside `base`
// in `dir`: removed when their process is gone, never while it may still be writing.
void RemoveStaleTemporaries(const std::string& dir, const std::string& base) {
  DIR* d = ::opendir(dir.c_str());
  if (!d) return;
  const std::string prefix = "." + base + ".tmp";
  while (const dirent* entry = ::readdir(d)) {
    std::string_view name = entry->d_name;
    if (name.substr(0, prefix.size()) != prefix) continue;
    name.remove_prefix(prefix.size());
    std::size_t sep = name.find('_');
    if (sep == 0 || sep == std::string_view::npos || sep + 1 == name.size() ||
        name.find_first_not_of("0123456789_") != std::string_view::npos ||
        name.find('_', sep + 1) != std::string_view::npos || sep > 9)
      continue;
    pid_t pid = static_cast<pid_t>(std::stol(std::string(name.substr(0, sep))));
    if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
    ::unlinkat(::dirfd(d), entry->d_name, 0);
  }
  ::closedir(d);
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::string& error) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    error = path + ": cannot open: " + std::strerror(errno);
    return false;
  }
  struct stat st;
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    error = path + ": cannot open: is a folder";
    return false;
  }
  char buf[65536];
  while (true) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      error = path + ": cannot read: " + std::strerror(errno);
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return true;
}

bool RunDxflib(const std::string& text, DL_CreationInterface& reader, std::string& error) {
  int fd = ::memfd_create("nyluxora-dxf", MFD_CLOEXEC);
  std::string feed_path;
  if (fd >= 0) {
    feed_path = "/proc/self/fd/" + std::to_string(fd);
    if (::access(feed_path.c_str(), R_OK) != 0) {
      ::close(fd);
      fd = -1;
    }
  }
  bool unlink_after = false;
  if (fd < 0) {  // no memfd or no /proc: a private temporary file
    const char* tmp = std::getenv("TMPDIR");
    std::string templ = std::string(tmp && *tmp ? tmp : "/tmp") + "/nyluxora-dxf-XXXXXX";
    fd = ::mkstemp(templ.data());
    if (fd < 0) {
      error = std::string("cannot create a temporary file: ") + std::strerror(errno);
      return false;
    }
    feed_path = templ;
    unlink_after = true;
  }
  bool ok = WriteAll(fd, text);
  if (!ok) error = std::string("cannot buffer the file: ") + std::strerror(errno);
  if (ok) {
    try {
      DL_Dxf dxf;
      if (!dxf.in(feed_path, &reader)) {
        error = "dxflib could not read the file";
        ok = false;
      }
    } catch (const std::exception& ex) {
      error = std::string("dxflib failed: ") + ex.what();
      ok = false;
    } catch (...) {
      error = "dxflib failed";
      ok = false;
    }
  }
  ::close(fd);
  if (unlink_after) ::unlink(feed_path.c_str());
  return ok;
}

}  // namespace nyhost::dxf

namespace nyhost {

bool WriteFileAtomically(const std::string& path, const std::string& data, std::string& error) {
  static std::atomic<unsigned> counter{0};
  std::string::size_type slash = path.rfind('/');
  std::string dir = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  struct stat st;
  bool exists = ::stat(path.c_str(), &st) == 0;
  if (exists && S_ISDIR(st.st_mode)) {
    error = path + ": cannot write: is a folder";
    return false;
  }
  dxf::RemoveStaleTemporaries(dir, base);
  std::string tmp;
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    tmp = (dir == "/" ? "" : dir) + "/." + base + ".tmp" + std::to_string(::getpid()) + "_" +
          std::to_string(counter++);
    fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    error = path + ": cannot write: " + std::strerror(errno);
    return false;
  }
  if (exists) ::fchmod(fd, st.st_mode & 07777);
  bool ok = dxf::WriteAll(fd, data) && ::fsync(fd) == 0;
  int saved = errno;
  if (::close(fd) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (ok && ::rename(tmp.c_str(), path.c_str()) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    ::unlink(tmp.c_str());
    error = path + ": cannot write: " + std::strerror(saved);
    return false;
  }
  int dfd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dfd >= 0) {  // make the rename itself durable
    ::fsync(dfd);
    ::close(dfd);
  }
  return true;
}

}  // namespace nyhost
