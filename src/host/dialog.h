// The window system port. A dialog is a template (controls with ids, kinds, captions and
// rectangles in dialog units) plus a controller in the module. The Dialog object holds every
// control's state, so the headless front-end is the model alone and the desktop renders it.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace nyhost {

enum class ControlKind {
  kStatic,
  kEdit,
  kButton,
  kBitmapButton,
  kCheck,
  kRadio,
  kCombo,     // editable combo box
  kDropList,  // combo box without edit field
  kList,
  kTree,
  kSpin,
  kGroup,
  kPicture,  // painted by the controller
  kGrid,
};

struct ControlTemplate {
  int id = 0;
  ControlKind kind = ControlKind::kStatic;
  std::string caption;
  int x = 0, y = 0, w = 0, h = 0;  // dialog units
  bool read_only = false;
  bool multiline = false;
  bool group_start = false;  // first radio button of a group
  bool default_button = false;
  bool sort = false;       // lists and combos keep items sorted
  std::string bitmap;      // bitmap buttons: resource name
  int buddy = 0;           // spin: the edit it steps
};

struct DialogTemplate {
  int id = 0;
  std::string caption;
  int width = 0, height = 0;  // dialog units
  std::string font = "宋体";
  int font_size = 9;
  std::vector<ControlTemplate> controls;
  const ControlTemplate* Find(int control_id) const;
};

// Colours are 0xRRGGBB; kNoColor means the control's default.
constexpr std::uint32_t kNoColor = 0xFFFFFFFFu;

enum class CellKind { kText, kEdit, kCombo, kReadOnly };

struct GridCell {
  std::string text;
  CellKind kind = CellKind::kEdit;
  std::vector<std::string> options;  // combo cells
  bool list_only = false;            // a drop list: an edit must pick one of the options
  std::uint32_t back_color = kNoColor;
  std::uint32_t text_color = kNoColor;
};

struct GridRange {
  int row0 = -1, col0 = -1, row1 = -1, col1 = -1;
  bool Empty() const { return row0 < 0; }
};

struct GridState {
  int fixed_rows = 0, fixed_cols = 0;
  std::vector<std::vector<GridCell>> cells;  // [row][col]
  std::vector<int> col_widths;               // pixels; 0 = automatic
  GridRange selection;
  int rows() const { return static_cast<int>(cells.size()); }
  int cols() const { return cells.empty() ? 0 : static_cast<int>(cells[0].size()); }
};

struct TreeItem {
  int parent = 0;  // 0 = root
  std::string text;
  std::vector<int> children;
  bool expanded = false;
};

struct ControlState {
  ControlTemplate tpl;
  std::string text;
  bool enabled = true;
  bool visible = true;
  int check = 0;
  std::vector<std::string> items;  // combo, drop list, list
  int cur_sel = -1;
  int spin_min = 0, spin_max = 100, spin_pos = 0;
  std::map<int, TreeItem> tree;  // handle -> item
  std::vector<int> tree_roots;
  int tree_next = 1;
  int tree_selected = 0;
  GridState grid;
  std::string tooltip;
  std::uint32_t text_color = kNoColor;
  std::uint32_t back_color = kNoColor;
};

// Primitives for picture controls (previews). Coordinates are pixels of the control.
class Painter {
 public:
  virtual ~Painter() = default;
  virtual double Width() const = 0;
  virtual double Height() const = 0;
  virtual void Line(double x1, double y1, double x2, double y2, std::uint32_t color,
                    double width = 1) = 0;
  virtual void Rect(double x, double y, double w, double h, std::uint32_t line,
                    std::uint32_t fill = kNoColor) = 0;
  virtual void Text(double x, double y, const std::string& text, std::uint32_t color,
                    double height = 12) = 0;
  // A picture file scaled to fit the rectangle with its aspect kept; a painter that cannot show
  // pictures (or a file it cannot read) leaves the rectangle as it is.
  virtual void Image(double /*x*/, double /*y*/, double /*w*/, double /*h*/,
                     const std::string& /*path*/) {}
};

class Dialog;

