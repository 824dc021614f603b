#include "gui/dialog_widget.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <tuple>

#include "gui/grid_widget.h"
#include "gui/gui_ports.h"
#include "gui/icons.h"
#include "render/qt_painter.h"

namespace nygui {

using nyhost::ControlKind;
using nyhost::ControlState;

namespace {

constexpr char kIdProperty[] = "nyControlId";

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The picture control: the controller paints it through the host's Painter.
class PictureWidget : public QWidget {
 public:
  PictureWidget(nyhost::Dialog** dlg, int id, QWidget* parent)
      : QWidget(parent), dlg_(dlg), id_(id) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    if (*dlg_) {
      nyrender::QtPainter painter(p, width(), height());
      (*dlg_)->Paint(id_, painter);
    }
    p.setPen(QColor(160, 160, 160));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }

 private:
  nyhost::Dialog** dlg_;
  int id_;
};

// A push button whose controller may paint a picture over its face (a picture button).
class PaintedButton : public QPushButton {
 public:
  PaintedButton(nyhost::Dialog** dlg, int id, QWidget* parent)
      : QPushButton(parent), dlg_(dlg), id_(id) {}

 protected:
  void paintEvent(QPaintEvent* e) override {
    QPushButton::paintEvent(e);
    if (!*dlg_) return;
    constexpr int kBevel = 3;
    QPainter p(this);
    p.translate(kBevel, kBevel);
    const QRect face(0, 0, width() - 2 * kBevel, height() - 2 * kBevel);
    p.setClipRect(face);
    nyrender::QtPainter painter(p, face.width(), face.height());
    (*dlg_)->Paint(id_, painter);
  }

 private:
  nyhost::Dialog** dlg_;
  int id_;
};

// Spin control: two arrow buttons; each press steps the model by one.
class SpinWidget : public QWidget {
 public:
  SpinWidget(bool vertical, QWidget* parent) : QWidget(parent) {
    up = new QToolButton(this);
    down = new QToolButton(this);
    up->setArrowType(vertical ? Qt::UpArrow : Qt::RightArrow);
    down->setArrowType(vertical ? Qt::DownArrow : Qt::LeftArrow);
    up->setAutoRepeat(true);
    down->setAutoRepeat(true);
    QBoxLayout* l = vertical ? static_cast<QBoxLayout*>(new QVBoxLayout(this))
                             : static_cast<QBoxLayout*>(new QHBoxLayout(this));
    l->setContentsMargins(0, 0, 0, 0);
    l->setSpacing(0);
    l->addWidget(up);
    l->addWidget(down);
    for (auto* b : {up, down}) b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
  }
  QToolButton* up;
  QToolButton* down;
};

// Tree item path "parent/child" as the model names it.
QString TreePath(QTreeWidgetItem* item) {
  QStringList parts;
  for (; item; item = item->parent()) parts.prepend(item->text(0));
  return parts.join('/');
}

bool Contains(const nyhost::ControlTemplate& outer, const nyhost::ControlTemplate& inner) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

// The tree's items in display order as (depth, handle, text), from the model or from the widget.
using TreeShape = std::vector<std::tuple<int, int, QString>>;

void ModelShape(const ControlState& c, const std::vector<int>& handles, int depth, TreeShape& out) {
  for (int h : handles) {
    auto it = c.tree.find(h);
    if (it == c.tree.end()) continue;
    out.emplace_back(depth, h, Q(it->second.text));
    ModelShape(c, it->second.children, depth + 1, out);
  }
}

void WidgetShape(QTreeWidgetItem* item, int depth, TreeShape& out,
                 std::vector<QTreeWidgetItem*>& items) {
  out.emplace_back(depth, item->data(0, Qt::UserRole).toInt(), item->text(0));
  items.push_back(item);
  for (int i = 0; i < item->childCount(); ++i) WidgetShape(item->child(i), depth + 1, out, items);
}

// Rebuilds the items only when the model's items differ: the tree's own signals (a click, an
// expansion) reach the model while the view still uses the item, which must stay alive.
void SyncTree(QTreeWidget* t, const ControlState& c) {
  TreeShape want, have;
  ModelShape(c, c.tree_roots, 0, want);
  std::vector<QTreeWidgetItem*> items;
  for (int i = 0; i < t->topLevelItemCount(); ++i) WidgetShape(t->topLevelItem(i), 0, have, items);
  if (want != have) {
    t->clear();
    items.clear();
    std::vector<QTreeWidgetItem*> parents;  // by depth
    for (const auto& [depth, h, text] : want) {
      parents.resize(static_cast<std::size_t>(depth));
      auto* item = depth == 0 ? new QTreeWidgetItem(t) : new QTreeWidgetItem(parents.back());
      item->setText(0, text);
      item->setData(0, Qt::UserRole, h);
      parents.push_back(item);
      items.push_back(item);
    }
  }
  QTreeWidgetItem* selected = nullptr;
  for (QTreeWidgetItem* item : items) {
    int h = item->data(0, Qt::UserRole).toInt();
    bool expanded = c.tree.at(h).expanded;
    if (item->isExpanded() != expanded) item->setExpanded(expanded);
    if (h == c.tree_selected) selected = item;
  }
  if (selected) {
    if (t->currentItem() != selected) t->setCurrentItem(selected);
  } else {
    t->setCurrentItem(nullptr);
    t->clearSelection();
  }
}

void SetColors(QWidget* w, const ControlState& c) {
  // Start from the widget's default so a colour the module clears goes back to normal.
  QPalette pal = QApplication::palette(w);
  if (c.text_color != nyhost::kNoColor) {
    pal.setColor(QPalette::WindowText, nyrender::RgbColor(c.text_color));
    pal.setColor(QPalette::Text, nyrender::RgbColor(c.text_color));
  }
  if (c.back_color != nyhost::kNoColor) {
    pal.setColor(QPalette::Window, nyrender::RgbColor(c.back_color));
    pal.setColor(QPalette::Base, nyrender::RgbColor(c.back_color));
  }
  w->setAutoFillBackground(c.back_color != nyhost::kNoColor);
  w->setPalette(pal);
}

}  // namespace

