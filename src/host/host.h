// The drawing host: the current drawing, the command table and command line, system variables,
// temporary vectors, and the front-end's ports. One instance per process (Host::Get()).
#pragma once

#include <fmt/printf.h>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "host/dialog.h"
#include "host/drawing.h"
#include "host/ports.h"
#include "host/report_document.h"

namespace nyhost {

using CommandEntry = void (*)();

// What happened to the drawing, for whoever keeps state that refers to its entities.
enum class DrawingEvent {
  kReplaced,  // another drawing (or none) is now the host's
  kUndone,    // a step was undone or redone
  kChanged,   // a command or a user action changed it (entities may have been erased)
};
using DrawingListener = std::function<void(DrawingEvent)>;
using SysVarValue = std::variant<int, double, std::string>;

struct CommandInfo {
  std::string name;
  std::string group;
  std::string entry_name;
  CommandEntry entry = nullptr;
};

class Host {
 public:
  Host();
  ~Host();
  // The process's host; created on first use.
  static Host& Get();

  // --- front-end wiring ---
  void SetInput(InputPort* input) { input_ = input; }
  void SetOutput(OutputPort* output) { output_ = output; }
  void SetWindows(WindowSystem* windows) { windows_ = windows; }
  WindowSystem& windows();
  OutputPort* output() const { return output_; }
  // Office documents: the front-end's, else the built-in .xlsx writer.
  void SetOffice(OfficePort* office) { office_ = office; }
  OfficePort& office();
  // Report files (PDF): the front-end's, else one that refuses for want of a renderer.
  void SetReports(ReportPort* reports) { reports_ = reports; }
  ReportPort& reports();

  // --- drawing ---
  Drawing* drawing() const { return drawing_.get(); }
  void SetDrawing(std::unique_ptr<Drawing> d);
  std::unique_ptr<Drawing> TakeDrawing();
  // Listeners are told after the event; the id removes one again.
  int AddDrawingListener(DrawingListener listener);
  void RemoveDrawingListener(int id);
  // Undo / redo one step (a command, or one user action); false when there is none or a command
  // runs. The view is regenerated and the listeners told.
  bool Undo();
  bool Redo();
  // A person's action outside commands (an edit in a dialog): its changes form one undo step.
  void BeginUserAction(const std::string& label);
  void EndUserAction();

  // --- command table ---
  // Resolves an entry function by its exported name; the plug-in loader installs one per module.
  using EntryResolver = std::function<CommandEntry(const std::string&)>;
  void SetEntryResolver(EntryResolver r) { resolver_ = std::move(r); }
  bool MountCommand(const std::string& name, const std::string& group,
                    const std::string& entry_name);
  void UnmountGroup(const std::string& group);
  const CommandInfo* FindCommand(const std::string& name) const;  // case-insensitive
  // Whether `name` is a mounted or built-in command (case-insensitive).
  bool KnowsCommand(const std::string& name) const;
  std::vector<CommandInfo> Commands() const;
  // Built-in commands of the host itself (REDRAW, REGEN, U/UNDO).
  void AddBuiltin(const std::string& name, std::function<void()> fn);

  // --- command line ---
  // Text arrives as if typed; a blank or newline ends a command name, which is then queued.
  void SendCommand(const std::string& text);
  // Runs the queued commands in order (not while a command runs; the outer loop drains then).
  void RunPendingCommands();
  // Runs a command now; false (with "未知命令" printed) when no command has that name.
  bool RunCommand(const std::string& name);
  // Cancels the running command: its pending and further input requests return kRtCan.
  void CancelRunningCommand();
  bool command_running() const { return running_depth_ > 0; }
  const std::string& running_command() const { return running_name_; }
  std::size_t pending_commands() const { return queue_.size(); }
  // The queued command names, oldest first.
  std::vector<std::string> PendingCommandNames() const { return {queue_.begin(), queue_.end()}; }

  // --- output ---
  void Print(std::string_view text);
  template <typename... Args>
  void Printf(const char* format, const Args&... args) {
    Print(fmt::sprintf(format, args...));
  }
  void ProgressStart();
  void ProgressPercent(int percent);
  void ProgressStop();
  void SetBusy(bool busy);

  // --- input (prompt printed first; no front-end or no drawing gives kRtError) ---
  int GetPoint(const Point3* base, const std::string& prompt, Point3& out);
  int GetCorner(const Point3& first, const std::string& prompt, Point3& out);
  int EntSel(const std::string& prompt, EntityId& id, Point3& pick);
  int SelectObjects(const std::string& prompt, const EntityFilter& filter,
                    std::vector<EntityId>& ids);
  int JigPoint(const std::string& prompt, const std::vector<Point3>& so_far, Point3& out);
  int GetString(const std::string& prompt, bool allow_spaces, std::string& out);

  // --- system variables ---
  bool GetVar(const std::string& name, SysVarValue& out) const;
  void SetVar(const std::string& name, SysVarValue value);
  int GetVarInt(const std::string& name, int fallback = 0) const;
  double GetVarReal(const std::string& name, double fallback = 0) const;

  // --- view ---
  void Regen();
  void Redraw();  // also clears the temporary vectors
  void RedrawEntity(EntityId id);
  void GrDraw(Point3 from, Point3 to, int color, bool highlight);
  const std::vector<TempVector>& temp_vectors() const { return temp_vectors_; }
  void ZoomWindow(Point3 a, Point3 b);

 private:
  void Execute(const CommandInfo& info);
  void ExecuteBuiltin(const std::string& upper);
  void Notify(DrawingEvent e);
  int Ask(const std::string& prompt, const std::function<int(InputPort&)>& ask);

  InputPort* input_ = nullptr;
  OutputPort* output_ = nullptr;
  WindowSystem* windows_ = nullptr;
  std::unique_ptr<WindowSystem> default_windows_;
  OfficePort* office_ = nullptr;
  ReportPort* reports_ = nullptr;
  std::unique_ptr<Drawing> drawing_;
  EntryResolver resolver_;
  std::vector<CommandInfo> commands_;
  std::map<std::string, std::function<void()>> builtins_;
  std::string typed_;  // command-line text not yet ended by a blank
  std::deque<std::string> queue_;
  int running_depth_ = 0;
  std::string running_name_;
  bool cancel_requested_ = false;
  std::map<std::string, SysVarValue> sysvars_;
  std::vector<TempVector> temp_vectors_;
  std::map<int, DrawingListener> listeners_;
  int next_listener_ = 1;
  int action_depth_ = 0;
  const Drawing* action_drawing_ = nullptr;
  std::uint64_t action_revision_ = 0;
};

}  // namespace nyhost
