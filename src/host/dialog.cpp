#include "host/dialog.h"

#include <algorithm>
#include <cstdlib>

#include "host/text_util.h"

namespace nyhost {

const ControlTemplate* DialogTemplate::Find(int control_id) const {
  for (const auto& c : controls)
    if (c.id == control_id) return &c;
  return nullptr;
}

Dialog::Dialog(WindowSystem& ws, DialogTemplate tpl, DialogController* controller, Dialog* parent,
               bool modal)
    : ws_(ws), tpl_(std::move(tpl)), controller_(controller), parent_(parent), modal_(modal) {
  caption_ = tpl_.caption;
  for (const auto& c : tpl_.controls) {
    ControlState s;
    s.tpl = c;
    if (c.kind != ControlKind::kCombo && c.kind != ControlKind::kDropList &&
        c.kind != ControlKind::kList && c.kind != ControlKind::kGrid &&
        c.kind != ControlKind::kTree)
      s.text = c.caption;
    controls_.emplace(c.id, std::move(s));
  }
}

Dialog::~Dialog() = default;

const ControlState* Dialog::Control(int id) const {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}

ControlState* Dialog::Mut(int id) {
  auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : &it->second;
}

void Dialog::Changed(int id) {
  if (view_) view_->ControlChanged(id);
}

void Dialog::WindowChanged() {
  if (view_) view_->WindowChanged();
}

std::string Dialog::GetText(int id) const {
  const ControlState* c = Control(id);
  return c ? c->text : std::string();
}

void Dialog::SetText(int id, const std::string& text) {
  if (ControlState* c = Mut(id)) {
    c->text = text;
    if (c->tpl.kind == ControlKind::kSpin) c->spin_pos = std::atoi(text.c_str());
    Changed(id);
  }
}

int Dialog::GetCheck(int id) const {
  const ControlState* c = Control(id);
  return c ? c->check : 0;
}

void Dialog::SetCheck(int id, int check) {
  ControlState* c = Mut(id);
  if (!c) return;
  c->check = check;
  // Checking a radio button clears the others of its group (from its group start to the next).
  if (c->tpl.kind == ControlKind::kRadio && check) {
    auto& all = tpl_.controls;
    auto self = std::find_if(all.begin(), all.end(), [&](auto& t) { return t.id == id; });
    auto start = self;
    while (start != all.begin() && !start->group_start) --start;
    for (auto it = start; it != all.end(); ++it) {
      if (it != start && it->group_start) break;
      if (it->kind == ControlKind::kRadio && it->id != id) {
        controls_[it->id].check = 0;
        Changed(it->id);
      }
    }
  }
  Changed(id);
}

void Dialog::Enable(int id, bool enable) {
  if (ControlState* c = Mut(id)) {
    c->enabled = enable;
    Changed(id);
  }
}

bool Dialog::IsEnabled(int id) const {
  const ControlState* c = Control(id);
  return c && c->enabled;
}

void Dialog::ShowControl(int id, bool show) {
  if (ControlState* c = Mut(id)) {
    c->visible = show;
    Changed(id);
  }
}

void Dialog::SetToolTip(int id, const std::string& text) {
  if (ControlState* c = Mut(id)) {
    c->tooltip = text;
    Changed(id);
  }
}

std::string Dialog::GetToolTip(int id) const {
  const ControlState* c = Control(id);
  return c ? c->tooltip : std::string();
}

void Dialog::SetColors(int id, std::uint32_t text, std::uint32_t back) {
  if (ControlState* c = Mut(id)) {
    c->text_color = text;
    c->back_color = back;
    Changed(id);
  }
}

void Dialog::ResetContent(int id) {
  if (ControlState* c = Mut(id)) {
    c->items.clear();
    c->cur_sel = -1;
    if (c->tpl.kind == ControlKind::kDropList || c->tpl.kind == ControlKind::kList) c->text.clear();
    Changed(id);
  }
}

int Dialog::AddString(int id, const std::string& item) {
  ControlState* c = Mut(id);
  if (!c) return -1;
  int pos = static_cast<int>(c->items.size());
  if (c->tpl.sort) {
    auto it = std::upper_bound(c->items.begin(), c->items.end(), item);
    pos = static_cast<int>(it - c->items.begin());
    c->items.insert(it, item);
    if (c->cur_sel >= pos) ++c->cur_sel;
  } else {
    c->items.push_back(item);
  }
  Changed(id);
  return pos;
}

int Dialog::GetCount(int id) const {
  const ControlState* c = Control(id);
  return c ? static_cast<int>(c->items.size()) : 0;
}

int Dialog::GetCurSel(int id) const {
  const ControlState* c = Control(id);
  return c ? c->cur_sel : -1;
}

void Dialog::SetCurSel(int id, int index) {
  ControlState* c = Mut(id);
  if (!c) return;
  if (index < 0 || index >= static_cast<int>(c->items.size())) {
    c->cur_sel = -1;
    if (c->tpl.kind != ControlKind::kCombo) c->text.clear();
  } else {
    c->cur_sel = index;
    c->text = c->items[static_cast<std::size_t>(index)];
  }
  Changed(id);
}

std::string Dialog::GetItemText(int id, int index) const {
  const ControlState* c = Control(id);
  if (!c || index < 0 || index >= static_cast<int>(c->items.size())) return {};
  return c->items[static_cast<std::size_t>(index)];
}

int Dialog::FindStringExact(int id, const std::string& item) const {
  const ControlState* c = Control(id);
  if (!c) return -1;
  for (std::size_t i = 0; i < c->items.size(); ++i)
    if (c->items[i] == item) return static_cast<int>(i);
  return -1;
}

int Dialog::InsertItem(int id, int parent, const std::string& text) {
  ControlState* c = Mut(id);
  if (!c) return 0;
  int handle = c->tree_next++;
  c->tree[handle] = TreeItem{parent, text, {}, false};
  if (parent == 0) {
    c->tree_roots.push_back(handle);
  } else if (auto it = c->tree.find(parent); it != c->tree.end()) {
    it->second.children.push_back(handle);
  }
  Changed(id);
  return handle;
}

void Dialog::DeleteItem(int id, int item) {
  ControlState* c = Mut(id);
  if (!c || !c->tree.count(item)) return;
  std::vector<int> doomed{item};
  for (std::size_t i = 0; i < doomed.size(); ++i)
    for (int child : c->tree[doomed[i]].children) doomed.push_back(child);
  int parent = c->tree[item].parent;
  auto& siblings = parent == 0 ? c->tree_roots : c->tree[parent].children;
  siblings.erase(std::remove(siblings.begin(), siblings.end(), item), siblings.end());
  for (int h : doomed) {
    if (c->tree_selected == h) c->tree_selected = 0;
    c->tree.erase(h);
  }
  Changed(id);
}

void Dialog::DeleteAllItems(int id) {
  if (ControlState* c = Mut(id)) {
    c->tree.clear();
    c->tree_roots.clear();
    c->tree_selected = 0;
    Changed(id);
  }
}

int Dialog::GetSelectedItem(int id) const {
  const ControlState* c = Control(id);
  return c ? c->tree_selected : 0;
}

void Dialog::SelectItem(int id, int item) {
  ControlState* c = Mut(id);
  if (!c || (item != 0 && !c->tree.count(item))) return;
  c->tree_selected = item;
  Changed(id);
}

void Dialog::ExpandItem(int id, int item, bool expand) {
  ControlState* c = Mut(id);
  if (!c || !c->tree.count(item)) return;
  c->tree[item].expanded = expand;
  Changed(id);
}

std::string Dialog::GetItemTextOf(int id, int item) const {
  const ControlState* c = Control(id);
  if (!c) return {};
  auto it = c->tree.find(item);
  return it == c->tree.end() ? std::string() : it->second.text;
}

int Dialog::GetParentItem(int id, int item) const {
  const ControlState* c = Control(id);
  if (!c) return 0;
  auto it = c->tree.find(item);
  return it == c->tree.end() ? 0 : it->second.parent;
}

std::vector<int> Dialog::GetChildItems(int id, int item) const {
  const ControlState* c = Control(id);
  if (!c) return {};
  if (item == 0) return c->tree_roots;
  auto it = c->tree.find(item);
  return it == c->tree.end() ? std::vector<int>{} : it->second.children;
}

int Dialog::FindTreeItem(int id, int parent, const std::string& text) const {
  for (int h : GetChildItems(id, parent))
    if (GetItemTextOf(id, h) == text) return h;
  return 0;
}

void Dialog::SetRange(int id, int lo, int hi) {
  if (ControlState* c = Mut(id)) {
    c->spin_min = lo;
    c->spin_max = hi;
    Changed(id);
  }
}

void Dialog::SetPos(int id, int pos) {
  if (ControlState* c = Mut(id)) {
    c->spin_pos = pos;
    Changed(id);
  }
}

int Dialog::GetPos(int id) const {
  const ControlState* c = Control(id);
  return c ? c->spin_pos : 0;
}

GridState& Dialog::Grid(int id) {
  static GridState none;
  ControlState* c = Mut(id);
  if (!c) {
    none = GridState{};
    return none;
  }
  return c->grid;
}

const GridState* Dialog::GridOf(int id) const {
  const ControlState* c = Control(id);
  return c ? &c->grid : nullptr;
}

void Dialog::GridChanged(int id) { Changed(id); }

void Dialog::SetCell(int id, int row, int col, const std::string& text) {
  ControlState* c = Mut(id);
  if (!c || row < 0 || col < 0 || row >= c->grid.rows() || col >= c->grid.cols()) return;
  c->grid.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].text = text;
  Changed(id);
}

