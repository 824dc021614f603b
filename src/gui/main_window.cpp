#include "gui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>

#include "gui/icons.h"
#include "host/dxf_io.h"
#include "host/host.h"

namespace nygui {

using nyhost::Host;

namespace {
constexpr int kMaxRecent = 8;
constexpr char kGroup[] = "NYZirIrodo";

// Menu texts of the module's commands; the command name is always shown too.
QString CommandTitle(const std::string& name) {
  static const std::map<std::string, const char*> titles = {
      {"ZIRIRODO_DOT", "逐点法照度计算"},
      {"NYZirIrodo_LYXS", "利用系数法照度计算"},
      {"NYZirIrodo_DOT_RECT", "矩形房间 (逐点法)"},
      {"NYZirIrodo_DOT_POLYGON", "多边形房间 (逐点法)"},
      {"NYZirIrodo_LYXS_RECT", "矩形房间 (利用系数法)"},
      {"NYZirIrodo_LYXS_POLYGON", "多边形房间 (利用系数法)"},
      {"ZIRIRODO_LIGHTOFF", "关灯"},
      {"ZIRIRODO_LIGHTON", "开灯"},
      {"DRAW_LIGHT", "绘制照度分布"},
      {"ZIRIRODO_CALH_PERDOT", "垂直照度"},
      {"NYZirIrodo_DOT_JSS", "生成计算书"},
      {"NYZirIrodo_DOT_CalUGRPt", "某点眩光"},
      {"DrawRectOnLight", "显示表中灯具"},
  };
  auto it = titles.find(name);
  QString n = QString::fromStdString(name);
  return it == titles.end() ? n : QString::fromUtf8(it->second) + "\t" + n;
}
}  // namespace

MainWindow::MainWindow() {
  setWindowIcon(BitmapIcon("NYICON"));
  canvas_ = new Canvas(this);
  setCentralWidget(canvas_);
  command_line_ = new CommandLine(this);
  auto* dock = new QDockWidget(QStringLiteral("命令行"), this);
  dock->setObjectName("commandDock");
  dock->setWidget(command_line_);
  dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  addDockWidget(Qt::BottomDockWidgetArea, dock);
  resizeDocks({dock}, {150}, Qt::Vertical);
  coords_ = new QLabel(this);
  statusBar()->addWidget(coords_);
  ports_ = std::make_unique<GuiPorts>(canvas_, command_line_, statusBar());
  windows_ = std::make_unique<QtWindowSystem>(this);
  connect(canvas_, &Canvas::cursorMoved, this, [this](nyhost::Point3 p) {
    coords_->setText(QString::asprintf("%.1f, %.1f", p.x, p.y));
  });
  BuildMenus();
  UpdateTitle();
  resize(1280, 820);
}

MainWindow::~MainWindow() { Unwire(); }

void MainWindow::Wire() {
  ports_->Wire();
  Host::Get().SetWindows(windows_.get());
}

void MainWindow::Unwire() {
  if (ports_) ports_->Unwire();
  if (&Host::Get().windows() == windows_.get()) Host::Get().SetWindows(nullptr);
}

bool MainWindow::Busy() {
  if (!Host::Get().command_running()) return false;
  QMessageBox::information(this, QStringLiteral("NYLuxora"),
                           QStringLiteral("请先结束正在运行的命令。"));
  return true;
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
  QToolBar* bar = addToolBar(QStringLiteral("文件"));
  bar->setObjectName("fileBar");
  QAction* open = file->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton),
                                  QStringLiteral("打开(&O)..."), this, [this] {
                                    if (Busy()) return;
                                    QString p = QFileDialog::getOpenFileName(
                                        this, QStringLiteral("打开图纸"), QString(),
                                        QStringLiteral("DXF 图纸 (*.dxf)"));
                                    if (!p.isEmpty()) OpenPlan(p);
                                  });
  open->setShortcut(QKeySequence::Open);
  QAction* save = file->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                  QStringLiteral("保存(&S)"), this, [this] {
                                    if (Busy() || !Host::Get().drawing()) return;
                                    QString p = QString::fromStdString(Host::Get().drawing()->path());
                                    if (p.isEmpty())
                                      p = QFileDialog::getSaveFileName(this, QStringLiteral("保存图纸"),
                                                                       QString(), QStringLiteral("DXF 图纸 (*.dxf)"));
                                    if (!p.isEmpty()) SavePlan(p);
                                  });
  save->setShortcut(QKeySequence::Save);
  file->addAction(QStringLiteral("另存为(&A)..."), this, [this] {
    if (Busy() || !Host::Get().drawing()) return;
    QString p = QFileDialog::getSaveFileName(this, QStringLiteral("保存图纸"), QString(),
                                             QStringLiteral("DXF 图纸 (*.dxf)"));
    if (!p.isEmpty()) SavePlan(p);
  });
  recent_menu_ = file->addMenu(QStringLiteral("最近打开的文件"));
  file->addSeparator();
  file->addAction(QStringLiteral("退出(&X)"), this, &QWidget::close);
  bar->addAction(open);
  bar->addAction(save);

  QMenu* view = menuBar()->addMenu(QStringLiteral("视图(&V)"));
  QAction* extents = view->addAction(QStringLiteral("范围缩放"), canvas_, &Canvas::ZoomExtents);
  QAction* window = view->addAction(QStringLiteral("窗口缩放"), this, [this] {
    // Two corners picked like any host request, then the view shows them.
    Host& host = Host::Get();
    if (ports_->waiting() || host.command_running()) return;
    nyhost::Point3 a, b;
    if (host.GetPoint(nullptr, "\n指定第一个角点:", a) != nyhost::kRtNorm) return;
    if (host.GetCorner(a, "\n指定对角点:", b) != nyhost::kRtNorm) return;
    canvas_->ZoomWindow(a, b);
  });
  view->addAction(QStringLiteral("重画"), this, [this] { RunCommand("REDRAW"); });
  bar->addSeparator();
  bar->addAction(extents);
  bar->addAction(window);
  UpdateRecent();
}

