// The main window's menus and toolbars: file, edit (undo / redo), view (zooms, snap, ortho,
// panels), the module's commands, and help.
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QStandardPaths>
#include <QStyle>
#include <QToolBar>
#include <QUrl>

#include "gui/icons.h"
#include "gui/main_window.h"
#include "gui/print_export.h"
#include "host/host.h"

namespace nygui {

using nyhost::Host;

namespace {
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

// The module's help pages: the user's folder first (it may hold newer pages), then the shipped.
QString HelpPage(const QString& relative) {
  QStringList roots;
  if (QByteArray home = qgetenv("NYLUXORA_HOME"); !home.isEmpty())
    roots << QString::fromLocal8Bit(home);
  roots << QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/nyluxora";
  if (QByteArray share = qgetenv("NYLUXORA_SHARE"); !share.isEmpty())
    roots << QString::fromLocal8Bit(share);
  roots << QCoreApplication::applicationDirPath() + "/../share/nyluxora";
  for (const QString& root : roots)
    if (QFileInfo::exists(root + "/help/" + relative))
      return QDir::cleanPath(root + "/help/" + relative);
  return {};
}

}  // namespace

QString VersionText() {
  return QStringLiteral("nyluxora-gui %1 (Qt %2)")
      .arg(QStringLiteral(NYLUXORA_VERSION), qVersion());
}

void MainWindow::BuildMenus() {
  QMenu* file = menuBar()->addMenu(QStringLiteral("文件(&F)"));
  QToolBar* bar = addToolBar(QStringLiteral("文件"));
  bar->setObjectName("fileBar");
  QAction* open =
      file->addAction(style()->standardIcon(QStyle::SP_DialogOpenButton),
                      QStringLiteral("打开(&O)..."), this, [this] {
                        if (Busy() || !MaybeSave()) return;
                        const auto* d = Host::Get().drawing();
                        QString p = QFileDialog::getOpenFileName(
                            this, QStringLiteral("打开图纸"),
                            d ? QFileInfo(QString::fromStdString(d->path())).path() : QString(),
                            QStringLiteral("DXF 图纸 (*.dxf)"));
                        if (!p.isEmpty()) OpenPlan(p);
                      });
  open->setShortcut(QKeySequence::Open);
  QAction* save = file->addAction(style()->standardIcon(QStyle::SP_DialogSaveButton),
                                  QStringLiteral("保存(&S)"), this, [this] {
                                    if (!Busy()) Save();
                                  });
  save->setShortcut(QKeySequence::Save);
  QAction* save_as = file->addAction(QStringLiteral("另存为(&A)..."), this, [this] {
    if (!Busy()) SaveAs();
  });
  save_as->setShortcut(QKeySequence::SaveAs);
  recent_menu_ = file->addMenu(QStringLiteral("最近打开的文件"));
  file->addSeparator();
  QAction* pdf = file->addAction(QStringLiteral("打印到 PDF(&P)..."), this, &MainWindow::ExportPdf);
  pdf->setShortcut(QKeySequence::Print);
  file->addSeparator();
  file->addAction(QStringLiteral("退出(&X)"), this, &QWidget::close)
      ->setShortcut(QKeySequence::Quit);
  bar->addAction(open);
  bar->addAction(save);
  BuildEditMenu();
  BuildViewMenu(bar);
  UpdateRecent();
}

void MainWindow::BuildEditMenu() {
  QMenu* edit = menuBar()->addMenu(QStringLiteral("编辑(&E)"));
  QAction* undo = edit->addAction(QStringLiteral("放弃(&U)"), this, [this] { RunCommand("UNDO"); });
  undo->setObjectName("undo");
  undo->setShortcut(QKeySequence::Undo);
  QAction* redo = edit->addAction(QStringLiteral("重做(&R)"), this, [this] { RunCommand("REDO"); });
  redo->setObjectName("redo");
  redo->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
  // Also while the point-method dialog is the active window.
  undo->setShortcutContext(Qt::ApplicationShortcut);
  redo->setShortcutContext(Qt::ApplicationShortcut);
  // The menu names the step it would take back.
  connect(edit, &QMenu::aboutToShow, this, [undo, redo] {
    const nyhost::Drawing* d = Host::Get().drawing();
    const bool idle = !Host::Get().command_running();
    undo->setEnabled(idle && d && d->undo_depth() > 0);
    redo->setEnabled(idle && d && d->redo_depth() > 0);
    undo->setText(
        QStringLiteral("放弃(&U) %1").arg(d ? QString::fromStdString(d->UndoLabel()) : ""));
    redo->setText(
        QStringLiteral("重做(&R) %1").arg(d ? QString::fromStdString(d->RedoLabel()) : ""));
  });
  connect(edit, &QMenu::aboutToHide, this, [undo, redo] {
    undo->setEnabled(true);  // the shortcuts work while the menu is closed
    redo->setEnabled(true);
  });
}

void MainWindow::BuildViewMenu(QToolBar* bar) {
  QMenu* view = menuBar()->addMenu(QStringLiteral("视图(&V)"));
  QAction* extents = view->addAction(QStringLiteral("范围缩放"), canvas_, &Canvas::ZoomExtents);
  QAction* window = view->addAction(QStringLiteral("窗口缩放"), this, [this] {
    if (!ports_->waiting() && !Host::Get().command_running()) ZoomWindowPicked();
  });
  view->addAction(QStringLiteral("上一个视图"), canvas_, &Canvas::ZoomPrevious)
      ->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_P));
  view->addAction(QStringLiteral("放大"), this, [this] { canvas_->ZoomBy(1.5); })
      ->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
  view->addAction(QStringLiteral("缩小"), this, [this] { canvas_->ZoomBy(1 / 1.5); })
      ->setShortcut(QKeySequence::ZoomOut);
  view->addAction(QStringLiteral("重画"), this, [this] { RunCommand("REDRAW"); });
  view->addSeparator();
  QAction* snap = view->addAction(QStringLiteral("对象捕捉"), this, &MainWindow::ToggleSnap);
  snap->setObjectName("objectSnap");
  snap->setShortcut(Qt::Key_F3);
  QMenu* modes = view->addMenu(QStringLiteral("捕捉模式"));
  for (const auto& m : SnapModes()) {
    QAction* a = modes->addAction(QString::fromUtf8(m.title));
    a->setCheckable(true);
    a->setChecked(canvas_->snap_modes() & m.mode);
    const unsigned bit = m.mode;
    connect(a, &QAction::toggled, this, [this, bit](bool on) {
      canvas_->SetSnapModes(on ? canvas_->snap_modes() | bit : canvas_->snap_modes() & ~bit);
    });
  }
  view->addAction(QStringLiteral("正交"), this, &MainWindow::ToggleOrtho)->setShortcut(Qt::Key_F8);
  view->addSeparator();
  for (QDockWidget* d : findChildren<QDockWidget*>()) view->addAction(d->toggleViewAction());
  bar->addSeparator();
  bar->addAction(extents);
  bar->addAction(window);

  BuildHelpMenu();
}