// The module side of a dialog. Every handler runs on the one UI thread.
class DialogController {
 public:
  virtual ~DialogController() = default;
  virtual void OnInitDialog(Dialog&) {}
  virtual void OnClick(Dialog&, int /*id*/) {}
  virtual void OnDoubleClick(Dialog&, int /*id*/) {}
  virtual void OnSelChange(Dialog&, int /*id*/) {}
  virtual void OnEditChange(Dialog&, int /*id*/) {}
  virtual void OnKillFocus(Dialog&, int /*id*/) {}
  // Up-down arrows of a spin control; delta is +1 or -1.
  virtual void OnSpin(Dialog&, int /*id*/, int /*delta*/) {}
  virtual void OnCellClick(Dialog&, int /*id*/, int /*row*/, int /*col*/) {}
  virtual void OnCellEndEdit(Dialog&, int /*id*/, int /*row*/, int /*col*/) {}
  virtual void OnTreeRightClick(Dialog&, int /*id*/, int /*item*/) {}
  // A key reached the dialog (kKeyEnter, kKeyEscape, kKeyF1 ...). Return true to swallow it;
  // otherwise Enter presses the default button and Escape closes the dialog.
  virtual bool OnKey(Dialog&, int /*key*/) { return false; }
  virtual void OnPaint(Dialog&, int /*id*/, Painter&) {}
  // The window is being destroyed. A modeless controller may delete itself here; the host does
  // not touch the controller afterwards.
  virtual void OnDestroy(Dialog&) {}
};

constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
constexpr int kKeyF1 = 0x70;

// Answers of message boxes and modal dialogs.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

enum class MbIcon { kNone, kWarning, kError, kQuestion, kInformation };
enum class MbButtons { kOk, kOkCancel, kYesNo, kYesNoCancel };

// What the desktop attaches to a dialog to render it; told about every state change.
class DialogView {
 public:
  virtual ~DialogView() = default;
  virtual void ControlChanged(int /*id*/) {}
  virtual void WindowChanged() {}  // shown, hidden, restored, focused, caption
  virtual void Repaint(int /*id*/) {}
};

class WindowSystem;

class Dialog {
 public:
  Dialog(WindowSystem& ws, DialogTemplate tpl, DialogController* controller, Dialog* parent,
         bool modal);
  ~Dialog();
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;

  int id() const { return tpl_.id; }
  const DialogTemplate& tpl() const { return tpl_; }
  bool modal() const { return modal_; }
  Dialog* parent() const { return parent_; }
  DialogController* controller() const { return controller_; }
  WindowSystem& windows() const { return ws_; }

  // --- controller side: controls by id (an unknown id is ignored / reads empty) ---
  bool Has(int id) const { return controls_.count(id) != 0; }
  const ControlState* Control(int id) const;
  std::string GetText(int id) const;
  void SetText(int id, const std::string& text);
  int GetCheck(int id) const;
  void SetCheck(int id, int check);
  void Enable(int id, bool enable);
  bool IsEnabled(int id) const;
  void ShowControl(int id, bool show);
  void SetToolTip(int id, const std::string& text);
  std::string GetToolTip(int id) const;
  void SetColors(int id, std::uint32_t text, std::uint32_t back);

  // Combo boxes and lists.
  void ResetContent(int id);
  int AddString(int id, const std::string& item);
  int GetCount(int id) const;
  int GetCurSel(int id) const;
  void SetCurSel(int id, int index);  // also sets the text of combos
  std::string GetItemText(int id, int index) const;
  int FindStringExact(int id, const std::string& item) const;  // -1 when absent

  // Trees. Handles are > 0; 0 is the root.
  int InsertItem(int id, int parent, const std::string& text);
  void DeleteItem(int id, int item);
  void DeleteAllItems(int id);
  int GetSelectedItem(int id) const;
  void SelectItem(int id, int item);
  void ExpandItem(int id, int item, bool expand);
  std::string GetItemTextOf(int id, int item) const;
  int GetParentItem(int id, int item) const;
  std::vector<int> GetChildItems(int id, int item) const;  // item 0: roots
  int FindTreeItem(int id, int parent, const std::string& text) const;

  // Spin controls.
  void SetRange(int id, int lo, int hi);
  void SetPos(int id, int pos);
  int GetPos(int id) const;

  // Grids. Grid() gives direct access; call GridChanged after changing it that way.
  GridState& Grid(int id);
  const GridState* GridOf(int id) const;
  void GridChanged(int id);
  void SetCell(int id, int row, int col, const std::string& text);
  std::string GetCell(int id, int row, int col) const;

  void Invalidate(int id);  // picture controls repaint
  void Paint(int id, Painter& p);

