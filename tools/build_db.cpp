// build_db: creates a fresh SQLite database file from one or more SQL text files.
//
//   build_db OUTPUT.mdb INPUT.sql [INPUT.sql ...]
//
// The files run in the given order inside one transaction, so they must not contain BEGIN or
// COMMIT themselves. The database is written under a temporary name beside OUTPUT and renamed
// only when everything succeeded. A failed build leaves neither a partial file nor an older
// OUTPUT, so nothing goes on running against stale data.
// Exit status: 0 success, 1 error in the data or the file system, 2 usage.
#include <sqlite3.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Strict UTF-8 check (no overlong forms, no surrogates, nothing above U+10FFFF); returns the
// offset of the first bad byte or npos. SQLite would store other encodings without complaint.
size_t FirstInvalidUtf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    const auto c = static_cast<unsigned char>(s[i]);
    size_t len = 0;
    unsigned min = 0;
    unsigned cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      len = 2, min = 0x80, cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      len = 3, min = 0x800, cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      len = 4, min = 0x10000, cp = c & 0x07;
    } else {
      return i;
    }
    if (i + len > s.size()) return i;
    for (size_t k = 1; k < len; ++k) {
      const auto t = static_cast<unsigned char>(s[i + k]);
      if ((t & 0xC0) != 0x80) return i;
      cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return i;
    i += len;
  }
  return std::string_view::npos;
}

int LineOf(std::string_view text, size_t offset) {
  int line = 1;
  for (size_t i = 0; i < offset && i < text.size(); ++i) {
    if (text[i] == '\n') ++line;
  }
  return line;
}

class Builder {
 public:
  explicit Builder(fs::path temp) : temp_(std::move(temp)) {}
  ~Builder() {
    sqlite3_close(db_);
    if (!keep_) {
      std::error_code ec;
      fs::remove(temp_, ec);
    }
  }
  Builder(const Builder&) = delete;
  Builder& operator=(const Builder&) = delete;

  bool Open(std::string& error) {
    if (sqlite3_open_v2(temp_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
      error = "cannot create " + temp_.string() + ": " + Message();
      return false;
    }
    // The file is private until renamed and deleted on failure: no journal needed.
    return Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;", error);
  }

  // Runs every statement of one file, reporting the line of a failing one.
  bool RunFile(const fs::path& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
      error = "cannot read " + path.string();
      return false;
    }
    std::ostringstream buffer;
    buffer << in.rdbuf();
    std::string text = buffer.str();
    if (text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
    if (const size_t bad = FirstInvalidUtf8(text); bad != std::string_view::npos) {
      error = path.string() + ":" + std::to_string(LineOf(text, bad)) + ": not valid UTF-8";
      return false;
    }
    const char* const begin = text.c_str();
    const char* const end = begin + text.size();
    const char* cursor = begin;
    int statements = 0;
    while (cursor < end) {
      sqlite3_stmt* stmt = nullptr;
      const char* tail = nullptr;
      const size_t start = static_cast<size_t>(cursor - begin);
      if (sqlite3_prepare_v2(db_, cursor, static_cast<int>(end - cursor), &stmt, &tail) !=
          SQLITE_OK) {
        error = Located(path, text, start);
        sqlite3_finalize(stmt);
        return false;
      }
      cursor = tail;
      if (stmt == nullptr) continue;  // only blanks or comments
      int rc = SQLITE_ROW;
      while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
      }
      sqlite3_finalize(stmt);
      if (rc != SQLITE_DONE) {
        error = Located(path, text, start);
        return false;
      }
      ++statements;
    }
    if (statements == 0) {
      error = path.string() + ": contains no SQL statement";
      return false;
    }
    return true;
  }

  bool Finish(std::string& error) {
    if (!Exec("COMMIT;", error)) return false;
    if (sqlite3_close(db_) != SQLITE_OK) {
      error = "cannot close " + temp_.string() + ": " + Message();
      return false;
    }
    db_ = nullptr;
    return true;
  }

  void Keep() { keep_ = true; }

 private:
  std::string Message() const { return db_ ? sqlite3_errmsg(db_) : "out of memory"; }

  // Skips leading blanks and comments so the reported line is the statement's own.
  std::string Located(const fs::path& path, std::string_view text, size_t start) const {
    while (start < text.size()) {
      if (std::isspace(static_cast<unsigned char>(text[start]))) {
        ++start;
      } else if (text.substr(start, 2) == "--") {
        const size_t eol = text.find('\n', start);
        start = eol == std::string_view::npos ? text.size() : eol + 1;
      } else {
        break;
      }
    }
    return path.string() + ":" + std::to_string(LineOf(text, start)) + ": " + Message();
  }

  bool Exec(const char* sql, std::string& error) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
      error = message ? message : Message();
      sqlite3_free(message);
      return false;
    }
    return true;
  }

  fs::path temp_;
  sqlite3* db_ = nullptr;
  bool keep_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::cerr << "usage: build_db OUTPUT INPUT.sql [INPUT.sql ...]\n";
    return 2;
  }
  const fs::path output = argv[1];
  std::vector<fs::path> inputs(argv + 2, argv + argc);

  std::error_code ec;
  if (output.has_parent_path()) fs::create_directories(output.parent_path(), ec);
  if (ec) {
    std::cerr << "build_db: cannot create " << output.parent_path() << ": " << ec.message() << "\n";
    return 1;
  }
  fs::path temp = output;
  temp += ".tmp." + std::to_string(getpid());
  fs::remove(temp, ec);

  std::string error;
  Builder builder(temp);
  bool ok = builder.Open(error);
  for (size_t i = 0; ok && i < inputs.size(); ++i) ok = builder.RunFile(inputs[i], error);
  if (ok) ok = builder.Finish(error);
  if (ok) {
    fs::rename(temp, output, ec);
    if (ec) {
      error = "cannot rename " + temp.string() + " to " + output.string() + ": " + ec.message();
      ok = false;
    }
  }
  if (!ok) {
    fs::remove(output, ec);
    std::cerr << "build_db: " << error << "\n"
              << "build_db: " << output.string() << " was not written\n";
    return 1;
  }
  builder.Keep();
  return 0;
}
