// The grid control shows the model's grid state (texts, cell kinds, colours, widths, selection)
// and reports clicks and in-place edits, combo cells included, back to the dialog model.
#include "gui/grid_widget.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "gui/dialog_widget.h"
#include "gui/qt_window_system.h"
#include "gui_fixture.h"

namespace {

using guitest::App;
using nyhost::CellKind;
using nyhost::GridCell;

GridCell Cell(const char* text, CellKind kind = CellKind::kEdit,
              std::uint32_t back = nyhost::kNoColor, std::uint32_t fore = nyhost::kNoColor) {
  GridCell c;
  c.text = text;
  c.kind = kind;
  c.back_color = back;
  c.text_color = fore;
  return c;
}

// Header row, a caption column, and one cell of every kind.
nyhost::GridState Luminaires() {
  nyhost::GridState g;
  g.fixed_rows = 1;
  g.fixed_cols = 1;
  g.cells = {
      {Cell("序号"), Cell("灯具名称"), Cell("光源"), Cell("功率"), Cell("数量")},
      {Cell("1"), Cell("格栅荧光灯", CellKind::kText), Cell("T8", CellKind::kCombo),
       Cell("36", CellKind::kReadOnly, 0xFFFFE0),
       Cell("3", CellKind::kEdit, nyhost::kNoColor, 0xFF0000)},
      {Cell("2"), Cell("筒灯", CellKind::kText), Cell("LED", CellKind::kCombo), Cell("18"),
       Cell("1")},
  };
  g.cells[1][2].options = {"T5", "T8", "LED"};
  g.col_widths = {30, 0, 70, 50, 40};
  return g;
}

TEST(GridWidget, ShowsKindsColoursWidthsAndSelection) {
  App();
  nygui::GridWidget grid;
  grid.resize(400, 200);
  nyhost::GridState g = Luminaires();
  g.selection = {1, 3, 2, 4};
  grid.SetState(g, 0xE0FFFF);
  ASSERT_EQ(grid.rowCount(), 3);
  ASSERT_EQ(grid.columnCount(), 5);
  const QColor fixed = grid.palette().color(QPalette::Button);
  struct Case {
    int row, col;
    const char* text;
    bool editable, selectable;
    QColor back;
  } cases[] = {
      {0, 1, "灯具名称", false, false, fixed},                      // header row
      {1, 0, "1", false, false, fixed},                             // caption column
      {1, 1, "格栅荧光灯", false, true, QColor(0xE0, 0xFF, 0xFF)},  // text cells are not edited
      {1, 2, "T8", true, true, QColor(0xE0, 0xFF, 0xFF)},           // combo
      {1, 3, "36", false, true, QColor(0xFF, 0xFF, 0xE0)},          // read-only, its own colour
      {2, 3, "18", true, true, QColor(0xE0, 0xFF, 0xFF)},
  };
  for (const auto& c : cases) {
    QTableWidgetItem* item = grid.item(c.row, c.col);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QString::fromUtf8(c.text));
    EXPECT_EQ(bool(item->flags() & Qt::ItemIsEditable), c.editable) << c.row << "," << c.col;
    EXPECT_EQ(bool(item->flags() & Qt::ItemIsSelectable), c.selectable) << c.row << "," << c.col;
    EXPECT_EQ(item->background().color(), c.back) << c.row << "," << c.col;
  }
  EXPECT_EQ(grid.item(1, 4)->foreground().color(), QColor(255, 0, 0));
  EXPECT_EQ(grid.item(0, 1)->textAlignment(), int(Qt::AlignCenter));
  EXPECT_EQ(grid.columnWidth(0), 30);
  EXPECT_EQ(grid.columnWidth(2), 70);
  EXPECT_EQ(grid.selectedItems().size(), 4);
  EXPECT_TRUE(grid.item(2, 4)->isSelected());
  EXPECT_FALSE(grid.item(1, 2)->isSelected());

