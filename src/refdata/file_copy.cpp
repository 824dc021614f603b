#include "refdata/file_copy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <system_error>

#include "host/text_util.h"

namespace fs = std::filesystem;

fs::path FindFileNoCase(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  std::string wanted = nyhost::ToLowerAscii(name);
  fs::path exact = folder / name;
  if (fs::is_regular_file(exact, ec)) return exact;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    if (!it->is_regular_file(ec)) continue;
    if (nyhost::ToLowerAscii(it->path().filename().string()) == wanted) return it->path();
  }
  return {};
}

bool CopyFileAtomic(const fs::path& from, const fs::path& to, std::string* error) {
  auto fail = [&](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return fail("cannot read " + from.string());
  std::string tmp_name = to.string() + ".XXXXXX";
  int out = ::mkstemp(tmp_name.data());
  if (out < 0) {
    ::close(in);
    return fail("cannot write in " + to.parent_path().string());
  }
  char buf[1 << 16];
  bool ok = true;
  for (;;) {
    ssize_t n = ::read(in, buf, sizeof buf);
    if (n == 0) break;
    if (n < 0) {
      ok = false;
      break;
    }
    for (ssize_t done = 0; done < n;) {
      ssize_t w = ::write(out, buf + done, static_cast<std::size_t>(n - done));
      if (w <= 0) {
        ok = false;
        break;
      }
      done += w;
    }
    if (!ok) break;
  }
  ::close(in);
  ok = ok && ::fchmod(out, 0644) == 0 && ::fsync(out) == 0;
  ok = (::close(out) == 0) && ok;
  if (!ok || std::rename(tmp_name.c_str(), to.c_str()) != 0) {
    std::remove(tmp_name.c_str());
    return fail("cannot copy " + from.string() + " to " + to.string());
  }
  return true;
}
