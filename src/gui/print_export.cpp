#include "gui/print_export.h"

#include <QComboBox>
#include <QDate>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>

#include "host/host.h"
#include "render/drawing_renderer.h"

namespace nygui {

bool ExportViewToPdf(const nyhost::Drawing& d, const nyrender::ViewTransform& view,
                     const PdfOptions& o, QString* error) {
  QPdfWriter pdf(o.path);
  if (!QFileInfo(QFileInfo(o.path).path()).isWritable()) {
    if (error) *error = QStringLiteral("无法写入 %1: 文件夹不可写。").arg(o.path);
    return false;
  }
  pdf.setPageSize(QPageSize(o.paper == "A4" ? QPageSize::A4 : QPageSize::A3));
  pdf.setPageOrientation(QPageLayout::Landscape);
  pdf.setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
  pdf.setResolution(600);
  pdf.setTitle(o.title);
  pdf.setCreator(QStringLiteral("NYLuxora"));
  QPainter p;
  if (!p.begin(&pdf)) {
    if (error) *error = QStringLiteral("无法写入 %1。").arg(o.path);
    return false;
  }
  const double dots_per_mm = pdf.resolution() / 25.4;
  const QRect page(0, 0, pdf.width(), pdf.height());
  const int block_h = qRound(16 * dots_per_mm);
  const QRect plot = page.adjusted(0, 0, 0, -block_h);

  // 1:scale: one paper millimetre shows `scale` plan millimetres, i.e. scale / arch_scale units.
  nyrender::ViewTransform v = view;
  v.width = plot.width();
  v.height = plot.height();
  v.scale = dots_per_mm * (d.arch_scale() > 0 ? d.arch_scale() : 1) / o.scale;
  nyrender::RenderOptions ro;
  ro.line_width = 0.25 * dots_per_mm;
  ro.pd_mode = nyhost::Host::Get().GetVarInt("PDMODE");
  ro.pd_size = nyhost::Host::Get().GetVarReal("PDSIZE");
  p.save();
  p.setClipRect(plot);
  nyrender::DrawingRenderer().Draw(p, d, v, ro);
  p.restore();

  // Frame and title block: plan name, scale, paper, date.
  p.setPen(QPen(Qt::black, 0.5 * dots_per_mm));
  p.setBrush(Qt::NoBrush);
  p.drawRect(page);
  const QRect block(page.left(), page.bottom() - block_h, page.width(), block_h);
  p.drawRect(block);
  QFont f = nyrender::DrawingFont();
  f.setPixelSize(qRound(5 * dots_per_mm));
  p.setFont(f);
  const int w = block.width() / 4;
  const QString cells[] = {o.title, QStringLiteral("比例 1:%1").arg(o.scale), o.paper,
                           QDate::currentDate().toString(Qt::ISODate)};
  for (int i = 0; i < 4; ++i) {
    const QRect cell(block.left() + i * w, block.top(), w, block.height());
    if (i > 0) p.drawLine(cell.topLeft(), cell.bottomLeft());
    p.drawText(cell, Qt::AlignCenter, cells[i]);
  }
  return p.end();
}

PdfExportDialog::PdfExportDialog(QWidget* parent, const QString& plan_path) : QDialog(parent) {
  setWindowTitle(QStringLiteral("打印到 PDF"));
  QFileInfo plan(plan_path.isEmpty() ? QStringLiteral("未命名.dxf") : plan_path);
  title_ = plan.completeBaseName();
  paper_ = new QComboBox(this);
  paper_->addItems({"A3", "A4"});
  scale_ = new QComboBox(this);
  for (int s : {50, 100, 200}) scale_->addItem(QStringLiteral("1:%1").arg(s), s);
  scale_->setCurrentIndex(1);
  path_ = new QLineEdit(plan.absolutePath() + "/" + title_ + ".pdf", this);
  auto* browse = new QPushButton(QStringLiteral("浏览..."), this);
  connect(browse, &QPushButton::clicked, this, [this] {
    QString p = QFileDialog::getSaveFileName(this, QStringLiteral("PDF 文件"), path_->text(),
                                             QStringLiteral("PDF (*.pdf)"));
    if (!p.isEmpty()) path_->setText(QFileInfo(p).suffix().isEmpty() ? p + ".pdf" : p);
  });
  auto* row = new QHBoxLayout;
  row->addWidget(path_, 1);
  row->addWidget(browse);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* form = new QFormLayout(this);
  form->addRow(QStringLiteral("图纸尺寸"), paper_);
  form->addRow(QStringLiteral("比例"), scale_);
  form->addRow(QStringLiteral("文件"), row);
  form->addRow(buttons);
}

PdfOptions PdfExportDialog::Options() const {
  return {path_->text(), paper_->currentText(), scale_->currentData().toInt(), title_};
}

}  // namespace nygui