void MainWindow::AddViewCommands() {
  // Zoom and pan typed as in a CAD program; they act on whichever window is wired.
  Host& host = Host::Get();
  auto zoom = [] {
    MainWindow* w = Active();
    Host& h = Host::Get();
    std::string how;
    if (!w || h.GetString("\n[范围(E)/窗口(W)/上一个(P)/放大(I)/缩小(O)] <范围>:", false, how) !=
                  nyhost::kRtNorm)
      return;
    const QString k = QString::fromStdString(how).trimmed().toUpper();
    Canvas* c = w->canvas();
    if (k.isEmpty() || k == "E") return c->ZoomExtents();
    if (k == "P") return void(c->ZoomPrevious());
    if (k == "I") return c->ZoomBy(2);
    if (k == "O") return c->ZoomBy(0.5);
    if (k != "W") return h.Print("\n需要 E、W、P、I 或 O。");
    w->ZoomWindowPicked();
  };
  host.AddBuiltin("ZOOM", zoom);
  host.AddBuiltin("Z", zoom);
  host.AddBuiltin("PAN", [] {
    MainWindow* w = Active();
    Host& h = Host::Get();
    nyhost::Point3 a, b;
    if (!w || h.GetPoint(nullptr, "\n指定基点:", a) != nyhost::kRtNorm) return;
    if (h.GetPoint(&a, "\n指定第二点:", b) != nyhost::kRtNorm || Active() != w) return;
    const QPointF from = w->canvas()->ToDevice(a), to = w->canvas()->ToDevice(b);
    w->canvas()->PanBy(to.x() - from.x(), to.y() - from.y());
  });
}

