#include "host/host.h"

#include <dlfcn.h>

#include <algorithm>

#include "host/text_util.h"
#include "office/xlsx_workbook.h"

namespace nyhost {

Host::Host() {
  sysvars_["PDMODE"] = 0;
  sysvars_["PDSIZE"] = 0.0;
  resolver_ = [](const std::string& name) -> CommandEntry {
    return reinterpret_cast<CommandEntry>(dlsym(RTLD_DEFAULT, name.c_str()));
  };
  AddBuiltin("REDRAW", [this] { Redraw(); });
  AddBuiltin("REGEN", [this] { Regen(); });
  auto undo = [this] {
    if (!Undo()) Print("\n没有可放弃的操作。");
  };
  AddBuiltin("U", undo);
  AddBuiltin("UNDO", undo);
  AddBuiltin("REDO", [this] {
    if (!Redo()) Print("\n没有可重做的操作。");
  });
}

Host::~Host() = default;

Host& Host::Get() {
  static Host host;
  return host;
}

WindowSystem& Host::windows() {
  if (windows_) return *windows_;
  if (!default_windows_) default_windows_ = std::make_unique<WindowSystem>();
  return *default_windows_;
}

OfficePort& Host::office() { return office_ ? *office_ : nyoffice::DefaultOffice(); }

bool ReportPort::WritePdf(const ReportDocument&, const Drawing*, const std::string& path,
                          std::string& error) {
  error = "cannot write " + path + ": this program has no PDF renderer";
  return false;
}

ReportPort& Host::reports() {
  static ReportPort headless;
  return reports_ ? *reports_ : headless;
}

void Host::SetDrawing(std::unique_ptr<Drawing> d) {
  drawing_ = std::move(d);
  action_drawing_ = nullptr;  // an open user action's group went with the old drawing
  temp_vectors_.clear();
  Regen();
  Notify(DrawingEvent::kReplaced);
}

std::unique_ptr<Drawing> Host::TakeDrawing() {
  auto d = std::move(drawing_);
  Notify(DrawingEvent::kReplaced);
  return d;
}

int Host::AddDrawingListener(DrawingListener listener) {
  listeners_[next_listener_] = std::move(listener);
  return next_listener_++;
}

void Host::RemoveDrawingListener(int id) { listeners_.erase(id); }

void Host::Notify(DrawingEvent e) {
  // A listener may remove itself (a dialog that closes), so walk a copy.
  auto listeners = listeners_;
  for (auto& [id, l] : listeners)
    if (listeners_.count(id)) l(e);
}

bool Host::Undo() {
  if (running_depth_ > 0 || !drawing_) return false;
  std::string label = drawing_->UndoLabel();
  if (!drawing_->Undo()) return false;
  Print(label.empty() ? std::string("\n放弃") : "\n放弃 " + label);
  Regen();
  Notify(DrawingEvent::kUndone);
  return true;
}

bool Host::Redo() {
  if (running_depth_ > 0 || !drawing_) return false;
  std::string label = drawing_->RedoLabel();
  if (!drawing_->Redo()) return false;
  Print(label.empty() ? std::string("\n重做") : "\n重做 " + label);
  Regen();
  Notify(DrawingEvent::kUndone);
  return true;
}

void Host::BeginUserAction(const std::string& label) {
  if (action_depth_++ > 0) return;
  action_drawing_ = drawing_.get();
  action_revision_ = drawing_ ? drawing_->revision() : 0;
  if (drawing_) drawing_->BeginUndoGroup(label);
}

void Host::EndUserAction() {
  if (action_depth_ == 0 || --action_depth_ > 0) return;
  // The drawing may have been replaced meanwhile; the group belongs to the one it began on.
  if (!drawing_ || drawing_.get() != action_drawing_) return;
  drawing_->EndUndoGroup();
  if (drawing_->revision() != action_revision_) Notify(DrawingEvent::kChanged);
}

bool Host::MountCommand(const std::string& name, const std::string& group,
                        const std::string& entry_name) {
  CommandEntry entry = resolver_ ? resolver_(entry_name) : nullptr;
  if (!entry) return false;
  std::string upper = ToUpperAscii(name);
  commands_.erase(
      std::remove_if(commands_.begin(), commands_.end(),
                     [&](const CommandInfo& c) { return ToUpperAscii(c.name) == upper; }),
      commands_.end());
  commands_.push_back({name, group, entry_name, entry});
  return true;
}

void Host::UnmountGroup(const std::string& group) {
  commands_.erase(std::remove_if(commands_.begin(), commands_.end(),
                                 [&](const CommandInfo& c) { return c.group == group; }),
                  commands_.end());
}

const CommandInfo* Host::FindCommand(const std::string& name) const {
  std::string upper = ToUpperAscii(name);
  for (const auto& c : commands_)
    if (ToUpperAscii(c.name) == upper) return &c;
  return nullptr;
}

std::vector<CommandInfo> Host::Commands() const { return commands_; }

void Host::AddBuiltin(const std::string& name, std::function<void()> fn) {
  builtins_[ToUpperAscii(name)] = std::move(fn);
}

void Host::SendCommand(const std::string& text) {
  for (char c : text) {
    if (c == ' ' || c == '\n' || c == '\r') {
      // An empty entry (Enter on an empty line) repeats nothing here.
      if (!typed_.empty()) queue_.push_back(typed_);
      typed_.clear();
    } else {
      typed_ += c;
    }
  }
}

void Host::RunPendingCommands() {
  if (running_depth_ > 0) return;
  while (!queue_.empty()) {
    std::string name = queue_.front();
    queue_.pop_front();
    RunCommand(name);
  }
}

bool Host::KnowsCommand(const std::string& name) const {
  std::string upper = ToUpperAscii(Trim(name));
  return builtins_.count(upper) > 0 || FindCommand(upper) != nullptr;
}

bool Host::RunCommand(const std::string& name) {
  std::string upper = ToUpperAscii(Trim(name));
  if (auto it = builtins_.find(upper); it != builtins_.end()) {
    it->second();
    return true;
  }
  const CommandInfo* info = FindCommand(upper);
  if (!info) {
    Printf("\n未知命令\"%s\"。", name);
    return false;
  }
  Execute(*info);
  return true;
}

void Host::Execute(const CommandInfo& info) {
  CommandEntry entry = info.entry;
  std::string previous = running_name_;
  running_name_ = info.name;
  ++running_depth_;
  cancel_requested_ = false;
  Drawing* drawing = drawing_.get();
  const std::uint64_t revision = drawing ? drawing->revision() : 0;
  if (drawing) drawing->BeginUndoGroup(info.name);
  entry();
  const bool same = drawing && drawing_.get() == drawing;
  if (same) drawing->EndUndoGroup();
  --running_depth_;
  running_name_ = previous;
  cancel_requested_ = false;
  if (same && drawing->revision() != revision) Notify(DrawingEvent::kChanged);
}

void Host::CancelRunningCommand() {
  if (running_depth_ > 0) cancel_requested_ = true;
  // A command line typed but not ended is dropped as Escape would drop it.
  typed_.clear();
}

void Host::Print(std::string_view text) {
  if (output_) output_->Print(text);
}

void Host::ProgressStart() {
  if (output_) output_->ProgressStart();
}
void Host::ProgressPercent(int percent) {
  if (output_) output_->ProgressPercent(std::clamp(percent, 0, 100));
}
void Host::ProgressStop() {
  if (output_) output_->ProgressStop();
}
void Host::SetBusy(bool busy) {
  if (output_) output_->SetBusy(busy);
}

int Host::Ask(const std::string& prompt, const std::function<int(InputPort&)>& ask) {
  if (!input_ || !drawing_) return kRtError;
  if (cancel_requested_) return kRtCan;
  Print(prompt);
  int rc = ask(*input_);
  return cancel_requested_ ? kRtCan : rc;
}

int Host::GetPoint(const Point3* base, const std::string& prompt, Point3& out) {
  return Ask(prompt, [&](InputPort& in) { return in.GetPoint(base, out); });
}
int Host::GetCorner(const Point3& first, const std::string& prompt, Point3& out) {
  return Ask(prompt, [&](InputPort& in) { return in.GetCorner(first, out); });
}
int Host::EntSel(const std::string& prompt, EntityId& id, Point3& pick) {
  return Ask(prompt, [&](InputPort& in) { return in.EntSel(id, pick); });
}
int Host::SelectObjects(const std::string& prompt, const EntityFilter& filter,
                        std::vector<EntityId>& ids) {
  return Ask(prompt, [&](InputPort& in) { return in.SelectObjects(filter, ids); });
}
int Host::JigPoint(const std::string& prompt, const std::vector<Point3>& so_far, Point3& out) {
  return Ask(prompt, [&](InputPort& in) { return in.JigPoint(so_far, out); });
}
int Host::GetString(const std::string& prompt, bool allow_spaces, std::string& out) {
  return Ask(prompt, [&](InputPort& in) { return in.GetString(allow_spaces, out); });
}

bool Host::GetVar(const std::string& name, SysVarValue& out) const {
  auto it = sysvars_.find(ToUpperAscii(name));
  if (it == sysvars_.end()) return false;
  out = it->second;
  return true;
}

void Host::SetVar(const std::string& name, SysVarValue value) {
  sysvars_[ToUpperAscii(name)] = std::move(value);
  if (output_) output_->Refresh(true);
}

int Host::GetVarInt(const std::string& name, int fallback) const {
  SysVarValue v;
  if (!GetVar(name, v)) return fallback;
  if (auto* i = std::get_if<int>(&v)) return *i;
  if (auto* d = std::get_if<double>(&v)) return static_cast<int>(*d);
  return fallback;
}

double Host::GetVarReal(const std::string& name, double fallback) const {
  SysVarValue v;
  if (!GetVar(name, v)) return fallback;
  if (auto* d = std::get_if<double>(&v)) return *d;
  if (auto* i = std::get_if<int>(&v)) return *i;
  return fallback;
}

void Host::Regen() {
  if (output_) output_->Refresh(true);
}

void Host::Redraw() {
  temp_vectors_.clear();
  if (output_) output_->Refresh(false);
}

void Host::RedrawEntity(EntityId) {
  if (output_) output_->Refresh(false);
}

void Host::GrDraw(Point3 from, Point3 to, int color, bool highlight) {
  temp_vectors_.push_back({from, to, color, highlight});
  if (output_) output_->Refresh(false);
}

void Host::ZoomWindow(Point3 a, Point3 b) {
  if (output_) output_->ZoomWindow(a, b);
}

}  // namespace nyhost