void MainWindow::BuildCommandMenus() {
  if (!lighting_menu_) {
    lighting_menu_ = menuBar()->addMenu(QStringLiteral("照度计算(&L)"));
    lighting_bar_ = addToolBar(QStringLiteral("照度计算"));
    lighting_bar_->setObjectName("lightingBar");
    lighting_bar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  }
  lighting_menu_->clear();
  lighting_bar_->clear();
  auto commands = Host::Get().Commands();
  auto add = [&](const std::string& name, const char* icon, bool to_bar) {
    QAction* a = lighting_menu_->addAction(CommandTitle(name), this,
                                           [this, name] { RunCommand(QString::fromStdString(name)); });
    a->setObjectName(QString::fromStdString("cmd_" + name));
    if (icon) a->setIcon(BitmapIcon(icon));
    if (to_bar) {
      QAction* b = lighting_bar_->addAction(a->icon(), CommandTitle(name).section('\t', 0, 0));
      connect(b, &QAction::triggered, a, &QAction::trigger);
    }
  };
  // The two dialogs first, then every command of the group in registration order.
  bool any = false;
  for (const char* dialog : {"ZIRIRODO_DOT", "NYZirIrodo_LYXS"})
    if (Host::Get().FindCommand(dialog)) add(dialog, "NYICON", true), any = true;
  if (any) lighting_menu_->addSeparator();
  for (const auto& c : commands) {
    if (c.group != kGroup || c.name == "ZIRIRODO_DOT" || c.name == "NYZirIrodo_LYXS") continue;
    const char* icon = c.name == "NYZirIrodo_DOT_RECT"      ? "RECWALL"
                       : c.name == "NYZirIrodo_DOT_POLYGON" ? "POLYGONWALL"
                       : c.name == "ZIRIRODO_LIGHTOFF"      ? "LIGHTOFF"
                       : c.name == "ZIRIRODO_LIGHTON"       ? "LIGHTON"
                                                            : nullptr;
    add(c.name, icon, icon != nullptr);
  }
}

void MainWindow::RunCommand(const QString& name) {
  Host& host = Host::Get();
  if (ports_->waiting()) ports_->CancelWait();
  host.CancelRunningCommand();
  host.Print("\n命令: " + name.toStdString());
  host.SendCommand(name.toStdString() + " ");
  ScheduleHostWork();
}

std::unique_ptr<nyhost::Drawing> ReadPlan(const QString& path, QString* error) {
  nyhost::DxfResult r;
  auto drawing = nyhost::ReadDxf(path.toStdString(), r);
  if (!drawing && error) *error = QString::fromStdString(r.error);
  return drawing;
}

bool MainWindow::OpenPlan(const QString& path) {
  QString error;
  auto drawing = ReadPlan(path, &error);
  if (!drawing) {
    QMessageBox::warning(this, QStringLiteral("打开图纸"),
                         QStringLiteral("无法打开图纸:\n%1").arg(error));
    return false;
  }
  AdoptPlan(std::move(drawing), path);
  return true;
}

void MainWindow::AdoptPlan(std::unique_ptr<nyhost::Drawing> drawing, const QString& path) {
  drawing->set_path(path.toStdString());
  Host::Get().SetDrawing(std::move(drawing));
  canvas_->DrawingReplaced();
  AddRecent(QFileInfo(path).absoluteFilePath());
  UpdateTitle();
}

bool MainWindow::SavePlan(const QString& path) {
  nyhost::Drawing* d = Host::Get().drawing();
  if (!d) return false;
  nyhost::DxfResult r = nyhost::WriteDxf(*d, path.toStdString());
  if (!r.ok) {
    QMessageBox::warning(this, QStringLiteral("保存图纸"),
                         QStringLiteral("无法保存图纸:\n%1").arg(QString::fromStdString(r.error)));
    return false;
  }
  d->set_path(path.toStdString());
  AddRecent(QFileInfo(path).absoluteFilePath());
  UpdateTitle();
  return true;
}

void MainWindow::AddRecent(const QString& path) {
  QSettings s("NYLuxora", "nyluxora-gui");
  QStringList list = s.value("recentFiles").toStringList();
  list.removeAll(path);
  list.prepend(path);
  while (list.size() > kMaxRecent) list.removeLast();
  s.setValue("recentFiles", list);
  UpdateRecent();
}

void MainWindow::UpdateRecent() {
  if (!recent_menu_) return;
  recent_menu_->clear();
  QSettings s("NYLuxora", "nyluxora-gui");
  for (const QString& p : s.value("recentFiles").toStringList())
    recent_menu_->addAction(p, this, [this, p] {
      if (!Busy()) OpenPlan(p);
    });
  recent_menu_->setEnabled(!recent_menu_->isEmpty());
}

void MainWindow::UpdateTitle() {
  const nyhost::Drawing* d = Host::Get().drawing();
  QString name = d && !d->path().empty() ? QFileInfo(QString::fromStdString(d->path())).fileName()
                                         : QStringLiteral("未命名");
  setWindowTitle(QStringLiteral("NYLuxora — %1").arg(name));
}

void MainWindow::closeEvent(QCloseEvent* e) {
  // A command waiting for input ends as with Escape before the window goes.
  ports_->CancelWait();
  Host::Get().CancelRunningCommand();
  QMainWindow::closeEvent(e);
}

}  // namespace nygui
