#include "gui/panels.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/gui_ports.h"
#include "host/host.h"
#include "render/aci_colors.h"

namespace nygui {

using nyhost::Host;

namespace {

constexpr char kApp[] = "NYLUXORA";
enum LayerColumn { kName, kOn, kFrozen, kColor };

QTableWidgetItem* CheckItem(bool on) {
  auto* item = new QTableWidgetItem;
  item->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
  item->setCheckState(on ? Qt::Checked : Qt::Unchecked);
  return item;
}

QTableWidget* MakeTable(QWidget* parent, const QStringList& headers) {
  auto* t = new QTableWidget(0, static_cast<int>(headers.size()), parent);
  t->setHorizontalHeaderLabels(headers);
  t->verticalHeader()->hide();
  // The first column takes what room is left; the others are as wide as their contents.
  t->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  t->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Stretch);
  t->setSelectionMode(QAbstractItemView::NoSelection);
  return t;
}

// The keyed text `key=value` of the module's application on an entity.
QString KeyedText(const nyhost::Entity& e, const std::string& key) {
  for (const auto& g : e.xdata)
    if (g.app == kApp)
      for (const auto& item : g.items)
        if (item.code == 1000 && item.text.size() > key.size() && item.text[key.size()] == '=' &&
            item.text.compare(0, key.size(), key) == 0)
          return QString::fromStdString(item.text.substr(key.size() + 1));
  return {};
}

void SetKeyedText(nyhost::Entity& e, const std::string& key, const std::string& value) {
  auto g =
      std::find_if(e.xdata.begin(), e.xdata.end(), [](const auto& x) { return x.app == kApp; });
  if (g == e.xdata.end()) g = e.xdata.insert(e.xdata.end(), {kApp, {}});
  const std::string text = key + "=" + value;
  for (auto& item : g->items)
    if (item.code == 1000 && item.text.compare(0, key.size() + 1, key + "=") == 0) {
      item.text = text;
      return;
    }
  g->items.push_back({1000, text, 0, 0});
}

}  // namespace

LayerPanel::LayerPanel(QWidget* parent) : QWidget(parent) {
  table_ = MakeTable(this, {QStringLiteral("图层"), QStringLiteral("开"), QStringLiteral("冻结"),
                            QStringLiteral("颜色")});
  table_->setObjectName("layerTable");
  auto* col = new QVBoxLayout(this);
  col->setContentsMargins(0, 0, 0, 0);
  col->addWidget(table_);
  connect(table_, &QTableWidget::cellChanged, this, &LayerPanel::Changed);
  Reload();
}

void LayerPanel::Reload() {
  const nyhost::Drawing* d = Host::Get().drawing();
  loading_ = true;
  table_->setRowCount(d ? static_cast<int>(d->layers().size()) : 0);
  for (int r = 0; d && r < table_->rowCount(); ++r) {
    const nyhost::Layer& l = d->layers()[static_cast<std::size_t>(r)];
    auto* name = new QTableWidgetItem(QString::fromStdString(l.name));
    name->setFlags(Qt::ItemIsEnabled);
    table_->setItem(r, kName, name);
    table_->setItem(r, kOn, CheckItem(!l.off && l.color >= 0));
    table_->setItem(r, kFrozen, CheckItem(l.frozen));
    const int aci = std::abs(l.color);
    auto* colour = new QTableWidgetItem(QString::number(aci));
    colour->setBackground(QColor::fromRgb(nyrender::AciToRgb(aci == 7 ? 8 : aci)));
    colour->setToolTip(QStringLiteral("颜色号 1-255, 双击修改"));
    table_->setItem(r, kColor, colour);
  }
  loading_ = false;
}

void LayerPanel::Changed(int row, int col) {
  nyhost::Drawing* d = Host::Get().drawing();
  if (loading_ || !d || row >= static_cast<int>(d->layers().size())) return;
  nyhost::Layer l = d->layers()[static_cast<std::size_t>(row)];
  QTableWidgetItem* item = table_->item(row, col);
  if (col == kOn) {
    // DXF keeps an off layer as a negative colour; the drawing has its own flag too.
    l.off = item->checkState() != Qt::Checked;
    l.color = l.off ? -std::abs(l.color) : std::abs(l.color);
  } else if (col == kFrozen) {
    l.frozen = item->checkState() == Qt::Checked;
  } else if (col == kColor) {
    bool ok = false;
    const int aci = item->text().toInt(&ok);
    if (ok && aci >= 1 && aci <= 255) l.color = l.off ? -aci : aci;
  }
  d->SetLayer(l);
  Host::Get().Regen();
  Reload();
}

const char* const PropertiesPanel::kKeys[5] = {"设备高", "名称", "型号", "X轴旋转", "Y轴旋转"};

PropertiesPanel::PropertiesPanel(QWidget* parent) : QWidget(parent) {
  title_ = new QLabel(QStringLiteral("未选择对象"), this);
  table_ = MakeTable(this, {QStringLiteral("特性"), QStringLiteral("值")});
  table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  table_->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
  table_->setObjectName("propertyTable");
  auto* col = new QVBoxLayout(this);
  col->setContentsMargins(0, 0, 0, 0);
  col->addWidget(title_);
  col->addWidget(table_);
  connect(table_, &QTableWidget::cellChanged, this, &PropertiesPanel::Edited);
}

void PropertiesPanel::Show(nyhost::EntityId id) {
  const nyhost::Drawing* d = Host::Get().drawing();
  const nyhost::Entity* e = d ? d->FindLive(id) : nullptr;
  id_ = e ? id : nyhost::kNullId;
  loading_ = true;
  table_->setRowCount(0);
  if (!e) {
    title_->setText(QStringLiteral("未选择对象"));
    loading_ = false;
    return;
  }
  const auto* ref = e->As<nyhost::BlockReference>();
  title_->setText(QStringLiteral("%1 %2  图层 %3")
                      .arg(QString::fromUtf8(nyhost::EntityTypeName(*e)),
                           ref ? QString::fromStdString(ref->block) : QString(),
                           QString::fromStdString(e->layer)));
  // Keyed texts only where a luminaire carries them (a block reference with any of the keys).
  bool keyed = false;
  for (const char* k : kKeys) keyed |= !KeyedText(*e, k).isNull();
  if (ref && keyed) {
    table_->setRowCount(5);
    for (int r = 0; r < 5; ++r) {
      auto* key = new QTableWidgetItem(QString::fromUtf8(kKeys[r]));
      key->setFlags(Qt::ItemIsEnabled);
      table_->setItem(r, 0, key);
      table_->setItem(r, 1, new QTableWidgetItem(KeyedText(*e, kKeys[r])));
    }
  }
  loading_ = false;
}

void PropertiesPanel::Edited(int row, int col) {
  nyhost::Drawing* d = Host::Get().drawing();
  if (loading_ || col != 1 || row < 0 || row >= 5 || !d || !d->FindLive(id_)) return;
  const std::string value = table_->item(row, col)->text().trimmed().toStdString();
  {
    UserStep step("特性");
    d->RegisterApp(kApp);
    d->Modify(id_, [&](nyhost::Entity& e) { SetKeyedText(e, kKeys[row], value); });
  }
  Host::Get().Regen();
}

}  // namespace nygui
