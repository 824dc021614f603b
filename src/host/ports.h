// What the host asks of a front-end: answers to input requests and a place for output. The
// desktop answers from the mouse and keyboard, the command line from a session script, tests from
// a queue.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/entity.h"

namespace nyhost {

// Result codes of input requests, as CAD hosts report them.
constexpr int kRtNorm = 5100;    // answered
constexpr int kRtNone = 5000;    // Enter with no input (ends a jig)
constexpr int kRtError = -5001;  // no drawing or no front-end
constexpr int kRtCan = -5002;    // Escape or cancelled

using EntityFilter = std::function<bool(const Entity&)>;

class InputPort {
 public:
  virtual ~InputPort() = default;
  // `base` (may be null) draws a rubber line from it while picking.
  virtual int GetPoint(const Point3* base, Point3& out) = 0;
  // Second corner of a rectangle given by its first corner (rubber-band rectangle).
  virtual int GetCorner(const Point3& first, Point3& out) = 0;
  virtual int EntSel(EntityId& id, Point3& pick) = 0;
  // Selection set; `filter` (may be empty) keeps only matching entities.
  virtual int SelectObjects(const EntityFilter& filter, std::vector<EntityId>& ids) = 0;
  // One corner of a polygon; `so_far` lets the front-end drag the rubber band and the closing
  // edge. kRtNone (Enter) ends the polygon, kRtCan (Escape) cancels it.
  virtual int JigPoint(const std::vector<Point3>& so_far, Point3& out) = 0;
  virtual int GetString(bool allow_spaces, std::string& out) = 0;
};

struct TempVector {
  Point3 from, to;
  int color = 3;
  bool highlight = false;
};

class OutputPort {
 public:
  virtual ~OutputPort() = default;
  virtual void Print(std::string_view text) = 0;
  virtual void ProgressStart() {}
  virtual void ProgressPercent(int /*percent*/) {}
  virtual void ProgressStop() {}
  // The drawing or the temporary vectors changed and the view should repaint; regen = whole.
  virtual void Refresh(bool /*regen*/) {}
  virtual void ZoomWindow(Point3 /*a*/, Point3 /*b*/) {}
  virtual void SetBusy(bool /*busy*/) {}
};

// A spreadsheet workbook opened for filling the cells of its first worksheet, as an office
// program's automation reaches it: cells by A1 address, the displayed text read back, saved in
// place. Everything not written (styles, formulas, widths) stays as the file had it.
class Workbook {
 public:
  virtual ~Workbook() = default;
  // The cell's text as stored (a string, or a number as written); empty for a missing cell.
  virtual std::string CellText(const std::string& address) const = 0;
  virtual bool SetText(const std::string& address, const std::string& text) = 0;
  virtual bool SetNumber(const std::string& address, double value) = 0;
  // Hides whole rows (1-based, inclusive), e.g. the template rows left without data.
  virtual void HideRows(int first, int last) = 0;
  // Hides columns (1-based, inclusive) that the sheet sizes one by one.
  virtual void HideColumns(int first, int last) = 0;
  // Writes atomically over the opened file; formulas are recalculated when it is next opened.
  virtual bool Save(std::string& error) = 0;
};

// Office documents. Null from OpenWorkbook (with the reason) when the file is no workbook.
class OfficePort {
 public:
  virtual ~OfficePort() = default;
  virtual std::unique_ptr<Workbook> OpenWorkbook(const std::string& path, std::string& error) = 0;
  // A word-processor document of one paragraph per entry (an empty entry is an empty paragraph),
  // all in the font and size given, written atomically; false with the reason otherwise.
  virtual bool WriteDocument(const std::string& path, const std::vector<std::string>& paragraphs,
                             const std::string& font, double size_pt, std::string& error) = 0;
};

}  // namespace nyhost