DialogUnits DialogUnits::ForFont(const QFont& font) {
  QFontMetricsF fm(font);
  // The average width of the Latin letters, as the dialog manager measures its font.
  double avg =
      fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) /
      52.0;
  DialogUnits u;
  u.x = avg / 4.0;
  u.y = fm.height() / 8.0;
  return u;
}

QRect DialogUnits::ToPixels(int x0, int y0, int w, int h) const {
  // Edges are converted, not sizes, so controls that touch in dialog units touch on screen.
  const int left = qRound(x0 * x), top = qRound(y0 * y);
  const int right = qRound((x0 + w) * x), bottom = qRound((y0 + h) * y);
  return QRect(left, top, right - left, bottom - top);
}

QFont DialogFont(const nyhost::DialogTemplate& tpl) {
  QFont f;
  f.setFamilies({Q(tpl.font), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Micro Hei"),
                 QStringLiteral("Noto Sans CJK SC")});
  f.setPointSize(tpl.font_size > 0 ? tpl.font_size : 9);
  return f;
}

DialogWidget::DialogWidget(nyhost::Dialog& dlg, QWidget* parent) : QDialog(parent), dlg_(&dlg) {
  setAttribute(Qt::WA_DeleteOnClose, false);
  setFont(DialogFont(dlg.tpl()));
  units_ = DialogUnits::ForFont(font());
  setWindowTitle(Q(dlg.caption()));
  setObjectName(QStringLiteral("dialog%1").arg(dlg.id()));
  setFixedSize(qRound(dlg.tpl().width * units_.x), qRound(dlg.tpl().height * units_.y));
  if (dlg.modal()) setWindowModality(Qt::ApplicationModal);
  setWindowIcon(BitmapIcon("NYICON"));
  Build();
}

DialogWidget::~DialogWidget() = default;

void DialogWidget::Detach() {
  dlg_ = nullptr;
  hide();
}

QWidget* DialogWidget::ControlWidget(int id) const {
  auto it = widgets_.find(id);
  return it == widgets_.end() ? nullptr : it->second;
}

void DialogWidget::AfterUser() { ScheduleHostWork(); }