void MainWindow::ZoomWindowPicked() {
  // Two corners picked like any host request, then the view shows them.
  Host& host = Host::Get();
  nyhost::Point3 a, b;
  if (host.GetPoint(nullptr, "\n指定第一个角点:", a) != nyhost::kRtNorm) return;
  if (host.GetCorner(a, "\n指定对角点:", b) != nyhost::kRtNorm) return;
  canvas_->ZoomWindow(a, b);
}

void MainWindow::BuildHelpMenu() {
  QMenu* help = menuBar()->addMenu(QStringLiteral("帮助(&H)"));
  const std::pair<const char*, const char*> pages[] = {
      {"逐点法照度计算", "NY/ME/逐点法照度计算/逐点法照度计算.htm"},
      {"利用系数法照度计算", "NY/ME/利用系数法照度计算/利用系数法照度计算.html"},
      {"建筑照明设计规范", "照明规范/建筑照明设计规范GB50034-2004/outline_0.htm"},
  };
  for (const auto& [title, page] : pages) {
    const QString relative = QString::fromUtf8(page);
    help->addAction(QString::fromUtf8(title), this, [this, relative] {
      const QString path = HelpPage(relative);
      if (path.isEmpty() || !QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        QMessageBox::warning(this, QStringLiteral("帮助"),
                             QStringLiteral("找不到帮助页 %1。").arg(relative));
    });
  }
  help->actions().first()->setShortcut(QKeySequence::HelpContents);
  help->addSeparator();
  help->addAction(QStringLiteral("关于 NYLuxora(&A)..."), this, &MainWindow::ShowAbout);
}

void MainWindow::ShowAbout() {
  QMessageBox::about(
      this, QStringLiteral("关于 NYLuxora"),
      QStringLiteral("<h3>NYLuxora %1</h3><p>照度计算工作台 (桌面)</p>"
                     "<p>Qt %2 (运行) / %3 (编译)</p>"
                     "<p>所用开源库及其许可证: Qt 6 (LGPL-3.0)、dxflib (GPL-2.0-or-later)、"
                     "SQLite (公有领域)、SimpleIni (MIT)、fmt (MIT)、ICU (Unicode 许可证)、"
                     "libzip (BSD-3-Clause)、pugixml (MIT)、libxlsxwriter (BSD-2-Clause)。</p>")
          .arg(QStringLiteral(NYLUXORA_VERSION), qVersion(), QStringLiteral(QT_VERSION_STR)));
}

void MainWindow::ToggleSnap() {
  canvas_->SetObjectSnap(!canvas_->object_snap());
  Host::Get().Print(canvas_->object_snap() ? "\n<对象捕捉 开>" : "\n<对象捕捉 关>");
  UpdateToggles();
}

void MainWindow::ToggleOrtho() {
  canvas_->SetOrtho(!canvas_->ortho());
  Host::Get().Print(canvas_->ortho() ? "\n<正交 开>" : "\n<正交 关>");
  UpdateToggles();
}

void MainWindow::UpdateToggles() {
  snap_label_->setText(canvas_->object_snap() ? QStringLiteral("捕捉: 开")
                                              : QStringLiteral("捕捉: 关"));
  ortho_label_->setText(canvas_->ortho() ? QStringLiteral("正交: 开") : QStringLiteral("正交: 关"));
}

void MainWindow::ExportPdf() {
  const nyhost::Drawing* d = Host::Get().drawing();
  if (!d) return;
  PdfExportDialog dlg(this, QString::fromStdString(d->path()));
  if (dlg.exec() != QDialog::Accepted) return;
  QString error;
  if (!ExportViewToPdf(*d, canvas_->view(), dlg.Options(), &error))
    QMessageBox::warning(this, QStringLiteral("打印到 PDF"), error);
}

void MainWindow::BuildCommandMenus() {
  if (!lighting_menu_) {
    lighting_menu_ = new QMenu(QStringLiteral("照度计算(&L)"), this);
    // Before 帮助, which stays last.
    menuBar()->insertMenu(menuBar()->actions().last(), lighting_menu_);
    lighting_bar_ = addToolBar(QStringLiteral("照度计算"));
    lighting_bar_->setObjectName("lightingBar");
    lighting_bar_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  }
  lighting_menu_->clear();
  lighting_bar_->clear();
  auto commands = Host::Get().Commands();
  auto add = [&](const std::string& name, const char* icon, bool to_bar) {
    QAction* a = lighting_menu_->addAction(
        CommandTitle(name), this, [this, name] { RunCommand(QString::fromStdString(name)); });
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

}  // namespace nygui
