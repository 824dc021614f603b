// The dock panels beside the drawing: the layers (on/off, freeze, colour) and the properties of a
// picked entity, whose luminaire keyed texts can be edited. Every change goes through the drawing
// as one undoable step.
#pragma once

#include <QWidget>

#include "host/entity.h"

class QTableWidget;
class QLabel;

namespace nygui {

class LayerPanel : public QWidget {
  Q_OBJECT
 public:
  explicit LayerPanel(QWidget* parent = nullptr);
  // Shows the layers of the host's drawing again.
  void Reload();
  QTableWidget* table() const { return table_; }

 private:
  void Changed(int row, int col);
  QTableWidget* table_;
  bool loading_ = false;
};

class PropertiesPanel : public QWidget {
  Q_OBJECT
 public:
  // The keyed texts a luminaire carries, in the order shown.
  static const char* const kKeys[5];

  explicit PropertiesPanel(QWidget* parent = nullptr);
  // Shows an entity (kNullId: nothing picked).
  void Show(nyhost::EntityId id);
  void Reload() { Show(id_); }
  nyhost::EntityId shown() const { return id_; }
  QTableWidget* table() const { return table_; }

 private:
  void Edited(int row, int col);
  QLabel* title_;
  QTableWidget* table_;
  nyhost::EntityId id_ = nyhost::kNullId;
  bool loading_ = false;
};

}  // namespace nygui
