// The desktop's answers to the host: input requests are answered from the canvas and the command
// line while a nested event loop runs; output goes to the command line, the canvas and the
// status bar.
#pragma once

#include <QObject>
#include <QPointer>
#include <set>

#include "host/ports.h"

class QEventLoop;
class QProgressBar;
class QStatusBar;

namespace nygui {

class Canvas;
class CommandLine;

// A point typed on the command line: "x,y[,z]", "@dx,dy" from the last point or "@dist<angle"
// (degrees, counter-clockwise from east). False for anything else.
bool ParsePointInput(const QString& text, nyhost::Point3 last, nyhost::Point3& out);

class GuiPorts : public QObject, public nyhost::InputPort, public nyhost::OutputPort {
  Q_OBJECT
 public:
  enum class Want { kNone, kPoint, kCorner, kJig, kEntSel, kSelect, kString };

  GuiPorts(Canvas* canvas, CommandLine* command_line, QStatusBar* status);
  ~GuiPorts() override;
  // The ports the host is wired to (null before wiring).
  static GuiPorts* Active();
  void Wire();  // makes these the host's input and output
  void Unwire();

  Want want() const { return want_; }
  bool waiting() const { return want_ != Want::kNone; }
  // Ends the running request as Escape would (a new command was queued, the window closes).
  void CancelWait();
  // Answers as the person would.
  void AnswerPoint(nyhost::Point3 world);
  void AnswerEnter();
  void AnswerEscape();
  void AnswerText(const QString& text);
  // The command line asks for a command again (nothing runs or waits).
  void ShowIdlePrompt();
  // The last command started, repeated by Enter on an empty command line.
  void NoteCommand(const QString& name) { last_command_ = name; }
  const QString& last_command() const { return last_command_; }
  nyhost::Point3 last_point() const { return last_point_; }

  // InputPort
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
  void Refresh(bool regen) override;
  void ZoomWindow(nyhost::Point3 a, nyhost::Point3 b) override;
  void SetBusy(bool busy) override;

  QProgressBar* progress() const { return progress_; }

 signals:
  void waitingChanged(bool waiting);

 private slots:
  void OnClick(nyhost::Point3 world, nyhost::Point3 raw);
  void OnSubmitted(const QString& text);

 private:
  int Wait(Want want);
  void Finish(int rc);

  QPointer<Canvas> canvas_;
  QPointer<CommandLine> command_line_;
  QProgressBar* progress_ = nullptr;
  Want want_ = Want::kNone;
  QEventLoop* loop_ = nullptr;
  int result_ = nyhost::kRtCan;
  nyhost::Point3 point_;
  std::string text_;
  bool allow_spaces_ = false;
  nyhost::EntityId picked_ = nyhost::kNullId;
  // Selection in progress.
  nyhost::EntityFilter filter_;
  std::set<nyhost::EntityId> selected_;
  std::vector<nyhost::EntityId> selected_order_;
  bool have_corner_ = false;
  nyhost::Point3 corner_;
  int busy_depth_ = 0;
  QString last_command_;
  nyhost::Point3 last_point_;
};

// A person's action in a dialog: the drawing changes it makes undo as one step.
struct UserStep {
  explicit UserStep(const char* label = "对话框");
  ~UserStep();
  UserStep(const UserStep&) = delete;
  UserStep& operator=(const UserStep&) = delete;
};

// Runs the host's queued commands and frees destroyed dialogs once the current event is done.
// Every user event that may have queued a command calls this.
void ScheduleHostWork();

}  // namespace nygui
