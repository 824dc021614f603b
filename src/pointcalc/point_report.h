// The point report: what each luminaire of the last calculation contributes at points picked in
// the drawing, written into a copy of a template workbook.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "host/geometry.h"
#include "pointcalc/point_data.h"
#include "refdata/name_translations.h"
#include "support/ny_excel.h"

// The English text of a name: each pair in order replaces its Chinese part in the whole text;
// the first result without Chinese is taken, else the text stays as it was.
std::string TranslateName(const std::string& text, const NameTranslations& names);

// One picked point: its position and, for a section point, its keyed text of contributions.
struct ReportPoint {
  nyhost::Point3 position;
  std::string contributions;  // "计算值": values joined by "#" in luminaire order
};

// For a section result: per point, every luminaire's value there joined by "#" in luminaire
// order, as the drawn points keep it for the report. Empty for other results.
std::vector<std::string> SectionPointTexts(const PointDialogData& data);

// Fills the opened workbook: point headers, luminaire rows from row 3, the closing sentence
// after the totals row. Rows the luminaires leave empty before the totals row and point columns
// past the last point are hidden. False when the source of the data has nothing to report.
bool FillPointReport(NyExcel& book, const PointDialogData& data,
                     const std::vector<ReportPoint>& points, bool english,
                     const NameTranslations& names);