void DialogWidget::Build() {
  // Group boxes first, so the controls inside them are above them.
  const auto& controls = dlg_->tpl().controls;
  for (int pass = 0; pass < 2; ++pass) {
    for (const auto& t : controls) {
      bool group = t.kind == ControlKind::kGroup;
      if ((pass == 0) != group) continue;
      const ControlState* c = dlg_->Control(t.id);
      if (!c || widgets_.count(t.id)) continue;
      QWidget* w = Make(*c);
      w->setProperty(kIdProperty, t.id);
      w->setObjectName(QStringLiteral("ctl%1").arg(t.id));
      QRect r = units_.ToPixels(t.x, t.y, t.w, t.h);
      // A combo box's template height includes its dropped-down list; the closed box is one line.
      if (t.kind == ControlKind::kCombo || t.kind == ControlKind::kDropList)
        r.setHeight(std::min(r.height(), w->sizeHint().height()));
      w->setGeometry(r);
      widgets_[t.id] = w;
      SyncControl(t.id);
    }
  }
  RefreshToolTips();
}

QWidget* DialogWidget::Make(const ControlState& c) {
  const int id = c.tpl.id;
  switch (c.tpl.kind) {
    case ControlKind::kStatic: {
      auto* l = new QLabel(this);
      l->setWordWrap(c.tpl.h > 12);
      return l;
    }
    case ControlKind::kEdit: {
      if (c.tpl.multiline) {
        auto* e = new QPlainTextEdit(this);
        e->setReadOnly(c.tpl.read_only);
        connect(e, &QPlainTextEdit::textChanged, this, [this, id] {
          if (!syncing_) dirty_[id] = true;
        });
        e->installEventFilter(this);
        return e;
      }
      auto* e = new QLineEdit(this);
      e->setReadOnly(c.tpl.read_only);
      if (c.tpl.read_only) {
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, palette().color(QPalette::Window));
        e->setPalette(pal);
      }
      connect(e, &QLineEdit::textEdited, this, [this, id] { dirty_[id] = true; });
      connect(e, &QLineEdit::editingFinished, this,
              [this, id, e] { UserEdited(id, e->text(), true); });
      return e;
    }
    case ControlKind::kButton:
    case ControlKind::kBitmapButton: {
      auto* b = new PaintedButton(&dlg_, id, this);
      b->setAutoDefault(false);
      if (c.tpl.kind == ControlKind::kBitmapButton && !c.tpl.bitmap.empty()) {
        b->setIcon(BitmapIcon(c.tpl.bitmap));
        b->setIconSize(QSize(qRound(c.tpl.h * units_.y) - 6, qRound(c.tpl.h * units_.y) - 6));
      }
      connect(b, &QPushButton::clicked, this, [this, id] {
        if (!dlg_) return;
        {
          UserStep step;
          dlg_->UserClick(id);
        }
        AfterUser();
      });
      return b;
    }
    case ControlKind::kCheck: {
      auto* b = new QCheckBox(this);
      connect(b, &QCheckBox::clicked, this, [this, id] {
        if (!dlg_) return;
        dlg_->UserClick(id);  // the model toggles; the widget follows it
        AfterUser();
      });
      return b;
    }
    case ControlKind::kRadio: {
      auto* b = new QRadioButton(this);
      b->setAutoExclusive(false);  // the model keeps the group exclusive
      connect(b, &QRadioButton::clicked, this, [this, id] {
        if (!dlg_) return;
        dlg_->UserClick(id);
        AfterUser();
      });
      return b;
    }
    case ControlKind::kCombo:
    case ControlKind::kDropList: {
      auto* b = new QComboBox(this);
      b->setEditable(c.tpl.kind == ControlKind::kCombo);
      b->setMaxVisibleItems(20);
      connect(b, &QComboBox::activated, this, [this, id](int index) {
        if (!dlg_ || syncing_) return;
        dirty_[id] = false;
        dlg_->UserChoose(id, "#" + std::to_string(index));
        AfterUser();
      });
      if (b->lineEdit()) {
        connect(b->lineEdit(), &QLineEdit::textEdited, this, [this, id] { dirty_[id] = true; });
        connect(b->lineEdit(), &QLineEdit::editingFinished, this, [this, id, b] {
          if (dirty_[id]) UserEdited(id, b->currentText(), true);
        });
      }
      return b;
    }
    case ControlKind::kList: {
      auto* l = new QListWidget(this);
      connect(l, &QListWidget::itemClicked, this, [this, id, l](QListWidgetItem* item) {
        if (!dlg_ || syncing_) return;
        dlg_->UserChoose(id, "#" + std::to_string(l->row(item)));
        AfterUser();
      });
      connect(l, &QListWidget::itemDoubleClicked, this, [this, id](QListWidgetItem*) {
        if (!dlg_ || !dlg_->controller()) return;
        dlg_->controller()->OnDoubleClick(*dlg_, id);
        AfterUser();
      });
      return l;
    }
    case ControlKind::kTree: {
      auto* t = new QTreeWidget(this);
      t->setHeaderHidden(true);
      t->setContextMenuPolicy(Qt::CustomContextMenu);
      connect(t, &QTreeWidget::itemClicked, this, [this, id](QTreeWidgetItem* item) {
        if (!dlg_ || syncing_) return;
        dlg_->UserTreeSelect(id, TreePath(item).toStdString());
        AfterUser();
      });
      connect(t, &QTreeWidget::customContextMenuRequested, this, [this, id, t](const QPoint& pos) {
        if (!dlg_) return;
        dlg_->UserTreeRightClick(id, TreePath(t->itemAt(pos)).toStdString());
        AfterUser();
      });
      // The model keeps what is open, so a rebuilt tree opens the same items.
      auto expand = [this, id](QTreeWidgetItem* item, bool open) {
        if (!dlg_ || syncing_) return;
        dlg_->ExpandItem(id, item->data(0, Qt::UserRole).toInt(), open);
      };
      connect(t, &QTreeWidget::itemExpanded, this,
              [expand](QTreeWidgetItem* i) { expand(i, true); });
      connect(t, &QTreeWidget::itemCollapsed, this,
              [expand](QTreeWidgetItem* i) { expand(i, false); });
      return t;
    }
    case ControlKind::kSpin: {
      auto* s = new SpinWidget(c.tpl.h >= c.tpl.w, this);
      connect(s->up, &QToolButton::clicked, this, [this, id] {
        if (!dlg_) return;
        dlg_->UserSpin(id, +1);
        AfterUser();
      });
      connect(s->down, &QToolButton::clicked, this, [this, id] {
        if (!dlg_) return;
        dlg_->UserSpin(id, -1);
        AfterUser();
      });
      return s;
    }
    case ControlKind::kGroup: {
      auto* g = new QGroupBox(this);
      g->lower();
      return g;
    }
    case ControlKind::kPicture:
      return new PictureWidget(&dlg_, id, this);
    case ControlKind::kGrid: {
      auto* g = new GridWidget(this);
      connect(g, &GridWidget::cellClickedByUser, this, [this, id](int row, int col) {
        if (!dlg_) return;
        dlg_->UserCellClick(id, row, col);
        AfterUser();
      });
      connect(g, &GridWidget::cellEditedByUser, this,
              [this, id](int row, int col, const QString& text) {
                if (!dlg_) return;
                {
                  UserStep step;
                  dlg_->UserCellEdit(id, row, col, text.toStdString());
                }
                AfterUser();
              });
      return g;
    }
  }
  return new QWidget(this);
}

