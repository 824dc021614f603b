#include "office/xlsx_workbook.h"

#include <fcntl.h>
#include <unistd.h>
#include <zip.h>

#include <cctype>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <pugixml.hpp>
#include <sstream>
#include <vector>

#include "office/docx_document.h"

namespace nyoffice {
namespace {

constexpr unsigned kParse = pugi::parse_default | pugi::parse_declaration | pugi::parse_ws_pcdata;

bool ReadEntry(zip_t* za, const std::string& name, std::string& out) {
  zip_stat_t st;
  if (zip_stat(za, name.c_str(), 0, &st) != 0) return false;
  zip_file_t* f = zip_fopen(za, name.c_str(), 0);
  if (!f) return false;
  out.resize(st.size);
  const zip_int64_t n = zip_fread(f, out.data(), st.size);
  zip_fclose(f);
  return n == static_cast<zip_int64_t>(st.size);
}

std::string Serialise(const pugi::xml_document& doc) {
  std::ostringstream os;
  doc.save(os, "", pugi::format_raw | pugi::format_no_declaration);
  return os.str();
}

// Column number of a cell reference's letters; rows of a sheet are kept in this order.
int ColumnOf(const char* ref) {
  int row = 0, col = 0;
  return ParseCellAddress(ref, row, col) ? col : 0;
}

std::string Address(int row, int col) {
  std::string letters;
  for (int c = col; c > 0; c = (c - 1) / 26) letters.insert(letters.begin(), 'A' + (c - 1) % 26);
  return letters + std::to_string(row);
}

// The concatenated text runs of a string item (plain or rich text).
std::string RunsText(const pugi::xml_node& item) {
  std::string text;
  for (const auto& t : item.select_nodes(".//t")) text += t.node().child_value();
  return text;
}

bool SyncFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

class XlsxWorkbook : public nyhost::Workbook {
 public:
  bool Load(const std::string& path, std::string& error);

  std::string CellText(const std::string& address) const override;
  bool SetText(const std::string& address, const std::string& text) override;
  bool SetNumber(const std::string& address, double value) override;
  void HideRows(int first, int last) override;
  void HideColumns(int first, int last) override;
  bool Save(std::string& error) override;

 private:
  pugi::xml_node FindRow(int row, bool create);
  pugi::xml_node FindCell(const std::string& address, bool create);
  pugi::xml_node EmptyCell(const std::string& address);
  void MarkForRecalculation();

