#include "gui/main_window.h"

#include <QCloseEvent>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>

#include "gui/dialog_widget.h"
#include "gui/icons.h"
#include "gui/panels.h"
#include "gui/pick.h"
#include "host/dxf_io.h"
#include "host/host.h"
#include "render/report_pdf.h"

namespace nygui {

using nyhost::Host;

namespace {
constexpr int kMaxRecent = 8;
MainWindow* g_active = nullptr;
const QString kDxfFilter = QStringLiteral("DXF 图纸 (*.dxf)");
}  // namespace

std::unique_ptr<QSettings> UserSettings() {
  const QByteArray home = qgetenv("NYLUXORA_HOME");
  if (!home.isEmpty())
    return std::make_unique<QSettings>(QString::fromLocal8Bit(home) + "/nyluxora-gui.ini",
                                       QSettings::IniFormat);
  return std::make_unique<QSettings>(QStringLiteral("NYLuxora"), QStringLiteral("nyluxora-gui"));
}

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
  layers_ = new LayerPanel(this);
  properties_ = new PropertiesPanel(this);
  for (auto [panel, name, title] :
       {std::tuple<QWidget*, const char*, const char*>{layers_, "layerDock", "图层"},
        {properties_, "propertiesDock", "特性"}}) {
    auto* d = new QDockWidget(QString::fromUtf8(title), this);
    d->setObjectName(name);
    d->setWidget(panel);
    addDockWidget(Qt::RightDockWidgetArea, d);
  }
  coords_ = new QLabel(this);
  statusBar()->addWidget(coords_);
  snap_label_ = new QLabel(this);
  ortho_label_ = new QLabel(this);
  statusBar()->addPermanentWidget(snap_label_);
  statusBar()->addPermanentWidget(ortho_label_);
  ports_ = std::make_unique<GuiPorts>(canvas_, command_line_, statusBar());
  windows_ = std::make_unique<QtWindowSystem>(this);
  connect(canvas_, &Canvas::cursorMoved, this, [this](nyhost::Point3 p) {
    coords_->setText(QString::asprintf("%.1f, %.1f", p.x, p.y));
  });
  // A command asking for input ends the highlight of a picked entity.
  connect(ports_.get(), &GuiPorts::waitingChanged, this, [this](bool waiting) {
    if (waiting) canvas_->SetHighlighted({});
  });
  // Escape with nothing asked lets go of the picked entity.
  connect(canvas_, &Canvas::escapePressed, this, [this] {
    if (ports_->waiting()) return;
    canvas_->SetHighlighted({});
    properties_->Show(nyhost::kNullId);
  });
  connect(canvas_, &Canvas::pointClicked, this,
          [this](nyhost::Point3, nyhost::Point3 raw) { ShowPicked(raw); });
  BuildMenus();
  UpdateToggles();
  UpdateTitle();
  // Whatever changed the drawing (a command, an undo, a dialog), the title and panels follow.
  listener_ = Host::Get().AddDrawingListener([this](nyhost::DrawingEvent e) {
    if (e == nyhost::DrawingEvent::kReplaced) {
      properties_->Show(nyhost::kNullId);
      canvas_->SetHighlighted({});
    }
    layers_->Reload();
    properties_->Reload();
    UpdateTitle();
  });
  auto* poll = new QTimer(this);
  connect(poll, &QTimer::timeout, this, &MainWindow::UpdateTitle);
  poll->start(500);
  resize(1280, 820);
}

MainWindow::~MainWindow() {
  Host::Get().RemoveDrawingListener(listener_);
  Unwire();
}

MainWindow* MainWindow::Active() { return g_active; }

void MainWindow::Wire() {
  g_active = this;
  AddViewCommands();
  ports_->Wire();
  Host::Get().SetWindows(windows_.get());
  static nyrender::PdfReportWriter pdf_reports;  // stateless: one serves every window
  Host::Get().SetReports(&pdf_reports);
}

void MainWindow::Unwire() {
  if (g_active == this) g_active = nullptr;
  if (ports_) ports_->Unwire();
  if (&Host::Get().windows() == windows_.get()) Host::Get().SetWindows(nullptr);
}

bool MainWindow::Busy() {
  if (!Host::Get().command_running()) return false;
  QMessageBox::information(this, QStringLiteral("NYLuxora"),
                           QStringLiteral("请先结束正在运行的命令。"));
  return true;
}

void MainWindow::ShowPicked(nyhost::Point3 world) {
  // A click while nothing is asked picks an entity for the properties panel.
  const nyhost::Drawing* d = Host::Get().drawing();
  if (ports_->waiting() || !d) return;
  nyhost::EntityId id = PickEntity(*d, world, canvas_->PixelsToWorld(Canvas::kPickPixels));
  canvas_->SetHighlighted(id == nyhost::kNullId ? std::set<nyhost::EntityId>{}
                                                : std::set<nyhost::EntityId>{id});
  properties_->Show(id);
}

