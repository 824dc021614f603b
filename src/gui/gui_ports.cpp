#include "gui/gui_ports.h"

#include <QApplication>
#include <QEventLoop>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <cmath>

#include "gui/canvas.h"
#include "gui/command_line.h"
#include "gui/pick.h"
#include "host/host.h"
#include "host/text_util.h"

namespace nygui {

using nyhost::Host;
using nyhost::kRtCan;
using nyhost::kRtNone;
using nyhost::kRtNorm;
using nyhost::Point3;

namespace {
GuiPorts* g_active = nullptr;
bool g_scheduled = false;
}  // namespace

void ScheduleHostWork() {
  if (g_scheduled) return;
  g_scheduled = true;
  QTimer::singleShot(0, [] {
    g_scheduled = false;
    Host& host = Host::Get();
    // A command typed while another waits for input cancels it, as in a CAD program; the
    // outer run loop then starts the new one.
    if (g_active && g_active->waiting() && host.pending_commands() > 0) g_active->CancelWait();
    host.RunPendingCommands();
    host.windows().Collect();
    if (!g_active) return;
    g_active->Refresh(false);
    if (!g_active->waiting() && !host.command_running()) g_active->ShowIdlePrompt();
  });
}

bool ParsePointInput(const QString& text, Point3 last, Point3& out) {
  QString t = text.trimmed();
  if (!t.startsWith('@')) {
    double x, y, z = 0;
    if (!nyhost::ParseCoordinates(t.toStdString(), x, y, z)) return false;
    out = {x, y, z};
    return true;
  }
  t = t.mid(1);
  if (t.isEmpty()) {  // "@" alone: the last point itself
    out = last;
    return true;
  }
  bool ok1 = false, ok2 = false;
  if (int lt = t.indexOf('<'); lt >= 0) {
    const double dist = t.left(lt).toDouble(&ok1), angle = t.mid(lt + 1).toDouble(&ok2);
    if (!ok1 || !ok2) return false;
    const double rad = angle * 0.017453292519943295;
    out = {last.x + dist * std::cos(rad), last.y + dist * std::sin(rad), last.z};
    return true;
  }
  double dx, dy, dz = 0;
  if (!nyhost::ParseCoordinates(t.toStdString(), dx, dy, dz)) return false;
  out = {last.x + dx, last.y + dy, last.z + dz};
  return true;
}

UserStep::UserStep(const char* label) { Host::Get().BeginUserAction(label); }
UserStep::~UserStep() { Host::Get().EndUserAction(); }

GuiPorts::GuiPorts(Canvas* canvas, CommandLine* command_line, QStatusBar* status)
    : canvas_(canvas), command_line_(command_line) {
  if (status) {
    progress_ = new QProgressBar(status);
    progress_->setRange(0, 100);
    progress_->setMaximumWidth(220);
    progress_->hide();
    status->addPermanentWidget(progress_);
  }
  connect(canvas, &Canvas::pointClicked, this, &GuiPorts::OnClick);
  connect(canvas, &Canvas::enterPressed, this, [this] { OnSubmitted(QString()); });
  connect(canvas, &Canvas::escapePressed, this, &GuiPorts::AnswerEscape);
  connect(canvas, &Canvas::textTyped, command_line, &CommandLine::TypeText);
  connect(command_line, &CommandLine::submitted, this, &GuiPorts::OnSubmitted);
  connect(command_line, &CommandLine::escapePressed, this, &GuiPorts::AnswerEscape);
}

GuiPorts::~GuiPorts() {
  CancelWait();
  Unwire();
}

GuiPorts* GuiPorts::Active() { return g_active; }

void GuiPorts::Wire() {
  Host::Get().SetInput(this);
  Host::Get().SetOutput(this);
  g_active = this;
}

void GuiPorts::Unwire() {
  if (g_active != this) return;
  Host::Get().SetInput(nullptr);
  Host::Get().SetOutput(nullptr);
  g_active = nullptr;
}

int GuiPorts::Wait(Want want) {
  if (loop_) return kRtCan;  // one request at a time
  want_ = want;
  result_ = kRtCan;
  QEventLoop loop;
  loop_ = &loop;
  emit waitingChanged(true);
  if (command_line_) command_line_->input()->setFocus();
  loop.exec();
  loop_ = nullptr;
  want_ = Want::kNone;
  if (canvas_) {
    canvas_->ClearRubber();
    canvas_->SetSnapping(false);
  }
  emit waitingChanged(false);
  return result_;
}

void GuiPorts::Finish(int rc) {
  result_ = rc;
  if (loop_) loop_->quit();
}

void GuiPorts::CancelWait() {
  if (loop_) Finish(kRtCan);
}

int GuiPorts::GetPoint(const Point3* base, Point3& out) {
  if (canvas_) {
    canvas_->SetSnapping(true);
    if (base) canvas_->SetRubber(Canvas::Rubber::kLine, {*base});
  }
  int rc = Wait(Want::kPoint);
  if (rc == kRtNorm) out = point_;
  return rc;
}

int GuiPorts::GetCorner(const Point3& first, Point3& out) {
  if (canvas_) {
    canvas_->SetSnapping(true);
    canvas_->SetRubber(Canvas::Rubber::kRect, {first});
  }
  int rc = Wait(Want::kCorner);
  if (rc == kRtNorm) out = point_;
  return rc;
}

int GuiPorts::JigPoint(const std::vector<Point3>& so_far, Point3& out) {
  if (canvas_) {
    canvas_->SetSnapping(true);
    if (!so_far.empty()) canvas_->SetRubber(Canvas::Rubber::kPolygon, so_far);
  }
  int rc = Wait(Want::kJig);
  if (rc == kRtNorm) out = point_;
  return rc;
}

int GuiPorts::EntSel(nyhost::EntityId& id, Point3& pick) {
  picked_ = nyhost::kNullId;
  int rc = Wait(Want::kEntSel);
  if (rc == kRtNorm) {
    id = picked_;
    pick = point_;
  }
  return rc;
}

int GuiPorts::SelectObjects(const nyhost::EntityFilter& filter,
                            std::vector<nyhost::EntityId>& ids) {
  filter_ = filter;
  selected_.clear();
  selected_order_.clear();
  have_corner_ = false;
  int rc = Wait(Want::kSelect);
  if (canvas_) canvas_->SetHighlighted({});
  if (rc == kRtNorm) ids = selected_order_;
  filter_ = nullptr;
  return rc;
}

int GuiPorts::GetString(bool allow_spaces, std::string& out) {
  allow_spaces_ = allow_spaces;
  // A text that may hold blanks ends with Enter only.
  if (command_line_) command_line_->SetSpaceSubmits(!allow_spaces);
  int rc = Wait(Want::kString);
  if (command_line_) command_line_->SetSpaceSubmits(true);
  if (rc == kRtNorm) out = text_;
  return rc;
}

void GuiPorts::AnswerPoint(Point3 world) {
  const nyhost::Drawing* d = Host::Get().drawing();
  switch (want_) {
    case Want::kPoint:
    case Want::kCorner:
    case Want::kJig:
      point_ = world;
      last_point_ = world;
      Finish(kRtNorm);
      break;
    case Want::kEntSel: {
      double tol = canvas_ ? canvas_->PixelsToWorld(Canvas::kPickPixels) : 1e-6;
      nyhost::EntityId id = d ? PickEntity(*d, world, tol) : nyhost::kNullId;
      if (id == nyhost::kNullId) {
        Host::Get().Print("\n未选中对象。");
        return;
      }
      picked_ = id;
      point_ = world;
      Finish(kRtNorm);
      break;
    }
    case Want::kSelect: {
      if (!d) return;
      auto add = [&](nyhost::EntityId id) {
        if (selected_.insert(id).second) selected_order_.push_back(id);
      };
      if (have_corner_) {
        bool crossing = world.x < corner_.x;
        for (auto id : SelectInBox(*d, corner_, world, crossing, filter_)) add(id);
        have_corner_ = false;
        if (canvas_) canvas_->ClearRubber();
      } else {
        double tol = canvas_ ? canvas_->PixelsToWorld(Canvas::kPickPixels) : 1e-6;
        nyhost::EntityId id = PickEntity(*d, world, tol, filter_);
        if (id != nyhost::kNullId) {
          add(id);
        } else {
          have_corner_ = true;
          corner_ = world;
          if (canvas_) canvas_->SetRubber(Canvas::Rubber::kWindow, {world});
        }
      }
      Host::Get().Printf("\n找到 %d 个", static_cast<int>(selected_.size()));
      if (canvas_) canvas_->SetHighlighted(selected_);
      break;
    }
    case Want::kString:
    case Want::kNone:
      break;
  }
}

void GuiPorts::AnswerEnter() {
  switch (want_) {
    case Want::kNone:
      break;
    case Want::kString:
      text_.clear();
      Finish(kRtNorm);
      break;
    case Want::kSelect:
      Finish(selected_.empty() ? kRtNone : kRtNorm);
      break;
    default:
      Finish(kRtNone);
  }
}

void GuiPorts::AnswerEscape() {
  if (waiting()) {
    Host::Get().Print("*取消*");
    Finish(kRtCan);
  }
}

void GuiPorts::AnswerText(const QString& text) {
  if (want_ == Want::kString) {
    text_ = text.toStdString();
    Finish(kRtNorm);
  }
}

void GuiPorts::OnClick(Point3 world, Point3 raw) {
  // Selection and entity picks use the raw cursor position; points snap.
  if (want_ == Want::kEntSel || want_ == Want::kSelect)
    AnswerPoint(raw);
  else if (waiting())
    AnswerPoint(world);
}

void GuiPorts::OnSubmitted(const QString& text) {
  Host& host = Host::Get();
  if (waiting()) {
    if (text.isEmpty()) {
      AnswerEnter();
      return;
    }
    if (want_ == Want::kString) {
      host.Print(text.toStdString());
      AnswerText(text);
      return;
    }
    // A typed point is taken as typed: never snapped, never bent by ortho.
    Point3 typed;
    if (ParsePointInput(text, last_point_, typed)) {
      host.Print(text.toStdString());
      AnswerPoint(typed);
      return;
    }
    // Anything else typed while a command waits starts that command instead.
    CancelWait();
  }
  QString name = text;
  if (name.isEmpty()) {
    // Enter on an empty command line repeats the last command.
    if (last_command_.isEmpty()) return;
    name = last_command_;
  }
  last_command_ = name;
  host.Print("\n命令: " + name.toStdString());
  host.SendCommand(name.toStdString() + " ");
  ScheduleHostWork();
}

void GuiPorts::ShowIdlePrompt() {
  if (command_line_) command_line_->ShowIdlePrompt();
}

void GuiPorts::Print(std::string_view text) {
  if (command_line_)
    command_line_->Print(QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

void GuiPorts::ProgressStart() {
  if (!progress_) return;
  progress_->setValue(0);
  progress_->show();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void GuiPorts::ProgressPercent(int percent) {
  if (!progress_) return;
  progress_->setValue(percent);
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void GuiPorts::ProgressStop() {
  if (progress_) progress_->hide();
}

void GuiPorts::Refresh(bool regen) {
  if (!canvas_) return;
  if (regen && Host::Get().drawing() && canvas_->view().scale <= 0) canvas_->ZoomExtents();
  canvas_->update();
}

void GuiPorts::ZoomWindow(Point3 a, Point3 b) {
  if (canvas_) canvas_->ZoomWindow(a, b);
}

void GuiPorts::SetBusy(bool busy) {
  if (busy) {
    if (busy_depth_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
  } else if (busy_depth_ > 0) {
    if (--busy_depth_ == 0) QApplication::restoreOverrideCursor();
  }
}

}  // namespace nygui