std::string Dialog::GetCell(int id, int row, int col) const {
  const ControlState* c = Control(id);
  if (!c || row < 0 || col < 0 || row >= c->grid.rows() || col >= c->grid.cols()) return {};
  return c->grid.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)].text;
}

void Dialog::Invalidate(int id) {
  if (view_) view_->Repaint(id);
}

void Dialog::Paint(int id, Painter& p) {
  if (controller_ && !destroyed_) controller_->OnPaint(*this, id, p);
}

void Dialog::Show() {
  visible_ = true;
  minimized_ = false;
  WindowChanged();
}

void Dialog::Hide() {
  visible_ = false;
  focused_ = false;
  WindowChanged();
}

void Dialog::Restore() {
  visible_ = true;
  minimized_ = false;
  WindowChanged();
}

void Dialog::Minimize() {
  minimized_ = true;
  WindowChanged();
}

void Dialog::Focus() {
  focused_ = true;
  WindowChanged();
}

void Dialog::SetCaption(const std::string& caption) {
  caption_ = caption;
  WindowChanged();
}

void Dialog::EndDialog(int result) {
  if (modal_) {
    result_ = result;
    visible_ = false;
    WindowChanged();
  } else {
    Destroy();
  }
}

void Dialog::Destroy() {
  if (destroyed_) return;
  destroyed_ = true;
  visible_ = false;
  WindowChanged();
  DialogController* ctl = controller_;
  controller_ = nullptr;  // the controller may delete itself in OnDestroy
  if (ctl) ctl->OnDestroy(*this);
}

