// Writes the two point-report template workbooks (Chinese and English): headers in row 1, units
// in row 2, luminaire rows from row 3, point columns from M, and a totals row marked in column A
// whose formulas add up the point columns (the report writes its values as text, so the sums
// turn text into numbers). Usage: make_report_templates CHINESE.xlsx ENGLISH.xlsx
#include <xlsxwriter.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kFirstRow = 2;     // row 3, 0-based
constexpr int kRows = 100;       // luminaire rows
constexpr int kFirstPoint = 12;  // column M, 0-based
constexpr int kPoints = 40;      // M .. AZ

struct Language {
  std::vector<const char*> headers;  // A .. L
  const char* sheet;
  const char* total;
  const char* font;
};

const Language kChinese = {
    {"序号", "灯具名称", "安装高度", "光源1名称", "光源1型号", "光源1数量", "光源1功率",
     "光源2名称", "光源2型号", "光源2数量", "光源2功率", "总光通量"},
    "逐点法照度计算",
    "总计",
    "宋体"};
const Language kEnglish = {
    {"No.", "Luminaire", "Mounting height", "Lamp 1", "Lamp 1 type", "Lamp 1 count", "Lamp 1 power",
     "Lamp 2", "Lamp 2 type", "Lamp 2 count", "Lamp 2 power", "Luminous flux"},
    "Point illuminance",
    "Total",
    "Arial"};
const char* const kUnits[] = {"", "", "m", "", "", "", "W", "", "", "", "W", "lm"};
const double kWidths[] = {6, 22, 10, 14, 12, 8, 8, 14, 12, 8, 8, 11};

std::string ColumnLetters(int col0) {
  std::string s;
  for (int c = col0 + 1; c > 0; c = (c - 1) / 26) s.insert(s.begin(), 'A' + (c - 1) % 26);
  return s;
}

lxw_format* Format(lxw_workbook* wb, const Language& lang, bool bold, bool fill) {
  lxw_format* f = workbook_add_format(wb);
  format_set_font_name(f, lang.font);
  format_set_font_size(f, 10);
  format_set_border(f, LXW_BORDER_THIN);
  format_set_align(f, LXW_ALIGN_CENTER);
  format_set_align(f, LXW_ALIGN_VERTICAL_CENTER);
  format_set_text_wrap(f);
  if (bold) format_set_bold(f);
  if (fill) format_set_bg_color(f, 0xDDEBF7);
  return f;
}

bool Write(const char* path, const Language& lang) {
  lxw_workbook* wb = workbook_new(path);
  if (!wb) return false;
  lxw_worksheet* ws = workbook_add_worksheet(wb, lang.sheet);
  lxw_format* head = Format(wb, lang, true, true);
  lxw_format* cell = Format(wb, lang, false, false);
  lxw_format* total = Format(wb, lang, true, true);
  format_set_num_format(total, "0.0");

  for (int c = 0; c < kFirstPoint; ++c) {
    worksheet_set_column(ws, c, c, kWidths[c], nullptr);
    worksheet_write_string(ws, 0, c, lang.headers[c], head);
    worksheet_write_string(ws, 1, c, kUnits[c], head);
  }
  const int last_row = kFirstRow + kRows - 1;
  for (int p = 0; p < kPoints; ++p) {
    const int c = kFirstPoint + p;
    // One column entry each, so the report can hide the point columns it does not use.
    worksheet_set_column(ws, c, c, 12, nullptr);
    worksheet_write_blank(ws, 0, c, head);
    worksheet_write_string(ws, 1, c, "lx", head);
    const std::string range = ColumnLetters(c) + std::to_string(kFirstRow + 1) + ":" +
                              ColumnLetters(c) + std::to_string(last_row + 1);
    const std::string formula = "=IF(COUNTA(" + range + ")=0,\"\",SUMPRODUCT(--(0&" + range + ")))";
    worksheet_write_formula(ws, last_row + 1, c, formula.c_str(), total);
  }
  for (int r = kFirstRow; r <= last_row; ++r)
    for (int c = 0; c < kFirstPoint + kPoints; ++c) worksheet_write_blank(ws, r, c, cell);
  worksheet_write_string(ws, last_row + 1, 0, lang.total, total);
  for (int c = 1; c < kFirstPoint; ++c) worksheet_write_blank(ws, last_row + 1, c, total);
  worksheet_set_row(ws, 0, 30, nullptr);
  worksheet_freeze_panes(ws, 2, 0);
  worksheet_repeat_rows(ws, 0, 1);
  worksheet_set_paper(ws, 9);  // A4
  worksheet_set_landscape(ws);
  worksheet_fit_to_pages(ws, 1, 0);
  return workbook_close(wb) == LXW_NO_ERROR;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_report_templates CHINESE.xlsx ENGLISH.xlsx\n");
    return 2;
  }
  if (!Write(argv[1], kChinese) || !Write(argv[2], kEnglish)) {
    std::fprintf(stderr, "make_report_templates: cannot write the templates\n");
    return 1;
  }
  return 0;
}
