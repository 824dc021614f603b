#include "test_support.h"

#include <dlfcn.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "frame/module_entry.h"

namespace nytest {

int QueuedInput::SelectObjects(const nyhost::EntityFilter& filter,
                               std::vector<nyhost::EntityId>& ids) {
  auto a = Next();
  if (a.rc != nyhost::kRtNorm) return a.rc;
  for (auto id : a.ids) {
    const nyhost::Entity* e = nyhost::Host::Get().drawing()->FindLive(id);
    if (e && (!filter || filter(*e))) ids.push_back(id);
  }
  return ids.empty() ? nyhost::kRtNone : nyhost::kRtNorm;
}

std::string ReadAll(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::optional<std::string> OfficeDocumentText(const std::filesystem::path& document,
                                              const std::filesystem::path& work) {
  auto quote = [](const std::string& s) { return "'" + s + "'"; };
  if (document.extension() == ".pdf") {  // already laid out
    if (std::system("command -v pdftotext > /dev/null") != 0) return std::nullopt;
    const std::string text = work.string() + "/" + document.stem().string() + ".txt";
    if (std::system(("pdftotext -layout " + quote(document.string()) + " " + quote(text)).c_str()) !=
        0) {
      ADD_FAILURE() << "pdftotext cannot read " << document;
      return std::string();
    }
    return ReadAll(text);
  }
  if (std::system("command -v soffice > /dev/null") != 0) return std::nullopt;
  const std::filesystem::path pdf = work / (document.stem().string() + ".pdf");
  const std::string convert = "soffice --headless -env:UserInstallation=file://" + work.string() +
                              "/lo --convert-to pdf --outdir " + quote(work.string()) + " " +
                              quote(document.string()) + " > /dev/null 2>&1 && pdftotext -layout " +
                              quote(pdf.string()) + " " + quote(pdf.string() + ".txt");
  if (std::system(convert.c_str()) != 0) {
    ADD_FAILURE() << "no office program converted " << document;
    return std::string();
  }
  return ReadAll(pdf.string() + ".txt");
}

TempDir::TempDir() {
  std::random_device rd;
  path_ = std::filesystem::temp_directory_path() /
          ("nyluxora-test-" + std::to_string(rd()) + "-" + std::to_string(rd()));
  std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
  std::error_code ec;
  // Tests may leave read-only files behind (permission cases).
  for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
    std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
  std::filesystem::remove_all(path_, ec);
}

void HostFixture::SetUp() {
  home = std::make_unique<TempDir>();
  setenv("NYLUXORA_HOME", home->str().c_str(), 1);
  setenv("NYLUXORA_SHARE", NYLUXORA_TEST_SHARE_DIR, 1);
  host().SetInput(&input);
  host().SetOutput(&output);
  host().SetWindows(&windows);
  host().SetDrawing(std::make_unique<nyhost::Drawing>());
  host().SetEntryResolver(nullptr);
  host().SetEntryResolver([](const std::string& name) {
    return reinterpret_cast<nyhost::CommandEntry>(dlsym(RTLD_DEFAULT, name.c_str()));
  });
}

void HostFixture::TearDown() {
  if (module_loaded) UnloadModule();
  windows.Collect();
  host().SetDrawing(nullptr);
  host().SetInput(nullptr);
  host().SetOutput(nullptr);
  host().SetWindows(nullptr);
  host().SetOffice(nullptr);
  unsetenv("NYLUXORA_HOME");
  home.reset();
}

void HostFixture::LoadModule() {
  ExModuleLoad();
  module_loaded = true;
}

void HostFixture::UnloadModule() {
  ExModuleUnload();
  windows.Collect();
  module_loaded = false;
}

void HostFixture::Type(const std::string& text) {
  host().SendCommand(text);
  host().RunPendingCommands();
  windows.Collect();
}

}  // namespace nytest