bool Dialog::UserClick(int id) {
  ControlState* c = Mut(id);
  if (!c || !c->enabled || destroyed_) return false;
  if (c->tpl.kind == ControlKind::kCheck) SetCheck(id, c->check ? 0 : 1);
  if (c->tpl.kind == ControlKind::kRadio) SetCheck(id, 1);
  // OK and Cancel end a dialog only through its controller (EndDialog), as their checks decide.
  if (controller_) controller_->OnClick(*this, id);
  return true;
}

bool Dialog::UserType(int id, const std::string& text) {
  ControlState* c = Mut(id);
  if (!c || !c->enabled || destroyed_) return false;
  SetText(id, text);
  if (c->tpl.kind == ControlKind::kCombo) {
    c->cur_sel = FindStringExact(id, text);
  }
  if (controller_) controller_->OnEditChange(*this, id);
  if (controller_ && !destroyed_) controller_->OnKillFocus(*this, id);
  return true;
}

bool Dialog::UserChoose(int id, const std::string& item) {
  ControlState* c = Mut(id);
  if (!c || !c->enabled || destroyed_) return false;
  if (c->tpl.kind == ControlKind::kTree) return UserTreeSelect(id, item);
  int index = -1;
  if (item.size() > 1 && item[0] == '#') {
    index = std::atoi(item.c_str() + 1);
  } else {
    index = FindStringExact(id, item);
  }
  if (index < 0 || index >= static_cast<int>(c->items.size())) return false;
  SetCurSel(id, index);
  if (controller_) controller_->OnSelChange(*this, id);
  return true;
}

