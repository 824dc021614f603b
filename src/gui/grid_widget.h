// The grid control: fixed header rows and columns, per-cell text and colours, in-place editing
// with edit and drop-down cells, selection ranges and title tips. Shows a GridState and reports
// the person's clicks and edits; it never changes the state itself.
#pragma once

#include <QStyledItemDelegate>
#include <QTableWidget>

#include "host/dialog.h"

namespace nygui {

class GridWidget : public QTableWidget {
  Q_OBJECT
 public:
  explicit GridWidget(QWidget* parent = nullptr);
  void SetState(const nyhost::GridState& state, std::uint32_t back_color);
  const nyhost::GridState& state() const { return state_; }
  // What the tooltip shows at a viewport point: the whole text of a cell too narrow for it
  // (a title tip), else the grid's own tooltip.
  QString ToolTipAt(QPoint viewport_pos) const;

 signals:
  void cellClickedByUser(int row, int col);
  void cellEditedByUser(int row, int col, const QString& text);

 protected:
  bool viewportEvent(QEvent* event) override;

 private:
  friend class GridDelegate;
  nyhost::GridState state_;
  bool syncing_ = false;
};

class GridDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  explicit GridDelegate(GridWidget* grid) : QStyledItemDelegate(grid), grid_(grid) {}
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;

 private:
  GridWidget* grid_;
};

}  // namespace nygui
