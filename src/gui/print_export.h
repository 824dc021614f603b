// Printing the current view to PDF: a paper size, a scale and a title block with the plan's name
// and the date.
#pragma once

#include <QDialog>
#include <QString>

#include "host/drawing.h"
#include "render/view_transform.h"

class QComboBox;
class QLineEdit;

namespace nygui {

struct PdfOptions {
  QString path;
  QString paper = "A3";  // "A4" or "A3", landscape
  int scale = 100;       // 1:scale, in millimetres of the plan per millimetre of paper
  QString title;         // the plan's name in the title block
};

// Draws the drawing around the centre of `view` at the chosen scale on one landscape sheet with
// a frame and a title block; false and a message in Chinese when the file cannot be written.
bool ExportViewToPdf(const nyhost::Drawing& d, const nyrender::ViewTransform& view,
                     const PdfOptions& options, QString* error);

class PdfExportDialog : public QDialog {
  Q_OBJECT
 public:
  PdfExportDialog(QWidget* parent, const QString& plan_path);
  PdfOptions Options() const;

 private:
  QComboBox* paper_;
  QComboBox* scale_;
  QLineEdit* path_;
  QString title_;
};

}  // namespace nygui
