#include "cli/session.h"

#include <cstdio>
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

int SessionWindows::MessageBox(const std::string& caption, const std::string& text,
                               nyhost::MbIcon icon, nyhost::MbButtons buttons) {
  if (icon == nyhost::MbIcon::kWarning || icon == nyhost::MbIcon::kError) ++alarms;
  return WindowSystem::MessageBox(caption, text, icon, buttons);
}

bool Session::LoadModule(const std::string& path, bool quiet) {
  quiet_ = quiet;
  bool loaded = loader_.Load(path);
  quiet_ = false;
  if (!loaded) {
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
  // Every line is checked before the first one runs.
  std::string_view body = text;
  if (body.substr(0, 3) == "\xEF\xBB\xBF") body.remove_prefix(3);
  int number = 0;
  for (const auto& raw : nyhost::SplitString(body, '\n')) {
    Line l;
    l.number = ++number;
    std::string error;
    if (!ParseScriptLine(raw, l, error)) {
      Fail(l, error);
      lines_.clear();
      return false;
    }
    if (!l.verb.empty()) lines_.push_back(std::move(l));
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
  // A script the program wrote itself (a batch command's) has no lines the user could look up.
  if (script_name_.empty())
    err_ << "nyluxora: " << message << "\n";
  else
    err_ << script_name_ << ":" << line.number << ": " << message << "\n";
  failed_ = true;
  return false;
}

nyhost::Dialog* Session::DialogOf(const Line& line) {
  nyhost::Dialog* dlg = host_.windows().FindDialog(line.numbers[0]);
  if (!dlg) Fail(line, "dialog " + line.words[0] + " is not open");
  return dlg;
}

namespace {

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
  const std::string& v = l.verb;
  if (v == "open") {
    if (!OpenPlan(l.rest)) return Fail(l, "cannot open " + l.rest);
  } else if (v == "save") {
    if (!SavePlan(l.rest)) return Fail(l, "cannot save " + l.rest);
  } else if (v == "command") {
    for (const auto& name : nyhost::SplitString(l.rest, ' '))
      if (!name.empty() && !host_.KnowsCommand(name))
        return Fail(l, "unknown command '" + name + "'");
    host_.SendCommand(l.rest + " ");
  } else if (v == "echo") {
    out_ << "\n" << l.rest;
  } else if (v == "answer") {
    std::string a = nyhost::ToLowerAscii(l.words[0]);
    windows_.message_answers.push_back(a == "yes"  ? nyhost::kIdYes
                                       : a == "no" ? nyhost::kIdNo
                                       : a == "ok" ? nyhost::kIdOk
                                                   : nyhost::kIdCancel);
  } else if (v == "file") {
    windows_.file_answers.push_back(l.rest);
  } else if (v == "menu") {
    windows_.menu_answers.push_back(l.numbers[0]);
  } else if (v == "color") {
    windows_.color_answers.push_back(l.numbers[0]);
  } else if (v == "load") {
    if (!LoadModule(l.rest)) return Fail(l, "cannot load " + l.rest);
  } else if (v == "unload") {
    UnloadModule();
  } else if (IsAnswerVerb(v)) {
    return Fail(l, "'" + v + "' answers a prompt, but nothing is asking");
  } else {
    return ExecuteDialogVerb(l);
  }
  return true;
}

// VERB DIALOG [CONTROL ...]: the words are checked already, the dialog and control are not.
bool Session::ExecuteDialogVerb(const Line& l) {
  const std::string& v = l.verb;
  nyhost::Dialog* dlg = DialogOf(l);
  if (!dlg) return false;
  if (v == "key") {
    dlg->UserKey(KeyOf(l.words[1]));
    return true;
  }
  if (v == "close") {
    dlg->UserClose();
    return true;
  }
  int control = l.numbers[1];
  if (!dlg->Has(control)) return Fail(l, "dialog " + l.words[0] + " has no control " + l.words[1]);
  bool ok = true;
  if (v == "click") {
    ok = dlg->UserClick(control);
  } else if (v == "set") {
    ok = dlg->UserType(control, l.rest);
  } else if (v == "choose") {
    ok = dlg->UserChoose(control, l.rest);
  } else if (v == "check") {
    ok = dlg->UserCheck(control, l.numbers[2]);
  } else if (v == "spin") {
    ok = dlg->UserSpin(control, l.numbers[2]);
  } else if (v == "rclick") {
    ok = dlg->UserTreeRightClick(control, l.rest);
  } else if (v == "cell") {
    ok = dlg->UserCellEdit(control, l.numbers[2], l.numbers[3], l.rest);
  } else if (v == "cellclick") {
    ok = dlg->UserCellClick(control, l.numbers[2], l.numbers[3]);
  } else if (v == "show") {
    Show(*dlg, l);
  }
  if (!ok)
    return Fail(l, v + " on control " + l.words[1] + " of dialog " + l.words[0] + " was refused");
  return true;
}

void Session::Show(const nyhost::Dialog& dlg, const Line& l) {
  const nyhost::ControlState* c = dlg.Control(l.numbers[1]);
  std::string label = LabelOf(dlg, c->tpl);
  out_ << "\n[" << l.words[0] << ":" << l.words[1] << (label.empty() ? "" : " " + label) << "] ";
  switch (c->tpl.kind) {
    case nyhost::ControlKind::kGrid:
      for (const auto& row : c->grid.cells) {
        out_ << "\n ";
        for (const auto& cell : row) out_ << " | " << cell.text;
      }
      break;
    case nyhost::ControlKind::kTree:
      out_ << dlg.GetItemTextOf(c->tpl.id, dlg.GetSelectedItem(c->tpl.id));
      break;
    case nyhost::ControlKind::kList: {
      // Every item, the selected one marked, so that a script can check the contents.
      int selected = dlg.GetCurSel(c->tpl.id);
      for (int i = 0; i < dlg.GetCount(c->tpl.id); ++i) {
        out_ << "\n  " << (i == selected ? ">" : " ");
        for (const auto& column : nyhost::SplitString(dlg.GetItemText(c->tpl.id, i), '\t'))
          out_ << " | " << column;
      }
      break;
    }
    default:
      out_ << c->text;
  }
  if (!c->tooltip.empty()) out_ << "  {" << c->tooltip << "}";
  out_ << std::flush;
}

void Session::DriveModal(nyhost::Dialog& dlg) {
  if (modal_hook && modal_hook(dlg)) return;
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
  out = l.point;
  out_ << l.rest;
  return kRtNorm;
}

int Session::GetCorner(const nyhost::Point3&, nyhost::Point3& out) {
  return GetPoint(nullptr, out);
}

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
  if (!d) {
    Fail(l, "no drawing is open");
    return kRtCan;
  }
  if (l.has_point) {
    // The nearest live entity whose extents contain the point, the topmost (latest) first.
    const double x = l.point.x, y = l.point.y;
    pick = l.point;
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
  id = std::strtoull(l.words[0].c_str(), nullptr, 16);
  const nyhost::Entity* e = d->FindLive(id);
  if (!e) {
    Fail(l, "no entity with handle " + l.words[0]);
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
  for (const auto& h : l.words) {
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

void Session::Print(std::string_view text) {
  if (!quiet_) out_ << text;
}

void Session::ProgressStart() { progress_shown_ = -1; }

void Session::ProgressPercent(int percent) {
  if (!show_progress_ || percent == progress_shown_) return;
  progress_shown_ = percent;
  std::fprintf(stderr, "\rnyluxora: %3d%%", percent);
  std::fflush(stderr);
}

void Session::ProgressStop() {
  if (show_progress_ && progress_shown_ >= 0) std::fputs("\r              \r", stderr);
  progress_shown_ = -1;
}

}  // namespace nycli
