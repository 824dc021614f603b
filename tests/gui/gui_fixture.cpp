#include "gui_fixture.h"

#include <QAbstractButton>
#include <QTest>
#include <QTimer>

namespace guitest {

using std::to_string;

nyhost::ControlTemplate Ctl(int id, nyhost::ControlKind kind, const char* caption, int x, int y,
                            int w, int h) {
  nyhost::ControlTemplate c;
  c.id = id, c.kind = kind, c.caption = caption, c.x = x, c.y = y, c.w = w, c.h = h;
  return c;
}

void Recorder::OnClick(nyhost::Dialog& d, int id) {
  events.push_back("click " + to_string(id));
  if (id == nyhost::kIdOk) d.EndDialog(nyhost::kIdOk);
}

void Recorder::OnDoubleClick(nyhost::Dialog&, int id) { events.push_back("dblclick " + to_string(id)); }

void Recorder::OnEditChange(nyhost::Dialog& d, int id) {
  events.push_back("edit " + to_string(id) + " " + d.GetText(id));
}

void Recorder::OnKillFocus(nyhost::Dialog&, int id) { events.push_back("leave " + to_string(id)); }

void Recorder::OnSelChange(nyhost::Dialog& d, int id) {
  events.push_back("sel " + to_string(id) + " " + d.GetText(id));
}

void Recorder::OnSpin(nyhost::Dialog&, int id, int delta) {
  events.push_back("spin " + to_string(id) + " " + to_string(delta));
}

void Recorder::OnCellClick(nyhost::Dialog&, int id, int row, int col) {
  events.push_back("cellclick " + to_string(id) + " " + to_string(row) + "," + to_string(col));
}

void Recorder::OnCellEndEdit(nyhost::Dialog& d, int id, int row, int col) {
  events.push_back("cell " + to_string(id) + " " + d.GetCell(id, row, col));
}

void Recorder::OnTreeRightClick(nyhost::Dialog& d, int id, int item) {
  events.push_back("rclick " + to_string(id) + " " + (item ? d.GetItemTextOf(id, item) : "<none>"));
}

bool Recorder::OnKey(nyhost::Dialog&, int key) {
  events.push_back("key " + to_string(key));
  return swallow_keys;
}

Opened::Opened(const nyhost::DialogTemplate& tpl, nyhost::DialogController* c) {
  App();
  ws = std::make_unique<nygui::QtWindowSystem>();
  dlg = ws->CreateModeless(tpl, c ? c : &rec);
  w = nygui::QtWindowSystem::WidgetOf(*dlg);
}

Opened::~Opened() {
  dlg->Destroy();
  ws->Collect();
  QCoreApplication::processEvents();
}

bool Opened::Show() {
  w->show();
  return QTest::qWaitForWindowExposed(w);
}

void ClickLater(QWidget* w, QPoint at, int ms) {
  QTimer::singleShot(ms, w, [w, at] { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, at); });
}

void AnswerBoxLater(QString* text, QMessageBox::StandardButton button, int ms) {
  QTimer::singleShot(ms, [text, button] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    QAbstractButton* b = box ? box->button(button) : nullptr;
    ASSERT_NE(b, nullptr) << "no message box with that button";
    *text = box->text();
    b->click();
  });
}

std::unique_ptr<nyhost::Drawing> LineDrawing(nyhost::Point3 from, nyhost::Point3 to) {
  auto d = std::make_unique<nyhost::Drawing>();
  nyhost::Entity line;
  line.data = nyhost::Line{from, to};
  d->Add(line);
  return d;
}

void WindowTest::OpenWindow(std::unique_ptr<nyhost::Drawing> drawing, int width, int height) {
  App();
  window_ = std::make_unique<nygui::MainWindow>();
  window_->Wire();
  nyhost::Host::Get().SetDrawing(std::move(drawing));
  window_->resize(width, height);
  window_->show();
}

void WindowTest::CloseWindow() {
  window_->Unwire();
  window_.reset();
}

void WindowTest::TearDown() {
  CloseWindow();
  nyhost::Host::Get().SetDrawing(nullptr);
}

}  // namespace guitest
