// Runs session scripts: one verb per line, `#` comments. The script answers the host's input
// requests and drives dialogs as a person would; see docs/session-language.md.
#pragma once

#include <deque>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "cli/script_line.h"
#include "host/host.h"
#include "host/plugin_loader.h"

namespace nycli {

// The headless windows, counting the message boxes that warn or report an error: a batch run
// takes them as a calculation that did not finish.
class SessionWindows : public nyhost::WindowSystem {
 public:
  int MessageBox(const std::string& caption, const std::string& text, nyhost::MbIcon icon,
                 nyhost::MbButtons buttons) override;
  int alarms = 0;
};

class Session : public nyhost::InputPort, public nyhost::OutputPort {
 public:
  // Output goes to `out`; script errors to `err`.
  Session(nyhost::Host& host, std::ostream& out, std::ostream& err);
  ~Session() override;

  // Loads the lighting module; false (with a message on err) when it cannot. `quiet` keeps
  // what the module prints while loading (its welcome line) off the output.
  bool LoadModule(const std::string& path, bool quiet = false);
  void UnloadModule();
  // An exported function of the loaded module (batch entry points), or null.
  void* ResolveModuleFunction(const std::string& name) const { return loader_.Resolve(name); }
  SessionWindows& windows() { return windows_; }
  // Called first when a modal dialog opens; true when it has answered the dialog itself.
  std::function<bool(nyhost::Dialog&)> modal_hook;
  // Progress of long calculations on standard error, when that is a terminal.
  void set_show_progress(bool show) { show_progress_ = show; }
  // Opens a plan as the current drawing; false with a message when it cannot be read.
  bool OpenPlan(const std::string& path);
  bool SavePlan(const std::string& path);

  // Runs script text; `name` is used in error messages (empty: a script of the program's own,
  // whose line numbers mean nothing to the user). False at the first failing line.
  bool RunScript(const std::string& text, const std::string& name);
  bool RunFile(const std::string& path);
  // Runs one line (used by the desktop's own script runner and by tests).
  bool RunLine(const std::string& line);

  // InputPort: answers come from the next script line when it is an answer verb; any other
  // line cancels the request as Escape would (and is run afterwards).
  int GetPoint(const nyhost::Point3* base, nyhost::Point3& out) override;
  int GetCorner(const nyhost::Point3& first, nyhost::Point3& out) override;
  int EntSel(nyhost::EntityId& id, nyhost::Point3& pick) override;
  int SelectObjects(const nyhost::EntityFilter& filter,
                    std::vector<nyhost::EntityId>& ids) override;
  int JigPoint(const std::vector<nyhost::Point3>& so_far, nyhost::Point3& out) override;
  int GetString(bool allow_spaces, std::string& out) override;

  // OutputPort
  void Print(std::string_view text) override;
  void ProgressStart() override;
  void ProgressPercent(int percent) override;
  void ProgressStop() override;

 private:
  using Line = ScriptLine;
  bool Step();  // runs the next queued line; false at the end or on an error
  bool Execute(const Line& line);
  bool Fail(const Line& line, const std::string& message);
  bool NextIsAnswer(std::initializer_list<const char*> verbs);
  Line TakeLine();
  nyhost::Dialog* DialogOf(const Line& line);
  bool ExecuteDialogVerb(const Line& line);
  void Show(const nyhost::Dialog& dlg, const Line& line);
  void DriveModal(nyhost::Dialog& dlg);

  nyhost::Host& host_;
  std::ostream& out_;
  std::ostream& err_;
  SessionWindows windows_;
  nyhost::PluginLoader loader_;
  std::deque<Line> lines_;
  std::string script_name_;
  bool failed_ = false;
  bool quiet_ = false;
  bool show_progress_ = false;
  int progress_shown_ = -1;
};

}  // namespace nycli