  // The model changes: a row goes, a text and a colour change, the selection is cleared.
  g.cells.pop_back();
  g.cells[1][2].text = "T5";
  g.cells[1][2].back_color = 0x00FF00;
  g.selection = {};
  grid.SetState(g, nyhost::kNoColor);
  EXPECT_EQ(grid.rowCount(), 2);
  EXPECT_EQ(grid.item(1, 2)->text(), QStringLiteral("T5"));
  EXPECT_EQ(grid.item(1, 2)->background().color(), QColor(0, 255, 0));
  EXPECT_EQ(grid.item(1, 4)->background().color(), grid.palette().color(QPalette::Base));
  EXPECT_TRUE(grid.selectedItems().isEmpty());
  // A selection beyond the grid is ignored rather than selecting something else.
  g.selection = {5, 1, 6, 2};
  grid.SetState(g, nyhost::kNoColor);
  EXPECT_TRUE(grid.selectedItems().isEmpty());
}

nyhost::DialogTemplate GridOnly() {
  return {.id = 910,
          .width = 300,
          .height = 120,
          .controls = {guitest::Ctl(70, nyhost::ControlKind::kGrid, "", 4, 4, 290, 110)}};
}

// A dialog holding only the grid, so edits go all the way to the model and its controller.
struct GridDialog : guitest::Opened {
  GridDialog() : Opened(GridOnly()) {
    dlg->Grid(70) = Luminaires();
    dlg->GridChanged(70);
    grid = static_cast<nygui::GridWidget*>(w->ControlWidget(70));
    w->show();
  }
  nygui::GridWidget* grid = nullptr;
};

TEST(GridWidget, ComboCellsOfferTheirOptionsAndEditsReachTheModel) {
  GridDialog d;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(d.w));
  EXPECT_TRUE(d.rec.events.empty());  // showing the model reports no clicks or edits
  nygui::GridWidget* grid = d.grid;

  struct Case {
    int row, col;
    bool combo;
    QStringList options;
    QString typed_or_chosen;
    std::string event;
  } cases[] = {
      {1, 2, true, {"T5", "T8", "LED"}, "LED", "cell 70 LED"},
      {2, 2, true, {}, "", ""},  // a combo cell without options offers an empty list
      {2, 3, false, {}, "28", "cell 70 28"},
  };
  for (const auto& c : cases) {
    d.rec.events.clear();
    grid->setCurrentCell(c.row, c.col);
    grid->edit(grid->model()->index(c.row, c.col));
    QWidget* editor = grid->viewport()->focusWidget();
    if (!editor) editor = QApplication::focusWidget();
    ASSERT_NE(editor, nullptr) << c.row << "," << c.col;
    if (c.combo) {
      auto* box = qobject_cast<QComboBox*>(editor);
      ASSERT_NE(box, nullptr);
      QStringList items;
      for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
      EXPECT_EQ(items, c.options);
      if (c.options.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Escape);
        continue;
      }
      // The editor starts at the cell's text.
      EXPECT_EQ(box->currentText(), grid->item(c.row, c.col)->text());
      box->setCurrentIndex(box->findText(c.typed_or_chosen));
      QTest::keyClick(box, Qt::Key_Return);
    } else {
      auto* line = qobject_cast<QLineEdit*>(editor);
      ASSERT_NE(line, nullptr);
      line->selectAll();
      QTest::keyClicks(line, c.typed_or_chosen);
      QTest::keyClick(line, Qt::Key_Return);
    }
    // The model takes the edit once the editor has closed.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return d.dlg->GetCell(70, c.row, c.col) == c.typed_or_chosen.toStdString(); }, 2000))
        << d.dlg->GetCell(70, c.row, c.col);
    EXPECT_EQ(d.rec.events, std::vector<std::string>{c.event});
    EXPECT_EQ(grid->item(c.row, c.col)->text(), c.typed_or_chosen);
  }
  // Cells that cannot be edited open no editor.
  for (auto [row, col] : {std::pair{1, 1}, {1, 3}, {0, 2}}) {
    grid->edit(grid->model()->index(row, col));
    EXPECT_FALSE(qobject_cast<QLineEdit*>(QApplication::focusWidget())) << row << "," << col;
    EXPECT_FALSE(qobject_cast<QComboBox*>(QApplication::focusWidget())) << row << "," << col;
  }

  // A click selects in the model and reaches the controller.
  d.rec.events.clear();
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                    grid->visualItemRect(grid->item(2, 1)).center());
  EXPECT_TRUE(d.rec.Has("cellclick 70 2,1"));
  EXPECT_EQ(d.dlg->GridOf(70)->selection.row0, 2);
  EXPECT_TRUE(grid->item(2, 1)->isSelected());
}

}  // namespace