  std::string path_, sheet_name_;
  pugi::xml_document sheet_, workbook_;
  std::vector<std::string> shared_;
};

bool XlsxWorkbook::Load(const std::string& path, std::string& error) {
  path_ = path;
  int err = 0;
  zip_t* za = zip_open(path.c_str(), ZIP_RDONLY, &err);
  if (!za) {
    error = "cannot open " + path + " as a workbook";
    return false;
  }
  std::string wb, rels, sheet, strings;
  bool ok =
      ReadEntry(za, "xl/workbook.xml", wb) && ReadEntry(za, "xl/_rels/workbook.xml.rels", rels);
  pugi::xml_document rels_doc;
  if (ok) ok = workbook_.load_string(wb.c_str(), kParse) && rels_doc.load_string(rels.c_str());
  if (ok) {
    // The first worksheet is the first <sheet> of the workbook, found through its relationship.
    const pugi::xml_node first = workbook_.child("workbook").child("sheets").child("sheet");
    const std::string id = first.attribute("r:id").value();
    std::string target;
    for (const auto& r : rels_doc.child("Relationships").children("Relationship"))
      if (id == r.attribute("Id").value()) target = r.attribute("Target").value();
    sheet_name_ = target.empty() || target[0] != '/' ? "xl/" + target : target.substr(1);
    ok = !target.empty() && ReadEntry(za, sheet_name_, sheet) &&
         sheet_.load_string(sheet.c_str(), kParse) && sheet_.child("worksheet").child("sheetData");
  }
  pugi::xml_document strings_doc;
  if (ok && ReadEntry(za, "xl/sharedStrings.xml", strings) &&
      strings_doc.load_string(strings.c_str()))
    for (const auto& si : strings_doc.child("sst").children("si")) shared_.push_back(RunsText(si));
  zip_close(za);
  if (!ok) error = path + " holds no worksheet";
  return ok;
}

pugi::xml_node XlsxWorkbook::FindRow(int row, bool create) {
  pugi::xml_node data = sheet_.child("worksheet").child("sheetData");
  for (pugi::xml_node r : data.children("row")) {
    const int n = r.attribute("r").as_int();
    if (n == row) return r;
    if (n > row) {
      if (!create) return {};
      pugi::xml_node added = data.insert_child_before("row", r);
      added.append_attribute("r") = row;
      return added;
    }
  }
  if (!create) return {};
  pugi::xml_node added = data.append_child("row");
  added.append_attribute("r") = row;
  return added;
}

pugi::xml_node XlsxWorkbook::FindCell(const std::string& address, bool create) {
  int row = 0, col = 0;
  if (!ParseCellAddress(address, row, col)) return {};
  pugi::xml_node r = FindRow(row, create);
  if (!r) return {};
  const std::string ref = Address(row, col);
  for (pugi::xml_node c : r.children("c")) {
    const int n = ColumnOf(c.attribute("r").value());
    if (n == col) return c;
    if (n > col) {
      if (!create) return {};
      r.remove_attribute("spans");
      pugi::xml_node added = r.insert_child_before("c", c);
      added.append_attribute("r") = ref.c_str();
      return added;
    }
  }
  if (!create) return {};
  r.remove_attribute("spans");  // the cached column span of the row may no longer hold
  pugi::xml_node added = r.append_child("c");
  added.append_attribute("r") = ref.c_str();
  return added;
}

// The cell at `address` with its style kept and its type and content removed.
pugi::xml_node XlsxWorkbook::EmptyCell(const std::string& address) {
  pugi::xml_node c = FindCell(address, true);
  if (!c) return {};
  c.remove_attribute("t");
  while (c.first_child()) c.remove_child(c.first_child());
  return c;
}

std::string XlsxWorkbook::CellText(const std::string& address) const {
  pugi::xml_node c = const_cast<XlsxWorkbook*>(this)->FindCell(address, false);
  if (!c) return {};
  const std::string type = c.attribute("t").value();
  if (type == "inlineStr") return RunsText(c.child("is"));
  const std::string v = c.child_value("v");
  if (type == "s") {
    const std::size_t i = std::strtoul(v.c_str(), nullptr, 10);
    return i < shared_.size() ? shared_[i] : std::string();
  }
  return v;
}

bool XlsxWorkbook::SetText(const std::string& address, const std::string& text) {
  pugi::xml_node c = EmptyCell(address);
  if (!c) return false;
  c.append_attribute("t") = "inlineStr";
  pugi::xml_node t = c.append_child("is").append_child("t");
  t.append_attribute("xml:space") = "preserve";
  t.text().set(text.c_str());
  return true;
}

bool XlsxWorkbook::SetNumber(const std::string& address, double value) {
  pugi::xml_node c = EmptyCell(address);
  if (!c) return false;
  char buf[32];
  const auto end = std::to_chars(buf, buf + sizeof buf, value).ptr;  // shortest exact form
  c.append_child("v").text().set(std::string(buf, end).c_str());
  return true;
}

void XlsxWorkbook::HideRows(int first, int last) {
  for (int row = first; row <= last && row > 0; ++row) {
    pugi::xml_node r = FindRow(row, true);
    if (!r.attribute("hidden")) r.append_attribute("hidden");
    r.attribute("hidden") = "1";
  }
}

void XlsxWorkbook::HideColumns(int first, int last) {
  pugi::xml_node cols = sheet_.child("worksheet").child("cols");
  for (pugi::xml_node c : cols.children("col")) {
    const int min = c.attribute("min").as_int(), max = c.attribute("max").as_int();
    if (min != max || min < first || min > last) continue;
    if (!c.attribute("hidden")) c.append_attribute("hidden");
    c.attribute("hidden") = "1";
  }
}

// Formulas keep their cached results only until the file is opened: the cached values are
// dropped (some programs would show them instead of recalculating) and the workbook asks for a
// full recalculation on load.
void XlsxWorkbook::MarkForRecalculation() {
  for (const auto& f : sheet_.select_nodes("//c[f]")) f.node().remove_child("v");
  pugi::xml_node wb = workbook_.child("workbook");
  pugi::xml_node calc = wb.child("calcPr");
  if (!calc) {
    pugi::xml_node after = wb.child("definedNames");
    if (!after) after = wb.child("externalReferences");
    if (!after) after = wb.child("functionGroups");
    if (!after) after = wb.child("sheets");
    calc = wb.insert_child_after("calcPr", after);
  }
  if (!calc.attribute("fullCalcOnLoad")) calc.append_attribute("fullCalcOnLoad");
  calc.attribute("fullCalcOnLoad") = "1";
}

bool XlsxWorkbook::Save(std::string& error) {
  MarkForRecalculation();
  namespace fs = std::filesystem;
  const fs::path target(path_);
  const fs::path temp = target.parent_path() / (".~nyluxora-" + target.filename().string());
  std::error_code ec;
  fs::copy_file(target, temp, fs::copy_options::overwrite_existing, ec);
  if (ec) {
    error = "cannot write beside " + path_ + ": " + ec.message();
    return false;
  }
  const std::string sheet = Serialise(sheet_), workbook = Serialise(workbook_);
  int err = 0;
  zip_t* za = zip_open(temp.c_str(), 0, &err);
  auto replace = [za](const std::string& entry, const std::string& text) {
    zip_source_t* src = zip_source_buffer(za, text.data(), text.size(), 0);
    const zip_int64_t index = zip_name_locate(za, entry.c_str(), 0);
    if (src && index >= 0 && zip_file_replace(za, index, src, 0) == 0) return true;
    if (src) zip_source_free(src);
    return false;
  };
  bool ok = za && replace(sheet_name_, sheet) && replace("xl/workbook.xml", workbook);
  if (za) {
    if (ok) {
      ok = zip_close(za) == 0;  // the buffers above must live until here
    } else {
      zip_discard(za);
    }
  }
  if (ok) ok = SyncFile(temp.string());
  if (ok) fs::rename(temp, target, ec);
  if (!ok || ec) {
    fs::remove(temp, ec);
    error = "cannot save " + path_;
    return false;
  }
  return true;
}

class XlsxOffice : public nyhost::OfficePort {
 public:
  std::unique_ptr<nyhost::Workbook> OpenWorkbook(const std::string& path,
                                                 std::string& error) override {
    return OpenXlsx(path, error);
  }
  bool WriteDocument(const std::string& path, const std::vector<std::string>& paragraphs,
                     const std::string& font, double size_pt, std::string& error) override {
    return WriteDocx(path, paragraphs, font, size_pt, error);
  }
};

}  // namespace

bool ParseCellAddress(const std::string& address, int& row, int& col) {
  std::size_t i = 0;
  col = 0;
  while (i < address.size() && i < 3 && std::isalpha(static_cast<unsigned char>(address[i])))
    col = col * 26 + (std::toupper(static_cast<unsigned char>(address[i++])) - 'A' + 1);
  if (i == 0 || i == address.size() || col > 16384) return false;
  row = 0;
  for (; i < address.size(); ++i) {
    if (!std::isdigit(static_cast<unsigned char>(address[i])) || row > 104857) return false;
    row = row * 10 + (address[i] - '0');
  }
  return row >= 1 && row <= 1048576;
}

std::unique_ptr<nyhost::Workbook> OpenXlsx(const std::string& path, std::string& error) {
  auto book = std::make_unique<XlsxWorkbook>();
  if (!book->Load(path, error)) return nullptr;
  return book;
}

nyhost::OfficePort& DefaultOffice() {
  static XlsxOffice office;
  return office;
}

}  // namespace nyoffice