void DialogWidget::UserEdited(int id, const QString& text, bool leaving) {
  if (!dlg_ || syncing_) return;
  UserStep step;
  if (dirty_[id]) {
    dirty_[id] = false;
    dlg_->UserType(id, text.toStdString());
  } else if (leaving && dlg_->controller() && !dlg_->destroyed()) {
    dlg_->controller()->OnKillFocus(*dlg_, id);
  }
  AfterUser();
}

void DialogWidget::SyncControl(int id) {
  if (!dlg_) return;
  const ControlState* c = dlg_->Control(id);
  QWidget* w = ControlWidget(id);
  if (!c || !w) return;
  syncing_ = true;
  const QString text = Q(c->text);
  switch (c->tpl.kind) {
    case ControlKind::kStatic:
      static_cast<QLabel*>(w)->setText(text);
      break;
    case ControlKind::kEdit:
      if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (e->text() != text) e->setText(text);
      } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
        if (pe->toPlainText() != text) pe->setPlainText(text);
      }
      dirty_[id] = false;
      break;
    case ControlKind::kButton:
    case ControlKind::kBitmapButton:
      static_cast<QPushButton*>(w)->setText(text);
      break;
    case ControlKind::kCheck:
    case ControlKind::kRadio: {
      auto* b = static_cast<QAbstractButton*>(w);
      b->setText(text);
      b->setChecked(c->check != 0);
      break;
    }
    case ControlKind::kCombo:
    case ControlKind::kDropList: {
      auto* b = static_cast<QComboBox*>(w);
      QStringList items;
      for (const auto& i : c->items) items << Q(i);
      QStringList now;
      for (int i = 0; i < b->count(); ++i) now << b->itemText(i);
      if (now != items) {
        b->clear();
        b->addItems(items);
      }
      b->setCurrentIndex(c->cur_sel);
      if (b->isEditable() && b->currentText() != text) b->setEditText(text);
      dirty_[id] = false;
      break;
    }
    case ControlKind::kList: {
      auto* l = static_cast<QListWidget*>(w);
      QStringList items;
      for (const auto& i : c->items) items << Q(i);
      bool same = l->count() == items.size();
      for (int i = 0; same && i < items.size(); ++i) same = l->item(i)->text() == items[i];
      if (!same) {
        l->clear();
        l->addItems(items);
      }
      l->setCurrentRow(c->cur_sel);
      break;
    }
    case ControlKind::kTree:
      SyncTree(static_cast<QTreeWidget*>(w), *c);
      break;
    case ControlKind::kGroup:
      static_cast<QGroupBox*>(w)->setTitle(text);
      break;
    case ControlKind::kGrid:
      static_cast<GridWidget*>(w)->SetState(c->grid, c->back_color);
      break;
    case ControlKind::kPicture:
      w->update();
      break;
    case ControlKind::kSpin:
      break;
  }
  w->setEnabled(c->enabled);
  w->setVisible(c->visible);
  if (c->tpl.kind != ControlKind::kGrid) SetColors(w, *c);
  // A tooltip or the visibility of one control may change what the controls over it show.
  RefreshToolTips();
  syncing_ = false;
}

