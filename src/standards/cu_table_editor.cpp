#include "standards/cu_table_editor.h"

#include <fmt/printf.h>

#include <cstdlib>
#include <vector>

#include "base/module_state.h"
#include "host/host.h"
#include "refdata/reference_db.h"
#include "refdata/statements.h"
#include "resources/templates.h"
#include "support/ny_access.h"
#include "support/ny_str.h"

namespace {

void Box(const std::string& text, nyhost::MbIcon icon = nyhost::MbIcon::kWarning) {
  nyhost::Host::Get().windows().MessageBox(kMessageCaption, text, icon, nyhost::MbButtons::kOk);
}

std::size_t Utf8Chars(const std::string& s) {
  std::size_t n = 0;
  for (unsigned char c : s) n += (c & 0xC0) != 0x80;
  return n;
}

struct Row {
  int ceiling, wall, rcr;
  double cu;
};

}  // namespace

const std::array<int, 10>& CuCeilingColumns(bool eighty_series) {
  static const std::array<int, 10> k70{70, 70, 70, 50, 50, 50, 30, 30, 30, 0};
  static const std::array<int, 10> k80{80, 80, 80, 70, 70, 70, 50, 50, 50, 0};
  return eighty_series ? k80 : k70;
}

const std::array<int, 10>& CuWallColumns() {
  static const std::array<int, 10> k{50, 30, 10, 50, 30, 10, 50, 30, 10, 0};
  return k;
}

std::optional<CuMatrix> ReadCuMatrix(NyAccess* db, const std::string& name) {
  if (!db) return std::nullopt;
  std::vector<std::string> v;
  db->GetSelData(v, FormatSql(kSelectCuTableOrdered, name));
  if (v.size() != 100) {
    Box(v.size() > 100 ? "数据库存在多余数据,请检查数据库是否只有100行数据!"
                       : "数据库缺少数据,请检查数据库是否只有100行数据!",
        nyhost::MbIcon::kError);
    return std::nullopt;
  }
  CuMatrix m{};
  for (std::size_t i = 0; i < 100; ++i) m[9 - i / 10][i % 10] = std::atof(v[i].c_str());
  return m;
}

int CCuTableEditorDlg::DoModal() {
  return nyhost::Host::Get().windows().RunModal(nyres::DialogTemplateOf(kTemplateId), *this);
}

void CCuTableEditorDlg::OnInitDialog(nyhost::Dialog& dlg) {
  nyhost::GridState& g = dlg.Grid(kGrid);
  g.fixed_rows = 2;
  g.fixed_cols = 1;
  g.cells.assign(12, std::vector<nyhost::GridCell>(11));
  for (int r = 0; r < 12; ++r)
    for (int c = 0; c < 11; ++c)
      if (r < 2 || c == 0) g.cells[r][c].kind = nyhost::CellKind::kReadOnly;
  g.cells[0][0].text = "ρcc";
  g.cells[1][0].text = "ρw  RCR";
  for (int r = 0; r < 10; ++r) g.cells[r + 2][0].text = fmt::sprintf("%d", r + 1);
  for (int c = 0; c < 10; ++c) g.cells[1][c + 1].text = fmt::sprintf("%d", CuWallColumns()[c]);
  NyAccess* db = NyDataDb();
  if (db && db->IsTableInDatabase(table_, "TABLE")) {
    std::vector<std::string> ceilings;
    db->GetSelData(ceilings, FormatSql(kSelectCuCeilingValues, table_));
    if (ceilings.empty()) {
      Box("数据库有误!请检查" + table_ + "表的[有效顶棚反射比]");
    } else {
      int top = 0;
      for (const auto& c : ceilings) top = std::max(top, std::atoi(c.c_str()));
      eighty_ = top > 75;
      if (auto m = ReadCuMatrix(db, table_))
        for (int p = 0; p < 10; ++p)
          for (int r = 0; r < 10; ++r) g.cells[r + 2][p + 1].text = fmt::sprintf("%g", (*m)[p][r]);
    }
  }
  dlg.GridChanged(kGrid);
  ShowHeadings(dlg);
}

void CCuTableEditorDlg::ShowHeadings(nyhost::Dialog& dlg) {
  for (int c = 0; c < 10; ++c)
    dlg.SetCell(kGrid, 0, c + 1, fmt::sprintf("%d", CuCeilingColumns(eighty_)[c]));
  dlg.SetText(kSeries, eighty_ ? ">>" : "<<");
}

void CCuTableEditorDlg::OnClick(nyhost::Dialog& dlg, int id) {
  if (id == kSeries) {
    eighty_ = !eighty_;
    ShowHeadings(dlg);
  } else if (id == nyhost::kIdOk) {
    if (Save(dlg)) dlg.EndDialog(nyhost::kIdOk);
  } else if (id == nyhost::kIdCancel) {
    dlg.EndDialog(nyhost::kIdCancel);
  }
}

bool CCuTableEditorDlg::Save(nyhost::Dialog& dlg) {
  std::vector<Row> rows;
  for (int p = 0; p < 10; ++p)
    for (int r = 0; r < 10; ++r) {
      const std::string text = dlg.GetCell(kGrid, r + 2, p + 1);
      double v = 0;
      if (!text.empty() && !NyStr::IsDigit(v, text)) {
        Box(fmt::sprintf("第%d行第%d列单元格中的值不是数字!", r + 2, p + 1));
        return false;
      }
      if (v > 1) {
        Box(fmt::sprintf("第%d行第%d列单元格中的值 > 1!", r + 2, p + 1));
        return false;
      }
      const int i = 10 * p + r;
      rows.push_back({CuCeilingColumns(eighty_)[static_cast<std::size_t>(i / 30 * 3)],
                      CuWallColumns()[static_cast<std::size_t>(i / 10)], r + 1, v});
    }
  NyAccess* db = NyDataDb();
  if (!db) return false;
  const bool exists = db->IsTableInDatabase(table_, "TABLE");
  if (!exists && Utf8Chars(table_) > kMaxNewName) {
    Box("表名太长!");
    return false;
  }
  // All or nothing: a failed row leaves the table as it was.
  const bool own = !db->in_transaction() && db->BeginTrans();
  bool ok = true;
  if (exists) {
    ok = db->ExecuteSQL(FormatSql(kDeleteAllRows, table_)) != 0;
  } else if (!db->CreateTable(table_, {{"有效顶棚反射比", "int"},
                                       {"墙反射比", "int"},
                                       {"室空间比", "int"},
                                       {"利用系数", "float"}})) {
    if (own) db->RollbackTrans();
    Box("创建表" + table_ + "不成功!检查表是否存在!", nyhost::MbIcon::kError);
    return false;
  }
  for (const Row& row : rows) {
    if (db->ExecuteSQL(FormatSql(kInsertCuValue, table_, row.cu, row.ceiling, row.wall, row.rcr)))
      continue;
    ok = false;
    Box(fmt::sprintf(exists ? "更新:利用系数 = %d ;墙反射比 = %d ;室空间比 = %d 时出错!"
                            : "填入数据:利用系数 = %d ;墙反射比 =%d ;室空间比 = %d 时出错!",
                     row.ceiling, row.wall, row.rcr));
  }
  if (own) {
    if (ok) ok = db->CommitTrans() != 0;
    if (!ok) db->RollbackTrans();
  }
  return ok;
}

void EditCuTable(const std::string& table) {
  CCuTableEditorDlg editor(table);
  editor.DoModal();
}
