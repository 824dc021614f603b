#include "support/ny_excel.h"

#include "host/host.h"

std::string NyExcel::ColumnName(int col) {
  if (col < 1) return {};
  if (col <= 26) return std::string(1, static_cast<char>('A' + col - 1));
  const int rest = col % 26;
  return std::string(1, static_cast<char>('A' + (col - 1) / 26 - 1)) +
         static_cast<char>(rest == 0 ? 'Z' : 'A' + rest - 1);
}

bool NyExcel::Open(const std::string& path) {
  error_.clear();
  book_ = nyhost::Host::Get().office().OpenWorkbook(path, error_);
  return book_ != nullptr;
}

std::string NyExcel::GetText(int row, int col) const {
  return book_ ? book_->CellText(CellName(row, col)) : std::string();
}

bool NyExcel::SetText(int row, int col, const std::string& text) {
  return book_ && book_->SetText(CellName(row, col), text);
}

bool NyExcel::SetInt(int row, int col, long value) {
  return book_ && book_->SetNumber(CellName(row, col), static_cast<double>(value));
}

bool NyExcel::SetDouble(int row, int col, double value) {
  return book_ && book_->SetNumber(CellName(row, col), value);
}

void NyExcel::HideRows(int first, int last) {
  if (book_ && first <= last) book_->HideRows(first, last);
}

void NyExcel::HideColumns(int first, int last) {
  if (book_ && first <= last) book_->HideColumns(first, last);
}

bool NyExcel::Save() {
  if (!book_) return false;
  return book_->Save(error_);
}
