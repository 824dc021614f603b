#include "cli/session.h"

#include <cstdlib>
#include <fstream>
#include <ostream>
#include <sstream>

#include "host/dxf_io.h"
#include "host/entity_geometry.h"
#include "host/text_util.h"

namespace nycli {

using nyhost::kRtCan;
using nyhost::kRtNone;
using nyhost::kRtNorm;

Session::Session(nyhost::Host& host, std::ostream& out, std::ostream& err)
    : host_(host), out_(out), err_(err), loader_(host) {
  host_.SetInput(this);
  host_.SetOutput(this);
  host_.SetWindows(&windows_);
  windows_.message_echo = [this](const std::string& line) { out_ << "\n" << line << std::flush; };
  windows_.modal_driver = [this](nyhost::Dialog& dlg) { DriveModal(dlg); };
}

Session::~Session() {
  UnloadModule();
  host_.SetInput(nullptr);
  host_.SetOutput(nullptr);
  host_.SetWindows(nullptr);
}

bool Session::LoadModule(const std::string& path) {
  if (!loader_.Load(path)) {
    err_ << "nyluxora: cannot load module: " << loader_.error() << "\n";
    return false;
  }
  return true;
}

void Session::UnloadModule() { loader_.Unload(); }

bool Session::OpenPlan(const std::string& path) {
  nyhost::DxfResult r;
  auto drawing = nyhost::ReadDxf(path, r);
  if (!drawing) {
    err_ << "nyluxora: " << r.error << "\n";
    return false;
  }
  host_.SetDrawing(std::move(drawing));
  return true;
}

bool Session::SavePlan(const std::string& path) {
  if (!host_.drawing()) {
    err_ << "nyluxora: no drawing to save\n";
    return false;
  }
  nyhost::DxfResult r = nyhost::WriteDxf(*host_.drawing(), path);
  if (!r.ok) {
    err_ << "nyluxora: " << r.error << "\n";
    return false;
  }
  host_.drawing()->set_path(path);
  return true;
}

bool Session::RunFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    err_ << "nyluxora: cannot read session script " << path << "\n";
    return false;
  }
  std::stringstream ss;
  ss << in.rdbuf();
  return RunScript(ss.str(), path);
}

bool Session::RunScript(const std::string& text, const std::string& name) {
  script_name_ = name;
  lines_.clear();
  failed_ = false;
  int number = 0;
  for (const auto& raw : nyhost::SplitString(text, '\n')) {
    ++number;
    std::string line = nyhost::Trim(raw);
    if (line.empty() || line[0] == '#') continue;
    std::size_t sp = line.find_first_of(" \t");
    Line l;
    l.verb = nyhost::ToLowerAscii(line.substr(0, sp));
    l.rest = sp == std::string::npos ? "" : nyhost::Trim(line.substr(sp));
    l.number = number;
    lines_.push_back(std::move(l));
  }
  while (!lines_.empty()) {
    if (!Step()) break;
  }
  out_ << std::flush;
  return !failed_;
}

bool Session::RunLine(const std::string& line) { return RunScript(line, "<line>"); }

Session::Line Session::TakeLine() {
  Line l = lines_.front();
  lines_.pop_front();
  return l;
}

bool Session::Step() {
  if (lines_.empty() || failed_) return false;
  Line l = TakeLine();
  bool ok = Execute(l);
  if (!ok) {
    failed_ = true;
    return false;
  }
  host_.RunPendingCommands();
  host_.windows().Collect();
  return !failed_;
}

bool Session::Fail(const Line& line, const std::string& message) {
  err_ << script_name_ << ":" << line.number << ": " << message << "\n";
  failed_ = true;
  return false;
}

nyhost::Dialog* Session::DialogOf(const Line& line, const std::string& token) {
  int id = std::atoi(token.c_str());
  nyhost::Dialog* dlg = host_.windows().FindDialog(id);
  if (!dlg) Fail(line, "dialog " + token + " is not open");
  return dlg;
}

namespace {

// Splits "a b rest of text" into n leading words and the remaining text.
std::vector<std::string> Words(const std::string& text, std::size_t n, std::string& rest) {
  std::vector<std::string> words;
  std::size_t pos = 0;
  while (words.size() < n) {
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    if (pos >= text.size()) break;
    std::size_t end = text.find_first_of(" \t", pos);
    words.push_back(text.substr(pos, end == std::string::npos ? std::string::npos : end - pos));
    pos = end == std::string::npos ? text.size() : end;
  }
  while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
  rest = text.substr(std::min(pos, text.size()));
  return words;
}

// The label standing left of a control on its line, as a person reads the dialog; its current
// text, empty when there is none.
std::string LabelOf(const nyhost::Dialog& dlg, const nyhost::ControlTemplate& c) {
  const nyhost::DialogTemplate& tpl = dlg.tpl();
  const nyhost::ControlTemplate* best = nullptr;
  for (const auto& l : tpl.controls) {
    if (l.kind != nyhost::ControlKind::kStatic || l.id == c.id || l.caption.empty()) continue;
    int middle = l.y + l.h / 2;
    if (middle < c.y || middle > c.y + c.h || l.x + l.w > c.x + 2) continue;
    if (!best || l.x > best->x) best = &l;
  }
  return best ? dlg.GetText(best->id) : std::string();
}

int KeyOf(const std::string& name) {
  std::string k = nyhost::ToLowerAscii(name);
  if (k == "enter") return nyhost::kKeyEnter;
  if (k == "escape" || k == "esc") return nyhost::kKeyEscape;
  if (k == "f1") return nyhost::kKeyF1;
  return 0;
}

}  // namespace

