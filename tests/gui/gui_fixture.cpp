#include "gui_fixture.h"

#include <QAbstractButton>
#include <QTest>
#include <QTimer>

namespace guitest {

nyhost::ControlTemplate Ctl(int id, nyhost::ControlKind kind, const char* caption, int x, int y,
                            int w, int h) {
  nyhost::ControlTemplate c;
  c.id = id, c.kind = kind, c.caption = caption, c.x = x, c.y = y, c.w = w, c.h = h;
  return c;
}

nyhost::DialogTemplate EveryKind() {
  using K = nyhost::ControlKind;
  nyhost::DialogTemplate t{.id = 900, .caption = "全部控件", .width = 300, .height = 200};
  auto radio1 = Ctl(31, K::kRadio, "点", 10, 40, 30, 10);
  radio1.group_start = true;
  auto ro = Ctl(21, K::kEdit, "0.70", 70, 20, 40, 12);
  ro.read_only = true;
  auto bmp = Ctl(12, K::kBitmapButton, "", 120, 4, 20, 18);
  bmp.bitmap = "RECWALL";
  t.controls = {Ctl(100, K::kGroup, "计算结果", 2, 2, 296, 190),
                Ctl(10, K::kStatic, "房间名称", 10, 6, 40, 10),
                Ctl(11, K::kButton, "水平照度", 60, 4, 50, 14),
                bmp,
                Ctl(20, K::kEdit, "", 10, 20, 50, 12),
                ro,
                Ctl(22, K::kSpin, "", 110, 20, 8, 12),
                radio1,
                Ctl(32, K::kRadio, "线", 45, 40, 30, 10),
                Ctl(33, K::kCheck, "标注", 80, 40, 40, 10),
                Ctl(40, K::kDropList, "", 130, 40, 60, 60),
                Ctl(50, K::kPicture, "", 200, 4, 60, 40),
                Ctl(60, K::kTree, "", 10, 60, 80, 60),
                Ctl(70, K::kGrid, "", 100, 60, 150, 60),
                Ctl(80, K::kList, "", 200, 130, 60, 30),
                Ctl(nyhost::kIdOk, K::kButton, "确定", 10, 170, 50, 14)};
  return t;
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
