#include "gui/icons.h"

#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

static void InitNyguiResources() { Q_INIT_RESOURCE(nygui); }

namespace nygui {

QIcon BitmapIcon(const std::string& name) {
  static bool init = (InitNyguiResources(), true);
  (void)init;
  QString file = QStringLiteral(":/icons/%1.svg").arg(QString::fromStdString(name));
  if (!QFile::exists(file)) return QIcon();
  QSvgRenderer svg(file);
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64}) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    svg.render(&p);
    p.end();
    icon.addPixmap(pm);
  }
  return icon;
}

}  // namespace nygui