bool Dialog::UserCheck(int id, int check) {
  ControlState* c = Mut(id);
  if (!c || !c->enabled || destroyed_) return false;
  if (c->check == check) return true;
  return UserClick(id);
}

bool Dialog::UserSpin(int id, int delta) {
  ControlState* c = Mut(id);
  if (!c || !c->enabled || destroyed_) return false;
  if (controller_) controller_->OnSpin(*this, id, delta);
  return true;
}

bool Dialog::UserCellEdit(int id, int row, int col, const std::string& text) {
  ControlState* c = Mut(id);
  if (!c || destroyed_ || row < c->grid.fixed_rows || col < c->grid.fixed_cols ||
      row >= c->grid.rows() || col >= c->grid.cols())
    return false;
  auto& cell = c->grid.cells[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)];
  if (cell.kind == CellKind::kReadOnly || cell.kind == CellKind::kText) return false;
  if (cell.list_only &&
      std::find(cell.options.begin(), cell.options.end(), text) == cell.options.end())
    return false;
  cell.text = text;
  Changed(id);
  if (controller_) controller_->OnCellEndEdit(*this, id, row, col);
  return true;
}

bool Dialog::UserCellClick(int id, int row, int col) {
  ControlState* c = Mut(id);
  if (!c || destroyed_ || row < 0 || col < 0 || row >= c->grid.rows() || col >= c->grid.cols())
    return false;
  c->grid.selection = {row, col, row, col};
  Changed(id);
  if (controller_) controller_->OnCellClick(*this, id, row, col);
  return true;
}

int Dialog::TreePath(int id, const std::string& path) const {
  int item = 0;
  for (const auto& part : SplitString(path, '/')) {
    item = FindTreeItem(id, item, part);
    if (item == 0) return 0;
  }
  return item;
}

bool Dialog::UserTreeSelect(int id, const std::string& path) {
  int item = TreePath(id, path);
  if (item == 0 || destroyed_) return false;
  SelectItem(id, item);
  if (controller_) controller_->OnSelChange(*this, id);
  return true;
}

bool Dialog::UserTreeRightClick(int id, const std::string& path) {
  int item = path.empty() ? 0 : TreePath(id, path);
  if ((!path.empty() && item == 0) || destroyed_) return false;
  if (item) SelectItem(id, item);
  if (controller_) controller_->OnTreeRightClick(*this, id, item);
  return true;
}

void Dialog::UserKey(int key) {
  if (destroyed_) return;
  if (controller_ && controller_->OnKey(*this, key)) return;
  if (key == kKeyEnter) {
    for (const auto& c : tpl_.controls)
      if (c.default_button || c.id == kIdOk) {
        if (Has(c.id)) {
          UserClick(c.id);
          return;
        }
      }
  } else if (key == kKeyEscape) {
    if (Has(kIdCancel)) {
      UserClick(kIdCancel);
    } else {
      UserClose();
    }
  }
}

void Dialog::UserClose() {
  if (destroyed_) return;
  if (Has(kIdCancel) && controller_) {
    controller_->OnClick(*this, kIdCancel);
    return;
  }
  EndDialog(kIdCancel);
}

