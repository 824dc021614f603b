#include "gui/gui_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <iostream>

#include "gui/dialog_widget.h"
#include "gui/main_window.h"
#include "host/host.h"
#include "host/text_util.h"

namespace nygui {

using nyhost::Host;

GuiScript::GuiScript(MainWindow* window, QStringList lines, int step_ms)
    : QObject(window), window_(window), lines_(std::move(lines)), step_ms_(step_ms) {}

GuiScript* GuiScript::FromFile(MainWindow* window, const QString& path, QString* error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    if (error) *error = "cannot read " + path;
    return nullptr;
  }
  QStringList lines;
  for (const QString& raw : QString::fromUtf8(f.readAll()).split('\n')) {
    QString l = raw.trimmed();
    if (!l.isEmpty() && !l.startsWith('#')) lines << l;
  }
  return new GuiScript(window, lines);
}

void GuiScript::Start() { QTimer::singleShot(step_ms_, this, &GuiScript::Step); }

void GuiScript::Fail(const QString& message) {
  std::cerr << "script line " << next_ + 1 << ": " << message.toStdString() << "\n";
  failed_ = true;
}

void GuiScript::Step() {
  if (failed_ || next_ >= lines_.size()) {
    emit finished(!failed_);
    return;
  }
  QString line = lines_[next_];
  // The next step is queued first: this line may start a nested event loop (a command that asks
  // for input), and the script must go on inside it.
  int index = next_;
  bool done = Execute(line);
  if (failed_) {
    emit finished(false);
    return;
  }
  if (done) {
    if (next_ == index) ++next_;
    retries_ = 0;
  } else if (++retries_ > 100) {
    Fail("nothing asked for '" + line + "'");
    emit finished(false);
    return;
  }
  if (!done) QTimer::singleShot(100, this, &GuiScript::Step);
}

bool GuiScript::Execute(const QString& line) {
  QString verb = line.section(' ', 0, 0).toLower();
  QString rest = line.section(' ', 1).trimmed();
  GuiPorts* ports = window_->ports();
  Host& host = Host::Get();
  auto schedule_next = [this] { QTimer::singleShot(step_ms_, this, &GuiScript::Step); };
  auto world = [&](const QString& text, nyhost::Point3& p) {
    return nyhost::ParseCoordinates(text.toStdString(), p.x, p.y, p.z);
  };

  if (verb == "answer") {
    // Presses a button of the message box on screen: ok, cancel, yes or no.
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return false;
    ++next_;
    schedule_next();
    QString a = rest.toLower();
    QMessageBox::StandardButton which = a == "yes" ? QMessageBox::Yes
                                        : a == "no" ? QMessageBox::No
                                        : a == "cancel" ? QMessageBox::Cancel
                                                        : QMessageBox::Ok;
    if (QAbstractButton* b = box->button(which)) b->click();
    else Fail("the message box has no button " + rest);
    return true;
  }
  if (verb == "point" || verb == "pick" || verb == "enter" || verb == "escape" ||
      verb == "text") {
    if (!ports->waiting()) return false;
    ++next_;
    schedule_next();
    if (verb == "enter") {
      ports->AnswerEnter();
    } else if (verb == "escape") {
      ports->AnswerEscape();
    } else if (verb == "text") {
      ports->AnswerText(rest);
    } else {
      nyhost::Point3 p;
      if (!world(rest, p)) Fail("point takes X,Y");
      else window_->canvas()->SimulateClick(p);
    }
    return true;
  }
  ++next_;
  if (verb == "wait") QTimer::singleShot(rest.toInt(), this, &GuiScript::Step);
  else schedule_next();
  if (verb == "command") {
    window_->RunCommand(rest);
  } else if (verb == "move") {
    nyhost::Point3 p;
    if (!world(rest, p)) Fail("move takes X,Y");
    else window_->canvas()->SimulateMove(p);
  } else if (verb == "wait") {
    // Already handled: the next step comes after the given time.
  } else if (verb == "zoom") {
    window_->canvas()->ZoomExtents();
  } else if (verb == "open") {
    if (!window_->OpenPlan(rest)) Fail("cannot open " + rest);
  } else if (verb == "save") {
    if (!window_->SavePlan(rest)) Fail("cannot save " + rest);
  } else if (verb == "echo") {
    host.Print("\n" + rest.toStdString());
  } else if (verb == "screenshot") {
    QApplication::processEvents();
    if (QProcess::execute("import", {"-window", "root", rest}) != 0) {
      QScreen* screen = QGuiApplication::primaryScreen();
      if (!screen || !screen->grabWindow(0).save(rest)) Fail("cannot take screenshot " + rest);
    }
  } else if (verb == "quit") {
    QTimer::singleShot(0, window_, &QWidget::close);
  } else if (verb == "click" || verb == "set" || verb == "choose" || verb == "cell" ||
             verb == "key") {
    int dlg_id = rest.section(' ', 0, 0).toInt();
    nyhost::Dialog* dlg = host.windows().FindDialog(dlg_id);
    if (!dlg) {
      Fail(QString("dialog %1 is not open").arg(dlg_id));
      return true;
    }
    DialogWidget* w = QtWindowSystem::WidgetOf(*dlg);
    if (verb == "key") {
      QString k = rest.section(' ', 1, 1).toLower();
      dlg->UserKey(k == "escape" ? nyhost::kKeyEscape : nyhost::kKeyEnter);
      ScheduleHostWork();
      return true;
    }
    int ctl = rest.section(' ', 1, 1).toInt();
    QString arg = rest.section(' ', 2);
    QWidget* cw = w ? w->ControlWidget(ctl) : nullptr;
    if (verb == "click") {
      if (auto* b = qobject_cast<QAbstractButton*>(cw)) {
        b->click();  // through the real button
      } else {
        dlg->UserClick(ctl);
        ScheduleHostWork();
      }
    } else if (verb == "set") {
      if (auto* e = qobject_cast<QLineEdit*>(cw)) e->setText(arg);
      if (w) {
        // As typed and left: the model gets the text and the focus-lost handler runs.
        dlg->UserType(ctl, arg.toStdString());
        ScheduleHostWork();
      }
    } else if (verb == "choose") {
      dlg->UserChoose(ctl, arg.toStdString());
      ScheduleHostWork();
    } else if (verb == "cell") {
      int row = arg.section(' ', 0, 0).toInt(), col = arg.section(' ', 1, 1).toInt();
      dlg->UserCellEdit(ctl, row, col, arg.section(' ', 2).toStdString());
      ScheduleHostWork();
    }
  } else {
    Fail("unknown verb '" + verb + "'");
  }
  return true;
}

}  // namespace nygui