bool DialogWidget::HiddenFrame(const ControlState& frame) const {
  if (frame.tpl.kind != ControlKind::kStatic) return false;
  if (!frame.visible) return true;
  // Also hidden when a visible control drawn over it (later in the template) covers it wholly.
  const auto& controls = dlg_->tpl().controls;
  bool after = false;
  for (const auto& t : controls) {
    if (t.id == frame.tpl.id) {
      after = true;
      continue;
    }
    if (!after || t.kind == ControlKind::kGroup || !Contains(t, frame.tpl)) continue;
    const ControlState* over = dlg_->Control(t.id);
    if (over && over->visible) return true;
  }
  return false;
}

QString DialogWidget::ToolTipOf(int id) const {
  if (!dlg_) return QString();
  const ControlState* c = dlg_->Control(id);
  if (!c) return QString();
  if (!c->tooltip.empty()) return Q(c->tooltip);
  const ControlState* best = nullptr;
  for (const auto& t : dlg_->tpl().controls) {
    if (t.id == id || !Contains(t, c->tpl)) continue;
    const ControlState* frame = dlg_->Control(t.id);
    if (!frame || frame->tooltip.empty() || !HiddenFrame(*frame)) continue;
    if (!best || t.w * t.h < best->tpl.w * best->tpl.h) best = frame;
  }
  return best ? Q(best->tooltip) : QString();
}

void DialogWidget::RefreshToolTips() {
  for (auto& [id, w] : widgets_) {
    QString tip = ToolTipOf(id);
    if (w->toolTip() != tip) w->setToolTip(tip);
  }
}

