// The lumen method's calculation report as text: template lines with "<%名称>" placeholders
// become the report's paragraphs, the power-density verdict included. No dialog and no file:
// whatever writes the document (a word processor, a PDF) takes the lines as they come.
#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "host/report_document.h"
#include "lumen/lumen_room.h"
#include "refdata/name_translations.h"

inline constexpr const char* kReportTemplate = "report.txt";
inline constexpr const char* kEnglishReportTemplate = "EngReport.txt";
// Markers of the verdict line, one per template language.
inline constexpr const char* kVerdictMarker = "计算功率密度小于标准功率密度";
inline constexpr const char* kEnglishVerdictMarker =
    "If the power density calculated out is smaller than the standard power density";

// Everything a report shows, as the dialog holds it; the report recalculates nothing.
struct LumenReportInput {
  LumenRoom room;
  std::string company;      // 公司名称 of setup.ini
  std::string designer;     // 用户名称 of setup.ini
  std::string lamp_model1;  // the lamp-model list's text, set 1
  std::string lamp_model2;  // set 2's, empty while its list is disabled ("无")
  bool english = false;
  StandardEdition edition = StandardEdition::k2004;  // the verdict's rule, named past 2004
  std::tm time{};          // the local time the report is made
  NameTranslations names;  // for the luminaire model of the English report
};

// The luminaire model in English: the pairs in order replace their Chinese text in the name,
// stopping once no Chinese is left.
std::string TranslateModel(const std::string& model, const NameTranslations& names);

// Two entries per template line: the line with every placeholder replaced (or, on the verdict
// line once an illuminance was calculated, the first verdict sentence), then the second verdict
// sentence, empty for every other line.
std::vector<std::string> LumenReportLines(const std::vector<std::string>& template_lines,
                                          const LumenReportInput& in);

// The same report for the PDF writer: the first line as its title, the others as paragraphs
// (the empty second entries left out) and, once a count was calculated, a sketch of the room with that many luminaires spread
// evenly in rows, drawn to scale with its length and width.
nyhost::ReportDocument LumenReportDocument(const std::vector<std::string>& lines,
                                           const LumenReportInput& in);
