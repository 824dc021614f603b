// Drives the desktop from a text file, one verb a line, through the same widgets a person uses
// (demonstrations, screenshots). Verbs: command NAME | point X,Y | move X,Y | pick X,Y | enter |
// escape | text TEXT | click DLG CTRL | set DLG CTRL TEXT | choose DLG CTRL ITEM |
// cell DLG CTRL ROW COL TEXT | key DLG enter|escape | place DLG X Y | resize W H | wait MS |
// zoom | open FILE | save FILE | answer ok|cancel|yes|no | screenshot FILE | echo TEXT | quit
#pragma once

#include <QObject>
#include <QStringList>

class QWidget;

namespace nygui {

class MainWindow;

// Chooses an item as a person would: a click on a tree item ("parent/child") or a list item, a
// pick in a combo box (by text or "#n"). False when the widget is none of these or lacks the item.
bool ChooseThroughWidget(QWidget* control, const QString& item);

class GuiScript : public QObject {
  Q_OBJECT
 public:
  GuiScript(MainWindow* window, QStringList lines, int step_ms = 400);
  static GuiScript* FromFile(MainWindow* window, const QString& path, QString* error);
  void Start();
  bool failed() const { return failed_; }

 signals:
  void finished(bool ok);

 private:
  void Step();
  // False when the line must wait (an answer with nobody asking yet).
  bool Execute(const QString& line);
  void Fail(const QString& message);

  MainWindow* window_;
  QStringList lines_;
  int next_ = 0;
  int step_ms_;
  int retries_ = 0;
  bool failed_ = false;
};

}  // namespace nygui