QRect FitOnScreen(const QRect& r) {
  QScreen* screen = QGuiApplication::screenAt(r.center());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (!screen) return r;
  const QRect avail = screen->availableGeometry();
  QRect out(r.topLeft(), r.size().boundedTo(avail.size()));
  out.moveLeft(std::clamp(out.left(), avail.left(), avail.right() + 1 - out.width()));
  out.moveTop(std::clamp(out.top(), avail.top(), avail.bottom() + 1 - out.height()));
  return out;
}

void DialogWidget::SyncWindow() {
  if (!dlg_) return;
  syncing_ = true;
  setWindowTitle(Q(dlg_->caption()));
  if (dlg_->left() >= 0 && dlg_->top() >= 0) {
    // A place saved on a larger screen must not put the window out of reach.
    QPoint at =
        FitOnScreen(QRect(QPoint(dlg_->left(), dlg_->top()), frameGeometry().size())).topLeft();
    if (pos() != at) move(at);
  }
  if (dlg_->destroyed() || !dlg_->visible()) {
    hide();
  } else if (dlg_->minimized()) {
    showMinimized();
  } else {
    if (isMinimized()) showNormal();
    if (!isVisible()) {
      if (!placed_ && parentWidget() && dlg_->left() < 0) {
        // First show: centred over the window that owns it.
        QRect pr = parentWidget()->window()->geometry();
        move(FitOnScreen(QRect(pr.center() - QPoint(width() / 2, height() / 2), size())).topLeft());
      }
      placed_ = true;
      show();
    }
    if (dlg_->focused()) {
      raise();
      activateWindow();
    }
  }
  syncing_ = false;
}

void DialogWidget::RepaintControl(int id) {
  if (QWidget* w = ControlWidget(id)) w->update();
}

void DialogWidget::CommitFocusedEdit() {
  QWidget* f = focusWidget();
  if (!f || !dlg_) return;
  for (auto& [id, w] : widgets_) {
    if (w != f && !w->isAncestorOf(f)) continue;
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
      if (dirty_[id]) UserEdited(id, e->text(), false);
    } else if (auto* pe = qobject_cast<QPlainTextEdit*>(w)) {
      if (dirty_[id]) UserEdited(id, pe->toPlainText(), false);
    } else if (auto* b = qobject_cast<QComboBox*>(w)) {
      if (dirty_[id]) UserEdited(id, b->currentText(), false);
    }
  }
}

bool DialogWidget::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    if (auto* pe = qobject_cast<QPlainTextEdit*>(watched)) {
      int id = pe->property(kIdProperty).toInt();
      UserEdited(id, pe->toPlainText(), true);
    }
  }
  return QDialog::eventFilter(watched, event);
}

void DialogWidget::keyPressEvent(QKeyEvent* e) {
  int key = 0;
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      key = nyhost::kKeyEnter;
      break;
    case Qt::Key_Escape:
      key = nyhost::kKeyEscape;
      break;
    case Qt::Key_F1:
      key = nyhost::kKeyF1;
      break;
    default:
      QDialog::keyPressEvent(e);
      return;
  }
  if (!dlg_) return;
  CommitFocusedEdit();
  if (dlg_ && !dlg_->destroyed()) dlg_->UserKey(key);
  AfterUser();
}

void DialogWidget::closeEvent(QCloseEvent* e) {
  // The model decides whether and how the window goes.
  e->ignore();
  if (!dlg_) return;
  CommitFocusedEdit();
  if (dlg_ && !dlg_->destroyed()) dlg_->UserClose();
  AfterUser();
}

void DialogWidget::moveEvent(QMoveEvent* e) {
  QDialog::moveEvent(e);
  if (dlg_ && !syncing_ && isVisible()) {
    syncing_ = true;
    dlg_->MoveTo(x(), y());
    syncing_ = false;
  }
}

QtDialogView::~QtDialogView() {
  if (w_) {
    w_->Detach();
    w_->deleteLater();
  }
}

void QtDialogView::ControlChanged(int id) {
  if (w_) w_->SyncControl(id);
}

void QtDialogView::WindowChanged() {
  if (w_) w_->SyncWindow();
}

void QtDialogView::Repaint(int id) {
  if (w_) w_->RepaintControl(id);
}

}  // namespace nygui