void Dialog::AttachView(std::unique_ptr<DialogView> view) { view_ = std::move(view); }

WindowSystem::~WindowSystem() = default;

Dialog* WindowSystem::CreateModeless(const DialogTemplate& tpl, DialogController* controller,
                                     Dialog* parent) {
  auto dlg = std::make_unique<Dialog>(*this, tpl, controller, parent, false);
  Dialog* raw = dlg.get();
  dialogs_.push_back(std::move(dlg));
  raw->AttachView(CreateView(*raw));
  if (controller) controller->OnInitDialog(*raw);
  if (!raw->destroyed()) raw->Show();
  return raw;
}

int WindowSystem::RunModal(const DialogTemplate& tpl, DialogController& controller,
                           Dialog* parent) {
  auto dlg = std::make_unique<Dialog>(*this, tpl, &controller, parent, true);
  Dialog* raw = dlg.get();
  dialogs_.push_back(std::move(dlg));
  raw->AttachView(CreateView(*raw));
  controller.OnInitDialog(*raw);
  if (!raw->result()) {
    raw->Show();
    RunModalLoop(*raw);
  }
  int result = raw->result().value_or(kIdCancel);
  raw->Destroy();
  auto it = std::find_if(dialogs_.begin(), dialogs_.end(),
                         [&](const auto& d) { return d.get() == raw; });
  if (it != dialogs_.end()) dialogs_.erase(it);
  return result;
}

void WindowSystem::RunModalLoop(Dialog& dlg) {
  if (modal_driver) modal_driver(dlg);
}

namespace {
template <typename T>
bool PopFront(std::vector<T>& q, T& out) {
  if (q.empty()) return false;
  out = q.front();
  q.erase(q.begin());
  return true;
}
}  // namespace

int WindowSystem::MessageBox(const std::string& caption, const std::string& text, MbIcon,
                             MbButtons buttons) {
  std::string line = "[" + caption + "] " + text;
  message_log.push_back(line);
  if (message_echo) message_echo(line);
  int answer;
  if (PopFront(message_answers, answer)) return answer;
  // Unanswered: the default button.
  return buttons == MbButtons::kYesNo || buttons == MbButtons::kYesNoCancel ? kIdYes : kIdOk;
}

std::optional<std::string> WindowSystem::FileDialog(bool, const std::string&, const std::string&,
                                                    const std::string&) {
  std::string answer;
  if (!PopFront(file_answers, answer) || answer.empty()) return std::nullopt;
  return answer;
}

std::optional<std::string> WindowSystem::FolderDialog(const std::string&, const std::string&) {
  std::string answer;
  if (!PopFront(file_answers, answer) || answer.empty()) return std::nullopt;
  return answer;
}

int WindowSystem::PopupMenu(const std::vector<std::string>& items) {
  int answer;
  if (!PopFront(menu_answers, answer) || answer < 0 || answer >= static_cast<int>(items.size()))
    return -1;
  return answer;
}

std::optional<int> WindowSystem::ChooseColor(int) {
  int answer;
  if (!PopFront(color_answers, answer) || answer < 1 || answer > 255) return std::nullopt;
  return answer;
}

bool WindowSystem::OpenDocument(const std::string& path_or_url) {
  opened_documents.push_back(path_or_url);
  return false;
}

std::vector<Dialog*> WindowSystem::Dialogs() const {
  std::vector<Dialog*> out;
  for (const auto& d : dialogs_)
    if (!d->destroyed()) out.push_back(d.get());
  return out;
}

Dialog* WindowSystem::FindDialog(int template_id) const {
  for (auto it = dialogs_.rbegin(); it != dialogs_.rend(); ++it)
    if (!(*it)->destroyed() && (*it)->id() == template_id) return it->get();
  return nullptr;
}

void WindowSystem::Collect() {
  dialogs_.erase(std::remove_if(dialogs_.begin(), dialogs_.end(),
                                [](const auto& d) { return d->destroyed() && !d->modal(); }),
                 dialogs_.end());
}

}  // namespace nyhost
