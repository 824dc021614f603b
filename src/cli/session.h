// Runs session scripts: one verb per line, `#` comments. The script answers the host's input
// requests and drives dialogs as a person would; see docs/session-language.md.
#pragma once

#include <deque>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "host/host.h"
#include "host/plugin_loader.h"

namespace nycli {

class Session : public nyhost::InputPort, public nyhost::OutputPort {
 public:
  // Output goes to `out`; script errors to `err`.
  Session(nyhost::Host& host, std::ostream& out, std::ostream& err);
  ~Session() override;

  // Loads the lighting module; false (with a message on err) when it cannot.
  bool LoadModule(const std::string& path);
  void UnloadModule();
  // An exported function of the loaded module (batch entry points), or null.
  void* ResolveModuleFunction(const std::string& name) const { return loader_.Resolve(name); }
  nyhost::WindowSystem& windows() { return windows_; }
  // Opens a plan as the current drawing; false with a message when it cannot be read.
  bool OpenPlan(const std::string& path);
  bool SavePlan(const std::string& path);

  // Runs script text; `name` is used in error messages. False at the first failing line.
  bool RunScript(const std::string& text, const std::string& name);
  bool RunFile(const std::string& path);
  // Runs one line (used by the desktop's own script runner and by tests).
  bool RunLine(const std::string& line);

  // InputPort: answers come from the next script line when it is an answer verb; any other
  // line cancels the request as Escape would (and is run afterwards).
  int GetPoint(const nyhost::Point3* base, nyhost::Point3& out) override;
  int GetCorner(const nyhost::Point3& first, nyhost::Point3& out) override;
  int EntSel(nyhost::EntityId& id, nyhost::Point3& pick) override;
  int SelectObjects(const nyhost::EntityFilter& filter, std::vector<nyhost::EntityId>& ids) override;
  int JigPoint(const std::vector<nyhost::Point3>& so_far, nyhost::Point3& out) override;
  int GetString(bool allow_spaces, std::string& out) override;

  // OutputPort
  void Print(std::string_view text) override;

 private:
  struct Line {
    std::string verb;
    std::string rest;
    int number = 0;
  };
  bool Step();  // runs the next queued line; false at the end or on an error
  bool Execute(const Line& line);
  bool Fail(const Line& line, const std::string& message);
  bool NextIsAnswer(std::initializer_list<const char*> verbs);
  Line TakeLine();
  nyhost::Dialog* DialogOf(const Line& line, const std::string& token);
  void DriveModal(nyhost::Dialog& dlg);

  nyhost::Host& host_;
  std::ostream& out_;
  std::ostream& err_;
  nyhost::WindowSystem windows_;
  nyhost::PluginLoader loader_;
  std::deque<Line> lines_;
  std::string script_name_;
  bool failed_ = false;
};

}  // namespace nycli
