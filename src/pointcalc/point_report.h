// The point report: what each luminaire of the last calculation contributes at points picked in
// the drawing, written into a copy of a template workbook or laid out as a PDF document.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/geometry.h"
#include "host/report_document.h"
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

// A lamp of a luminaire as the report shows it.
struct ReportLamp {
  std::string name, model;
  int count = 0, power = 0;  // power in W
};

// One luminaire's line of the report, as the workbook's columns A to L and the point columns.
struct PointReportRow {
  int number = 0;  // 1, 2, ... in luminaire order
  std::string name;
  double height_m = 0;
  ReportLamp lamps[2];
  int total_flux = 0;
  // "%.1f" lx at P1, P2, ...; a section point without one value per luminaire ends the list.
  std::vector<std::string> values;
};

// The report's whole content, computed once for either writer.
struct PointReportContent {
  bool english = false;
  bool has_data = false;               // false: the last calculation has nothing to report
  std::vector<nyhost::Point3> points;  // P1, P2, ...
  // One per luminaire of the calculation; empty where its curve could not be loaded.
  std::vector<std::optional<PointReportRow>> rows;
  std::string sentence;  // the closing sentence
};

// The contributions of each luminaire at `points`; a luminaire whose curve is missing is
// reported in a message box and left empty.
PointReportContent ComputePointReport(const PointDialogData& data,
                                      const std::vector<ReportPoint>& points, bool english,
                                      const NameTranslations& names);

// "P1点照度" or "Illumination at P1 point".
std::string PointHeader(int n, bool english);

// Fills the opened workbook: point headers, luminaire rows from row 3, the closing sentence
// after the totals row. Rows the luminaires leave empty before the totals row and point columns
// past the last point are hidden. False when the report has no data.
bool FillPointReport(NyExcel& book, const PointReportContent& report);

// The report as a document: title, the room's window of the plan with P1, P2, ... marked (at
// the drawing's scale, leaving out `hidden`, the marks drawn for the picks), the table with a
// totals row, and the closing sentence.
nyhost::ReportDocument PointReportDocument(const PointReportContent& report,
                                           const nyhost::Extents& window, double scale,
                                           const std::vector<nyhost::EntityId>& hidden);
