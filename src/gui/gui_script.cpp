#include "gui/gui_script.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QProcess>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <iostream>

#include "gui/dialog_widget.h"
#include "gui/main_window.h"
#include "host/host.h"
#include "host/text_util.h"

namespace nygui {

using nyhost::Host;

namespace {

// A left click in the middle of a rectangle of an item view's viewport.
void ClickViewport(QAbstractItemView* view, const QRect& r) {
  QWidget* vp = view->viewport();
  QPointF at = r.center();
  QPointF global = vp->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(vp, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(vp, &release);
}

QTreeWidgetItem* FindTreePath(QTreeWidget* tree, const QString& path) {
  QTreeWidgetItem* found = nullptr;
  for (const QString& part : path.split('/', Qt::SkipEmptyParts)) {
    int n = found ? found->childCount() : tree->topLevelItemCount();
    QTreeWidgetItem* next = nullptr;
    for (int i = 0; i < n && !next; ++i) {
      QTreeWidgetItem* item = found ? found->child(i) : tree->topLevelItem(i);
      if (item->text(0) == part) next = item;
    }
    if (!next) return nullptr;
    found = next;
  }
  return found;
}

}  // namespace

bool ChooseThroughWidget(QWidget* control, const QString& item) {
  if (auto* tree = qobject_cast<QTreeWidget*>(control)) {
    QTreeWidgetItem* target = FindTreePath(tree, item);
    if (!target) return false;
    tree->scrollToItem(target);  // opens its parents
    // Opening the parents may have rebuilt the items.
    target = FindTreePath(tree, item);
    if (!target) return false;
    ClickViewport(tree, tree->visualItemRect(target));
    return true;
  }
  if (auto* list = qobject_cast<QListWidget*>(control)) {
    auto hits = list->findItems(item, Qt::MatchExactly);
    if (hits.isEmpty()) return false;
    list->scrollToItem(hits.first());
    ClickViewport(list, list->visualItemRect(hits.first()));
    return true;
  }
  if (auto* combo = qobject_cast<QComboBox*>(control)) {
    int index = item.startsWith('#') ? item.mid(1).toInt() : combo->findText(item);
    if (index < 0 || index >= combo->count()) return false;
    // As a pick in the drop-down list: the box shows it, then reports it.
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    return true;
  }
  return false;
}

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
    QMessageBox::StandardButton which = a == "yes"      ? QMessageBox::Yes
                                        : a == "no"     ? QMessageBox::No
                                        : a == "cancel" ? QMessageBox::Cancel
                                                        : QMessageBox::Ok;
    if (QAbstractButton* b = box->button(which))
      b->click();
    else
      Fail("the message box has no button " + rest);
    return true;
  }
  if (verb == "point" || verb == "pick" || verb == "enter" || verb == "escape" || verb == "text") {
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
      if (!world(rest, p))
        Fail("point takes X,Y");
      else
        window_->canvas()->SimulateClick(p);
    }
    return true;
  }
  ++next_;
  if (verb == "wait")
    QTimer::singleShot(rest.toInt(), this, &GuiScript::Step);
  else
    schedule_next();
  if (verb == "command") {
    window_->RunCommand(rest);
  } else if (verb == "select") {
    // A click while nothing is asked: picks the entity for the properties panel.
    nyhost::Point3 p;
    if (!world(rest, p))
      Fail("select takes X,Y");
    else
      window_->canvas()->SimulateClick(p);
  } else if (verb == "move") {
    nyhost::Point3 p;
    if (!world(rest, p))
      Fail("move takes X,Y");
    else
      window_->canvas()->SimulateMove(p);
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
  } else if (verb == "resize") {
    // The main window's size in pixels: "resize W H".
    int w = rest.section(' ', 0, 0).toInt(), h = rest.section(' ', 1, 1).toInt();
    if (w <= 0 || h <= 0)
      Fail("resize takes W H");
    else
      window_->resize(w, h);  // "zoom" afterwards fits the plan to the new size
  } else if (verb == "quit") {
    // A demonstration's end: its changes to the plan are not kept.
    QTimer::singleShot(0, window_, &MainWindow::CloseDiscarding);
  } else if (verb == "click" || verb == "set" || verb == "choose" || verb == "cell" ||
             verb == "key" || verb == "place") {
    int dlg_id = rest.section(' ', 0, 0).toInt();
    nyhost::Dialog* dlg = host.windows().FindDialog(dlg_id);
    if (!dlg) {
      Fail(QString("dialog %1 is not open").arg(dlg_id));
      return true;
    }
    DialogWidget* w = QtWindowSystem::WidgetOf(*dlg);
    if (verb == "place") {
      // Where the dialog's window goes on the screen; the model keeps it through hide and show.
      int x = rest.section(' ', 1, 1).toInt(), y = rest.section(' ', 2, 2).toInt();
      dlg->MoveTo(x, y);
      return true;
    }
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
      if (!cw || !ChooseThroughWidget(cw, arg)) {
        if (!dlg->UserChoose(ctl, arg.toStdString())) Fail("no item '" + arg + "' to choose");
      }
      ScheduleHostWork();
    } else if (verb == "cell") {
      int row = arg.section(' ', 0, 0).toInt(), col = arg.section(' ', 1, 1).toInt();
      UserStep step;
      dlg->UserCellEdit(ctl, row, col, arg.section(' ', 2).toStdString());
      ScheduleHostWork();
    }
  } else {
    Fail("unknown verb '" + verb + "'");
  }
  return true;
}

}  // namespace nygui
