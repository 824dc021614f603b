// The command-line dock: the host's output text above, the prompt and an input line below, with
// a history of typed lines (up / down).
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStringList>
#include <QWidget>

namespace nygui {

class CommandLine : public QWidget {
  Q_OBJECT
 public:
  explicit CommandLine(QWidget* parent = nullptr);

  // Appends host output; a line break in the text starts a new line, and the text after the last
  // break becomes the prompt shown before the input.
  void Print(const QString& text);
  QString Output() const { return output_->toPlainText(); }
  QString Prompt() const { return prompt_->text(); }
  QLineEdit* input() const { return input_; }
  // Nothing runs any more: the prompt asks for a command again.
  void ShowIdlePrompt();
  // Puts text in the input line and focuses it (typing over the canvas).
  void TypeText(const QString& text);
  const QStringList& history() const { return history_; }
  // Space ends the line as Enter does (not while a text with blanks is asked for).
  void SetSpaceSubmits(bool on) { space_submits_ = on; }

 signals:
  // Enter with the typed text (may be empty).
  void submitted(const QString& text);
  void escapePressed();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QPlainTextEdit* output_;
  QLabel* prompt_;
  QLineEdit* input_;
  QStringList history_;
  int history_pos_ = 0;
  bool space_submits_ = true;
};

}  // namespace nygui
