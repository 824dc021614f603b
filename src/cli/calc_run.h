// calc's room and horizontal calculation, shared with the subcommands that go on from its result.
#pragma once

#include <string>

#include "cli/subcommands.h"

namespace nycli {

// Adds calc's plan, room, density, standard and curve options. With `report` the outputs are
// --points and --out (the point report) and the run ends in RunReport.
SubcommandRun RoomCalculation(CLI::App& sub, bool report);

// After the horizontal calculation: draws a point at each of "X,Y;X,Y;...", has "生成计算书" pick
// them in order and write the workbook `out`. The exit status.
int RunReport(Session& session, const std::string& points, const std::string& out);

// lumen's run on a saved scheme (checked against `standard` in `edition` when given), writing
// its calculation report `report` (.docx or .pdf); the exit status.
int RunLumen(Session& session, const std::string& scheme, const std::string& report, bool english,
             const std::string& standard, const std::string& edition);

}  // namespace nycli
