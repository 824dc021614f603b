// Shared fixtures: a headless host with a recording output, a queue of input answers and a fresh
// user data folder per test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "host/host.h"

namespace nytest {

// Input answers queued by a test, in order. An empty queue answers Escape.
struct QueuedInput : nyhost::InputPort {
  struct Answer {
    int rc = nyhost::kRtNorm;
    nyhost::Point3 point;
    nyhost::EntityId id = nyhost::kNullId;
    std::vector<nyhost::EntityId> ids;
    std::string text;
  };
  std::deque<Answer> answers;
  int asked = 0;

  static Answer Of(int rc) {
    Answer a;
    a.rc = rc;
    return a;
  }
  void Point(double x, double y, double z = 0) {
    Answer a;
    a.point = {x, y, z};
    answers.push_back(a);
  }
  void Enter() { answers.push_back(Of(nyhost::kRtNone)); }
  void Escape() { answers.push_back(Of(nyhost::kRtCan)); }
  void Pick(nyhost::EntityId id) {
    Answer a;
    a.id = id;
    answers.push_back(a);
  }
  void Select(std::vector<nyhost::EntityId> ids) {
    Answer a;
    a.ids = std::move(ids);
    answers.push_back(a);
  }

  Answer Next() {
    ++asked;
    if (answers.empty()) return Of(nyhost::kRtCan);
    Answer a = answers.front();
    answers.pop_front();
    return a;
  }
  int GetPoint(const nyhost::Point3*, nyhost::Point3& out) override {
    auto a = Next();
    out = a.point;
    return a.rc;
  }
  int GetCorner(const nyhost::Point3&, nyhost::Point3& out) override {
    return GetPoint(nullptr, out);
  }
  int EntSel(nyhost::EntityId& id, nyhost::Point3& pick) override {
    auto a = Next();
    id = a.id;
    pick = a.point;
    return a.rc;
  }
  int SelectObjects(const nyhost::EntityFilter& filter,
                    std::vector<nyhost::EntityId>& ids) override;
  int JigPoint(const std::vector<nyhost::Point3>&, nyhost::Point3& out) override {
    return GetPoint(nullptr, out);
  }
  int GetString(bool, std::string& out) override {
    auto a = Next();
    out = a.text;
    return a.rc;
  }
};

struct RecordingOutput : nyhost::OutputPort {
  std::string text;
  int progress_starts = 0, progress_stops = 0;
  std::vector<int> percents;
  void Print(std::string_view t) override { text += t; }
  void ProgressStart() override { ++progress_starts; }
  void ProgressPercent(int p) override { percents.push_back(p); }
  void ProgressStop() override { ++progress_stops; }
};

// A temporary folder removed at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }

 private:
  std::filesystem::path path_;
};

// The bytes of a file ("" if it cannot be read).
std::string ReadAll(const std::filesystem::path& p);

// The text of an office document as an office program lays it out: LibreOffice (headless, its
// profile in `work`) converts it to PDF in `work`, pdftotext reads that back. None when soffice
// is not installed (the caller skips); a failed conversion fails the test and gives "". A PDF is
// read as it is (none without pdftotext).
std::optional<std::string> OfficeDocumentText(const std::filesystem::path& document,
                                              const std::filesystem::path& work);

// Wires a fresh headless host state into Host::Get() for one test: ports, a new drawing, an empty
// user folder (NYLUXORA_HOME) seeded from the built share folder.
class HostFixture : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  nyhost::Host& host() { return nyhost::Host::Get(); }
  nyhost::Drawing& drawing() { return *host().drawing(); }

  // Loads the module as the host would (its entry functions are part of this test program).
  void LoadModule();
  void UnloadModule();
  // Types a command line and runs what it queued.
  void Type(const std::string& text);

  QueuedInput input;
  RecordingOutput output;
  nyhost::WindowSystem windows;
  std::unique_ptr<TempDir> home;
  bool module_loaded = false;
};

}  // namespace nytest
