#include "gui/qt_window_system.h"

#include <QApplication>
#include <QColorDialog>
#include <QCursor>
#include <QDesktopServices>
#include <QEventLoop>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMessageBox>
#include <QRegularExpression>
#include <QUrl>

#include "gui/dialog_widget.h"
#include "render/aci_colors.h"

namespace nygui {

using nyhost::MbButtons;
using nyhost::MbIcon;

DialogWidget* QtWindowSystem::WidgetOf(const nyhost::Dialog& dlg) {
  auto* view = dynamic_cast<QtDialogView*>(dlg.view());
  return view ? view->widget() : nullptr;
}

QWidget* QtWindowSystem::ParentFor(const nyhost::Dialog* parent) const {
  if (parent)
    if (DialogWidget* w = WidgetOf(*parent)) return w;
  return main_window_.data();
}

std::unique_ptr<nyhost::DialogView> QtWindowSystem::CreateView(nyhost::Dialog& dlg) {
  auto* w = new DialogWidget(dlg, ParentFor(dlg.parent()));
  return std::make_unique<QtDialogView>(w);
}

QWidget* QtWindowSystem::OwnerWindow() const {
  for (QWidget* w : {QApplication::activeModalWidget(), QApplication::activeWindow()}) {
    if (!w) continue;
    auto* d = qobject_cast<DialogWidget*>(w);
    if (d && (!d->model() || d->model()->destroyed())) continue;
    return w;
  }
  return main_window_.data();
}

void QtWindowSystem::RunModalLoop(nyhost::Dialog& dlg) {
  // Every event handler that ends the dialog runs inside this loop; check after each batch.
  QEventLoop loop;
  while (!dlg.result() && !dlg.destroyed()) {
    DialogWidget* w = WidgetOf(dlg);
    if (!w || QCoreApplication::closingDown()) break;
    loop.processEvents(QEventLoop::WaitForMoreEvents | QEventLoop::EventLoopExec);
  }
}

int QtWindowSystem::MessageBox(const std::string& caption, const std::string& text, MbIcon icon,
                               MbButtons buttons) {
  message_log.push_back("[" + caption + "] " + text);
  QMessageBox::Icon qicon = icon == MbIcon::kWarning       ? QMessageBox::Warning
                            : icon == MbIcon::kError       ? QMessageBox::Critical
                            : icon == MbIcon::kQuestion    ? QMessageBox::Question
                            : icon == MbIcon::kInformation ? QMessageBox::Information
                                                           : QMessageBox::NoIcon;
  QMessageBox::StandardButtons qbuttons =
      buttons == MbButtons::kOkCancel    ? QMessageBox::Ok | QMessageBox::Cancel
      : buttons == MbButtons::kYesNo     ? QMessageBox::Yes | QMessageBox::No
      : buttons == MbButtons::kYesNoCancel ? QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel
                                           : QMessageBox::StandardButtons(QMessageBox::Ok);
  // On the heap: should its owner be deleted while it waits, the box goes with it.
  QPointer<QMessageBox> box = new QMessageBox(qicon, QString::fromStdString(caption),
                                              QString::fromStdString(text), qbuttons, OwnerWindow());
  box->setObjectName("nyMessageBox");
  int answer = box->exec();  // what Escape gives when the box went with its owner
  delete box;
  switch (answer) {
    case QMessageBox::Yes: return nyhost::kIdYes;
    case QMessageBox::No: return nyhost::kIdNo;
    case QMessageBox::Cancel: return nyhost::kIdCancel;
    case QMessageBox::Ok: return nyhost::kIdOk;
    default:
      // Closed with the window's close box: what Escape would give.
      return buttons == MbButtons::kYesNo ? nyhost::kIdNo
             : buttons == MbButtons::kOk  ? nyhost::kIdOk
                                          : nyhost::kIdCancel;
  }
}

QString QtWindowSystem::QtFilter(const std::string& filter) {
  QString f = QString::fromStdString(filter);
  if (!f.contains('|')) return f;
  QStringList parts = f.split('|', Qt::SkipEmptyParts);
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    QString desc = parts[i];
    QString pattern = parts[i + 1];
    pattern.replace(';', ' ');
    out << (desc.contains('(') ? desc : desc + " (" + pattern + ")");
  }
  return out.join(";;");
}

std::optional<std::string> QtWindowSystem::FileDialog(bool save, const std::string& title,
                                                      const std::string& initial,
                                                      const std::string& filter) {
  QWidget* parent = OwnerWindow();
  QString t = QString::fromStdString(title);
  QString i = QString::fromStdString(initial);
  QString f = QtFilter(filter);
  QString selected;
  QString chosen = save ? QFileDialog::getSaveFileName(parent, t, i, f, &selected)
                        : QFileDialog::getOpenFileName(parent, t, i, f);
  if (chosen.isEmpty()) return std::nullopt;
  // A name typed without extension takes the chosen type's, e.g. *.pdf beside *.xlsx.
  static const QRegularExpression pattern(QStringLiteral("\\*\\.(\\w+)"));
  if (const auto m = pattern.match(selected);
      save && QFileInfo(chosen).suffix().isEmpty() && m.hasMatch())
    chosen += "." + m.captured(1);
  return chosen.toStdString();
}

std::optional<std::string> QtWindowSystem::FolderDialog(const std::string& title,
                                                        const std::string& initial) {
  QWidget* parent = OwnerWindow();
  QString chosen = QFileDialog::getExistingDirectory(parent, QString::fromStdString(title),
                                                     QString::fromStdString(initial));
  if (chosen.isEmpty()) return std::nullopt;
  return chosen.toStdString();
}

int QtWindowSystem::PopupMenu(const std::vector<std::string>& items) {
  QMenu menu;
  for (std::size_t i = 0; i < items.size(); ++i) {
    QAction* a = menu.addAction(QString::fromStdString(items[i]));
    a->setData(static_cast<int>(i));
  }
  QAction* chosen = menu.exec(QCursor::pos());
  return chosen ? chosen->data().toInt() : -1;
}

std::optional<int> QtWindowSystem::ChooseColor(int initial) {
  std::uint32_t rgb = nyrender::AciToRgb(initial);
  QColor start((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
  QColor c = QColorDialog::getColor(start, OwnerWindow());
  if (!c.isValid()) return std::nullopt;
  // The nearest colour index.
  int best = 7;
  long best_d = -1;
  for (int i = 1; i < 256; ++i) {
    std::uint32_t v = nyrender::AciToRgb(i);
    long dr = static_cast<long>((v >> 16) & 0xFF) - c.red();
    long dg = static_cast<long>((v >> 8) & 0xFF) - c.green();
    long db = static_cast<long>(v & 0xFF) - c.blue();
    long d = dr * dr + dg * dg + db * db;
    if (best_d < 0 || d < best_d) best_d = d, best = i;
  }
  return best;
}

bool QtWindowSystem::OpenDocument(const std::string& path_or_url) {
  QString s = QString::fromStdString(path_or_url);
  QUrl url = QFileInfo::exists(s) ? QUrl::fromLocalFile(s) : QUrl(s);
  return QDesktopServices::openUrl(url);
}

}  // namespace nygui