  // --- window ---
  void Show();
  void Hide();
  void Restore();
  void Minimize();
  void Focus();
  bool visible() const { return visible_; }
  bool minimized() const { return minimized_; }
  bool focused() const { return focused_; }
  void SetCaption(const std::string& caption);
  // Window position in screen pixels; -1 = placed by the window system.
  int left() const { return left_; }
  int top() const { return top_; }
  void MoveTo(int left, int top) {
    left_ = left;
    top_ = top;
    WindowChanged();
  }
  const std::string& caption() const { return caption_; }
  // Modal: ends the dialog with a result. Modeless: destroys the window.
  void EndDialog(int result);
  void Destroy();
  bool destroyed() const { return destroyed_; }
  std::optional<int> result() const { return result_; }

  // --- user side: front-ends and session scripts drive the dialog through these ---
  // Each runs the controller's handler as the real control would.
  bool UserClick(int id);
  bool UserType(int id, const std::string& text);  // sets text, edit change, focus leaves
  bool UserChoose(int id, const std::string& item);  // by item text, or "#n" for index n
  bool UserCheck(int id, int check);
  bool UserSpin(int id, int delta);
  bool UserCellEdit(int id, int row, int col, const std::string& text);
  bool UserCellClick(int id, int row, int col);
  bool UserTreeSelect(int id, const std::string& path);  // "parent/child"
  bool UserTreeRightClick(int id, const std::string& path);
  void UserKey(int key);
  void UserClose();  // the window's close box

  void AttachView(std::unique_ptr<DialogView> view);
  DialogView* view() const { return view_.get(); }

 private:
  ControlState* Mut(int id);
  void Changed(int id);
  void WindowChanged();
  int TreePath(int id, const std::string& path) const;

  WindowSystem& ws_;
  DialogTemplate tpl_;
  DialogController* controller_;
  Dialog* parent_;
  bool modal_;
  std::map<int, ControlState> controls_;
  std::string caption_;
  int left_ = -1, top_ = -1;
  bool visible_ = false, minimized_ = false, focused_ = false, destroyed_ = false;
  std::optional<int> result_;
  std::unique_ptr<DialogView> view_;
};

// Dialogs, message boxes and file choosers. The base class is the headless implementation: it
// keeps dialogs as models and takes the answers of message boxes and file dialogs from queues.
class WindowSystem {
 public:
  virtual ~WindowSystem();

  // Creates a modeless dialog, runs OnInitDialog and shows it. The dialog lives until destroyed
  // (then it is freed by the window system at the next Collect()).
  Dialog* CreateModeless(const DialogTemplate& tpl, DialogController* controller,
                         Dialog* parent = nullptr);
  // Runs a modal dialog to its end and returns its result (kIdCancel when nothing ended it).
  int RunModal(const DialogTemplate& tpl, DialogController& controller, Dialog* parent = nullptr);

  virtual int MessageBox(const std::string& caption, const std::string& text, MbIcon icon,
                         MbButtons buttons);
  virtual std::optional<std::string> FileDialog(bool save, const std::string& title,
                                                const std::string& initial,
                                                const std::string& filter);
  virtual std::optional<std::string> FolderDialog(const std::string& title,
                                                  const std::string& initial);
  // Pop-up menu of the given items; index of the chosen one or -1.
  virtual int PopupMenu(const std::vector<std::string>& items);
  // Colour chooser over colour indices; none when cancelled.
  virtual std::optional<int> ChooseColor(int initial);
  // Opens a document with the desktop's opener; false when there is none (headless: the path
  // is only recorded in opened_documents).
  virtual bool OpenDocument(const std::string& path_or_url);

  // Queues for the headless answers.
  std::vector<int> message_answers;
  std::vector<std::string> file_answers;  // empty text = cancelled
  std::vector<int> menu_answers;
  std::vector<int> color_answers;  // colour index 1..255; anything else cancels
  // Every message box shown, as "[caption] text" (headless record for scripts and tests).
  std::vector<std::string> message_log;
  std::vector<std::string> opened_documents;
  // Called while a modal dialog runs headless; it should drive the dialog to EndDialog.
  std::function<void(Dialog&)> modal_driver;
  // Prints message boxes as they are shown (the command-line front-end sets it).
  std::function<void(const std::string&)> message_echo;

  // Open dialogs, the most recently created last; destroyed ones are dropped by Collect().
  std::vector<Dialog*> Dialogs() const;
  Dialog* FindDialog(int template_id) const;  // the topmost live dialog of that template
  void Collect();

 protected:
  // The desktop attaches views and runs a real modal loop; the headless versions do nothing and
  // call modal_driver.
  virtual std::unique_ptr<DialogView> CreateView(Dialog& /*dlg*/) { return nullptr; }
  virtual void RunModalLoop(Dialog& dlg);

 private:
  std::vector<std::unique_ptr<Dialog>> dialogs_;
};

}  // namespace nyhost
