// The built-in office port: fills the first worksheet of an .xlsx file in place (libzip for the
// package, pugixml for the sheet). Only the cells written change; everything else of the file is
// copied as it was.
#pragma once

#include <memory>
#include <string>

#include "host/ports.h"

namespace nyoffice {

// 1-based row and column of an A1 address ("M1", "AA20"); false for anything else.
bool ParseCellAddress(const std::string& address, int& row, int& col);

// Opens `path` for filling; null with the reason in `error` when it is no readable workbook.
std::unique_ptr<nyhost::Workbook> OpenXlsx(const std::string& path, std::string& error);

// The port the host uses when the front-end brings none.
nyhost::OfficePort& DefaultOffice();

}  // namespace nyoffice