void MainWindow::RunCommand(const QString& name) {
  Host& host = Host::Get();
  if (ports_->waiting()) ports_->CancelWait();
  host.CancelRunningCommand();
  ports_->NoteCommand(name);
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

void MainWindow::OpenChosen(const QString& path) {
  if (Busy() || !MaybeSave()) return;
  OpenPlan(path);
}

bool MainWindow::OpenPlan(const QString& path) {
  QString error;
  auto drawing = ReadPlan(path, &error);
  if (!drawing) {
    QMessageBox::warning(this, QStringLiteral("打开图纸"),
                         QStringLiteral("无法打开图纸:\n%1").arg(DxfMessageInChinese(error)));
    return false;
  }
  AdoptPlan(std::move(drawing), path);
  return true;
}

void MainWindow::AdoptPlan(std::unique_ptr<nyhost::Drawing> drawing, const QString& path) {
  drawing->set_path(path.toStdString());
  drawing->MarkSaved();
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
                         QStringLiteral("无法保存图纸:\n%1")
                             .arg(DxfMessageInChinese(QString::fromStdString(r.error))));
    return false;
  }
  d->set_path(path.toStdString());
  d->MarkSaved();
  AddRecent(QFileInfo(path).absoluteFilePath());
  UpdateTitle();
  return true;
}

bool MainWindow::Save() {
  const nyhost::Drawing* d = Host::Get().drawing();
  if (!d) return false;
  if (d->path().empty()) return SaveAs();
  return SavePlan(QString::fromStdString(d->path()));
}

bool MainWindow::SaveAs() {
  const nyhost::Drawing* d = Host::Get().drawing();
  if (!d) return false;
  // Proposed: the plan's own folder and name, or 未命名.dxf in the documents folder.
  QString proposed = QString::fromStdString(d->path());
  if (proposed.isEmpty())
    proposed = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
               QStringLiteral("/未命名.dxf");
  QString p = QFileDialog::getSaveFileName(this, QStringLiteral("图纸另存为"),
                                           QFileInfo(proposed).absoluteFilePath(), kDxfFilter);
  if (p.isEmpty()) return false;
  if (QFileInfo(p).suffix().isEmpty()) p += QStringLiteral(".dxf");
  return SavePlan(p);
}

bool MainWindow::MaybeSave() {
  const nyhost::Drawing* d = Host::Get().drawing();
  if (discard_ || !d || !d->modified()) return true;
  const QString name = d->path().empty() ? QStringLiteral("未命名")
                                         : QFileInfo(QString::fromStdString(d->path())).fileName();
  QMessageBox box(QMessageBox::Question, QStringLiteral("NYLuxora"),
                  QStringLiteral("图纸“%1”已修改。\n是否保存修改?").arg(name),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
  box.setDefaultButton(QMessageBox::Yes);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return Save();
    case QMessageBox::No:
      return true;
    default:
      return false;
  }
}

void MainWindow::CloseDiscarding() {
  discard_ = true;
  close();
}

void MainWindow::AddRecent(const QString& path) {
  auto s = UserSettings();
  QStringList list = s->value("recentFiles").toStringList();
  list.removeAll(path);
  list.prepend(path);
  while (list.size() > kMaxRecent) list.removeLast();
  s->setValue("recentFiles", list);
  UpdateRecent();
}

void MainWindow::UpdateRecent() {
  if (!recent_menu_) return;
  recent_menu_->clear();
  for (const QString& p : UserSettings()->value("recentFiles").toStringList())
    recent_menu_->addAction(p, this, [this, p] { OpenChosen(p); });
  recent_menu_->setEnabled(!recent_menu_->isEmpty());
}

void MainWindow::UpdateTitle() {
  const nyhost::Drawing* d = Host::Get().drawing();
  QString name = d && !d->path().empty() ? QFileInfo(QString::fromStdString(d->path())).fileName()
                                         : QStringLiteral("未命名");
  const QString title = QStringLiteral("NYLuxora — %1[*]").arg(name);
  if (windowTitle() != title) setWindowTitle(title);
  setWindowModified(d && d->modified());
}

void MainWindow::RestoreLayout() {
  auto s = UserSettings();
  restoreState(s->value("window/state").toByteArray());
  if (restoreGeometry(s->value("window/geometry").toByteArray())) {
    setGeometry(FitOnScreen(geometry()));
    return;
  }
  // First start: never larger than the screen it opens on (1366 x 768, or 1920 x 1080 at 150 %),
  // with room for the title bar, centred.
  const QScreen* sc = screen();
  if (!sc) return;
  const QRect avail = sc->availableGeometry();
  const QSize size =
      QSize(1280, 820).boundedTo(QSize(avail.width() * 94 / 100, avail.height() * 90 / 100));
  resize(size);
  move(avail.topLeft() +
       QPoint((avail.width() - size.width()) / 2, (avail.height() - size.height()) / 2));
}

void MainWindow::closeEvent(QCloseEvent* e) {
  if (!MaybeSave()) {
    e->ignore();
    return;
  }
  auto s = UserSettings();
  s->setValue("window/geometry", saveGeometry());
  s->setValue("window/state", saveState());
  // A command waiting for input ends as with Escape before the window goes.
  ports_->CancelWait();
  Host::Get().CancelRunningCommand();
  QMainWindow::closeEvent(e);
}

}  // namespace nygui
