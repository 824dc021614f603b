// Reports laid out as PDF: A4 portrait, 10 mm margins, a CJK font embedded; tables break across
// pages with their header repeated; plan figures drawn by the drawing renderer at their scale.
#pragma once

#include "host/report_document.h"

namespace nyrender {

class PdfReportWriter : public nyhost::ReportPort {
 public:
  bool WritePdf(const nyhost::ReportDocument& doc, const nyhost::Drawing* drawing,
                const std::string& path, std::string& error) override;
};

// The smallest N of the series 1, 1.5, 2, 2.5, 3, 4, 5, 6, 8 x 10^k that is not below `n`.
double RoundScaleUp(double n);

}  // namespace nyrender