bool Session::Execute(const Line& l) {
  std::string rest;
  const std::string& v = l.verb;
  if (v == "open") {
    if (!OpenPlan(l.rest)) return Fail(l, "cannot open " + l.rest);
    return true;
  }
  if (v == "save") {
    if (!SavePlan(l.rest)) return Fail(l, "cannot save " + l.rest);
    return true;
  }
  if (v == "command") {
    if (l.rest.empty()) return Fail(l, "command needs a name");
    host_.SendCommand(l.rest + " ");
    return true;
  }
  if (v == "echo") {
    out_ << "\n" << l.rest;
    return true;
  }
  if (v == "answer") {
    std::string a = nyhost::ToLowerAscii(l.rest);
    int id = a == "yes" ? nyhost::kIdYes
             : a == "no" ? nyhost::kIdNo
             : a == "ok" ? nyhost::kIdOk
             : a == "cancel" ? nyhost::kIdCancel
                             : 0;
    if (!id) return Fail(l, "answer takes yes, no, ok or cancel");
    windows_.message_answers.push_back(id);
    return true;
  }
  if (v == "file") {
    windows_.file_answers.push_back(l.rest);
    return true;
  }
  if (v == "menu") {
    windows_.menu_answers.push_back(std::atoi(l.rest.c_str()));
    return true;
  }
  if (v == "color") {
    windows_.color_answers.push_back(std::atoi(l.rest.c_str()));
    return true;
  }
  if (v == "load") {
    if (!LoadModule(l.rest)) return Fail(l, "cannot load " + l.rest);
    return true;
  }
  if (v == "unload") {
    UnloadModule();
    return true;
  }
  if (v == "point" || v == "enter" || v == "escape" || v == "pick" || v == "select" ||
      v == "text") {
    return Fail(l, "'" + v + "' answers a prompt, but nothing is asking");
  }
  // Dialog verbs: VERB DIALOG CONTROL ...
  auto w = Words(l.rest, v == "cell" ? 4 : (v == "key" || v == "close") ? 1 : 2, rest);
  if (w.empty()) return Fail(l, "unknown verb '" + v + "'");
  nyhost::Dialog* dlg = nullptr;
  bool dialog_verb = v == "click" || v == "set" || v == "choose" || v == "cell" || v == "show" ||
                     v == "key" || v == "close" || v == "check" || v == "spin" ||
                     v == "rclick" || v == "cellclick";
  if (!dialog_verb) return Fail(l, "unknown verb '" + v + "'");
  dlg = DialogOf(l, w[0]);
  if (!dlg) return false;
  if (v == "key") {
    int key = KeyOf(rest.empty() && w.size() > 1 ? w[1] : rest);
    if (!key) return Fail(l, "key takes enter, escape or f1");
    dlg->UserKey(key);
    return true;
  }
  if (v == "close") {
    dlg->UserClose();
    return true;
  }
  if (w.size() < 2) return Fail(l, v + " needs a dialog and a control");
  int control = std::atoi(w[1].c_str());
  if (!dlg->Has(control)) return Fail(l, "dialog " + w[0] + " has no control " + w[1]);
  bool ok = true;
  if (v == "click") {
    ok = dlg->UserClick(control);
  } else if (v == "set") {
    ok = dlg->UserType(control, rest);
  } else if (v == "choose") {
    ok = dlg->UserChoose(control, rest);
  } else if (v == "check") {
    ok = dlg->UserCheck(control, std::atoi(rest.c_str()));
  } else if (v == "spin") {
    ok = dlg->UserSpin(control, std::atoi(rest.c_str()) >= 0 ? 1 : -1);
  } else if (v == "rclick") {
    ok = dlg->UserTreeRightClick(control, rest);
  } else if (v == "cell" || v == "cellclick") {
    if (w.size() < 4 && v == "cell") return Fail(l, "cell needs DIALOG CONTROL ROW COL TEXT");
    int row = std::atoi(w[2].c_str()), col = std::atoi(w.size() > 3 ? w[3].c_str() : "0");
    ok = v == "cell" ? dlg->UserCellEdit(control, row, col, rest)
                     : dlg->UserCellClick(control, row, col);
  } else if (v == "show") {
    const nyhost::ControlState* c = dlg->Control(control);
    std::string label = LabelOf(*dlg, c->tpl);
    out_ << "\n[" << w[0] << ":" << w[1] << (label.empty() ? "" : " " + label) << "] ";
    if (c->tpl.kind == nyhost::ControlKind::kGrid) {
      for (const auto& row : c->grid.cells) {
        out_ << "\n ";
        for (const auto& cell : row) out_ << " | " << cell.text;
      }
    } else if (c->tpl.kind == nyhost::ControlKind::kTree) {
      out_ << dlg->GetItemTextOf(control, dlg->GetSelectedItem(control));
    } else {
      out_ << c->text;
    }
    if (!c->tooltip.empty()) out_ << "  {" << c->tooltip << "}";
    out_ << std::flush;
    return true;
  }
  if (!ok) return Fail(l, v + " on control " + w[1] + " of dialog " + w[0] + " was refused");
  return true;
}

