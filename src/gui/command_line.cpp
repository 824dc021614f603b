#include "gui/command_line.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QScrollBar>
#include <QVBoxLayout>

namespace nygui {

CommandLine::CommandLine(QWidget* parent) : QWidget(parent) {
  output_ = new QPlainTextEdit(this);
  output_->setReadOnly(true);
  output_->setMaximumBlockCount(5000);
  output_->setObjectName("commandOutput");
  prompt_ = new QLabel(QStringLiteral("命令:"), this);
  input_ = new QLineEdit(this);
  input_->setObjectName("commandInput");
  input_->installEventFilter(this);
  auto* row = new QHBoxLayout;
  row->setContentsMargins(0, 0, 0, 0);
  row->addWidget(prompt_);
  row->addWidget(input_, 1);
  auto* col = new QVBoxLayout(this);
  col->setContentsMargins(2, 2, 2, 2);
  col->setSpacing(2);
  col->addWidget(output_, 1);
  col->addLayout(row);
  QFont mono = output_->font();
  mono.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("WenQuanYi Micro Hei Mono"),
                    QStringLiteral("WenQuanYi Micro Hei")});
  output_->setFont(mono);
}

void CommandLine::Print(const QString& text) {
  QTextCursor c = output_->textCursor();
  c.movePosition(QTextCursor::End);
  c.insertText(text);
  output_->setTextCursor(c);
  output_->verticalScrollBar()->setValue(output_->verticalScrollBar()->maximum());
  QString all = output_->toPlainText();
  QString last = all.mid(all.lastIndexOf('\n') + 1).trimmed();
  prompt_->setText(last.isEmpty() ? QStringLiteral("命令:") : last.left(60));
}

void CommandLine::ShowIdlePrompt() { prompt_->setText(QStringLiteral("命令:")); }

void CommandLine::TypeText(const QString& text) {
  input_->setFocus();
  input_->insert(text);
}

bool CommandLine::eventFilter(QObject* watched, QEvent* event) {
  if (watched == input_ && event->type() == QEvent::ShortcutOverride) {
    // With nothing typed, Ctrl+Z / Ctrl+Y undo the drawing, not the empty input line.
    auto* k = static_cast<QKeyEvent*>(event);
    const bool undo_key = k->matches(QKeySequence::Undo) || k->matches(QKeySequence::Redo) ||
                          (k->key() == Qt::Key_Y && k->modifiers() == Qt::ControlModifier);
    if (input_->text().isEmpty() && undo_key) {
      event->ignore();
      return true;
    }
  }
  if (watched != input_ || event->type() != QEvent::KeyPress)
    return QWidget::eventFilter(watched, event);
  auto* k = static_cast<QKeyEvent*>(event);
  if (k->key() == Qt::Key_Space && !space_submits_) return false;
  switch (k->key()) {
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter: {
      QString text = input_->text().trimmed();
      input_->clear();
      if (!text.isEmpty() && (history_.isEmpty() || history_.last() != text)) history_ << text;
      history_pos_ = history_.size();
      emit submitted(text);
      return true;
    }
    case Qt::Key_Escape:
      input_->clear();
      emit escapePressed();
      return true;
    case Qt::Key_Up:
      if (history_pos_ > 0) input_->setText(history_[--history_pos_]);
      return true;
    case Qt::Key_Down:
      if (history_pos_ < history_.size() - 1) {
        input_->setText(history_[++history_pos_]);
      } else {
        history_pos_ = history_.size();
        input_->clear();
      }
      return true;
    default:
      return false;
  }
}

}  // namespace nygui
