#include "gui/grid_widget.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QToolTip>

#include "render/qt_painter.h"

namespace nygui {

using nyhost::CellKind;

GridWidget::GridWidget(QWidget* parent) : QTableWidget(parent) {
  horizontalHeader()->hide();
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(20);
  setItemDelegate(new GridDelegate(this));
  setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                  QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
  setSelectionMode(QAbstractItemView::ContiguousSelection);
  connect(this, &QTableWidget::cellClicked, this, [this](int row, int col) {
    if (!syncing_) emit cellClickedByUser(row, col);
  });
}

void GridWidget::SetState(const nyhost::GridState& state, std::uint32_t back_color) {
  syncing_ = true;
  state_ = state;
  int rows = state.rows(), cols = state.cols();
  if (rowCount() != rows) setRowCount(rows);
  if (columnCount() != cols) setColumnCount(cols);
  QColor fixed_back = palette().color(QPalette::Button);
  QColor back = back_color == nyhost::kNoColor ? palette().color(QPalette::Base)
                                               : nyrender::RgbColor(back_color);
  for (int r = 0; r < rows; ++r) {
    for (int c = 0; c < cols; ++c) {
      const auto& cell = state.cells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)];
      QTableWidgetItem* item = this->item(r, c);
      if (!item) {
        item = new QTableWidgetItem;
        setItem(r, c, item);
      }
      QString text = QString::fromStdString(cell.text);
      if (item->text() != text) item->setText(text);
      bool fixed = r < state.fixed_rows || c < state.fixed_cols;
      bool editable = !fixed && (cell.kind == CellKind::kEdit || cell.kind == CellKind::kCombo);
      Qt::ItemFlags flags = Qt::ItemIsEnabled | (fixed ? Qt::NoItemFlags : Qt::ItemIsSelectable);
      if (editable) flags |= Qt::ItemIsEditable;
      item->setFlags(flags);
      item->setBackground(cell.back_color != nyhost::kNoColor ? nyrender::RgbColor(cell.back_color)
                          : fixed                         ? fixed_back
                                                          : back);
      item->setForeground(cell.text_color != nyhost::kNoColor
                              ? QBrush(nyrender::RgbColor(cell.text_color))
                              : palette().brush(QPalette::Text));
      if (fixed) item->setTextAlignment(Qt::AlignCenter);
    }
  }
  for (int c = 0; c < cols && c < static_cast<int>(state.col_widths.size()); ++c)
    if (state.col_widths[static_cast<std::size_t>(c)] > 0)
      setColumnWidth(c, state.col_widths[static_cast<std::size_t>(c)]);
  clearSelection();
  const auto& s = state.selection;
  if (!s.Empty() && s.row1 < rows && s.col1 < cols)
    setRangeSelected(QTableWidgetSelectionRange(s.row0, s.col0, s.row1, s.col1), true);
  syncing_ = false;
}

QString GridWidget::ToolTipAt(QPoint viewport_pos) const {
  const QModelIndex index = indexAt(viewport_pos);
  if (index.isValid()) {
    const QString text = index.data().toString();
    // The delegate leaves a focus-frame margin plus one pixel on each side of the text.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    const int room = visualRect(index).width() - 2 * margin;
    if (!text.isEmpty() && fontMetrics().horizontalAdvance(text) > room) return text;
  }
  return toolTip();
}

bool GridWidget::viewportEvent(QEvent* event) {
  if (event->type() != QEvent::ToolTip) return QTableWidget::viewportEvent(event);
  auto* help = static_cast<QHelpEvent*>(event);
  const QString tip = ToolTipAt(help->pos());
  if (tip.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    const QModelIndex index = indexAt(help->pos());
    QToolTip::showText(help->globalPos(), tip, viewport(),
                       index.isValid() ? visualRect(index) : QRect());
  }
  return true;
}

QWidget* GridDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const {
  const auto& st = grid_->state_;
  if (index.row() >= st.rows() || index.column() >= st.cols()) return nullptr;
  const auto& cell = st.cells[static_cast<std::size_t>(index.row())][static_cast<std::size_t>(index.column())];
  if (cell.kind == CellKind::kCombo) {
    auto* box = new QComboBox(parent);
    for (const auto& o : cell.options) box->addItem(QString::fromStdString(o));
    return box;
  }
  return QStyledItemDelegate::createEditor(parent, option, index);
}

void GridDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
  if (auto* box = qobject_cast<QComboBox*>(editor)) {
    box->setCurrentIndex(box->findText(index.data().toString()));
    return;
  }
  QStyledItemDelegate::setEditorData(editor, index);
}

void GridDelegate::setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const {
  QString text;
  if (auto* box = qobject_cast<QComboBox*>(editor)) text = box->currentText();
  else if (auto* line = qobject_cast<QLineEdit*>(editor)) text = line->text();
  else return;
  // The dialog model takes the edit once the editor has closed; the grid then shows the
  // model's state.
  QPointer<GridWidget> grid = grid_;
  int row = index.row(), col = index.column();
  QTimer::singleShot(0, grid_, [grid, row, col, text] {
    if (grid) emit grid->cellEditedByUser(row, col, text);
  });
}

}  // namespace nygui