void Session::DriveModal(nyhost::Dialog& dlg) {
  while (!dlg.result() && !dlg.destroyed() && !lines_.empty() && !failed_) {
    if (!Step()) break;
  }
}

bool Session::NextIsAnswer(std::initializer_list<const char*> verbs) {
  if (lines_.empty() || failed_) return false;
  for (const char* v : verbs)
    if (lines_.front().verb == v) return true;
  return false;
}

int Session::GetPoint(const nyhost::Point3*, nyhost::Point3& out) {
  if (NextIsAnswer({"escape"})) {
    TakeLine();
    return kRtCan;
  }
  if (NextIsAnswer({"enter"})) {
    TakeLine();
    return kRtNone;
  }
  if (!NextIsAnswer({"point"})) return kRtCan;
  Line l = TakeLine();
  if (!nyhost::ParseCoordinates(l.rest, out.x, out.y, out.z)) {
    Fail(l, "point takes X,Y or X,Y,Z");
    return kRtCan;
  }
  out_ << l.rest;
  return kRtNorm;
}

int Session::GetCorner(const nyhost::Point3&, nyhost::Point3& out) { return GetPoint(nullptr, out); }

int Session::JigPoint(const std::vector<nyhost::Point3>&, nyhost::Point3& out) {
  return GetPoint(nullptr, out);
}

int Session::EntSel(nyhost::EntityId& id, nyhost::Point3& pick) {
  if (NextIsAnswer({"escape"})) {
    TakeLine();
    return kRtCan;
  }
  if (!NextIsAnswer({"pick"})) return kRtCan;
  Line l = TakeLine();
  nyhost::Drawing* d = host_.drawing();
  double x, y, z;
  if (nyhost::ParseCoordinates(l.rest, x, y, z)) {
    // The nearest live entity whose extents contain the point, the topmost (latest) first.
    pick = {x, y, z};
    for (auto it = d->entities().rbegin(); it != d->entities().rend(); ++it) {
      if (it->erased) continue;
      nyhost::Extents e = nyhost::EntityExtents(*d, *it);
      double tol = 1e-6 * std::max(1.0, std::fabs(x) + std::fabs(y));
      if (!e.Empty() && x >= e.min.x - tol && x <= e.max.x + tol && y >= e.min.y - tol &&
          y <= e.max.y + tol) {
        id = it->id;
        return kRtNorm;
      }
    }
    out_ << "\n未选中对象。";
    return kRtCan;
  }
  id = std::strtoull(l.rest.c_str(), nullptr, 16);
  const nyhost::Entity* e = d ? d->FindLive(id) : nullptr;
  if (!e) {
    Fail(l, "no entity with handle " + l.rest);
    return kRtCan;
  }
  pick = nyhost::EntityExtents(*d, *e).min;
  return kRtNorm;
}

int Session::SelectObjects(const nyhost::EntityFilter& filter, std::vector<nyhost::EntityId>& ids) {
  if (NextIsAnswer({"escape"})) {
    TakeLine();
    return kRtCan;
  }
  if (NextIsAnswer({"enter"})) {
    TakeLine();
    return kRtNone;
  }
  if (!NextIsAnswer({"select"})) return kRtCan;
  Line l = TakeLine();
  nyhost::Drawing* d = host_.drawing();
  std::string rest;
  for (const auto& h : Words(l.rest, 1000, rest)) {
    nyhost::EntityId id = std::strtoull(h.c_str(), nullptr, 16);
    const nyhost::Entity* e = d ? d->FindLive(id) : nullptr;
    if (!e) {
      Fail(l, "no entity with handle " + h);
      return kRtCan;
    }
    if (!filter || filter(*e)) ids.push_back(id);
  }
  return ids.empty() ? kRtNone : kRtNorm;
}

int Session::GetString(bool, std::string& out) {
  if (NextIsAnswer({"escape"})) {
    TakeLine();
    return kRtCan;
  }
  if (NextIsAnswer({"enter"})) {
    TakeLine();
    out.clear();
    return kRtNorm;
  }
  if (!NextIsAnswer({"text"})) return kRtCan;
  out = TakeLine().rest;
  return kRtNorm;
}

void Session::Print(std::string_view text) { out_ << text; }

}  // namespace nycli
