// DXF read and write messages of the host, as the desktop shows them: in Chinese, with the file
// and line first. Messages not known here are shown as they are.
#include <QRegularExpression>

#include "gui/main_window.h"

namespace nygui {
namespace {

struct Pattern {
  const char* english;  // regular expression over the message after "FILE[:LINE]: "
  const char* chinese;  // %1.. are the captured parts
};

// Longer, more specific patterns come before the general ones they would also match.
constexpr Pattern kPatterns[] = {
    {R"(cannot (open|write): is a folder)", "无法%1: 这是一个文件夹"},
    {R"(cannot open: (.*))", "无法打开: %1"},
    {R"(cannot read: (.*))", "无法读取: %1"},
    {R"(cannot write: (.*))", "无法写入: %1"},
    {R"(cannot create a temporary file: (.*))", "无法创建临时文件: %1"},
    {R"(empty file)", "文件是空的"},
    {R"(binary DXF is not supported)", "不支持二进制 DXF"},
    {R"(truncated: no EOF)", "文件不完整: 缺少 EOF"},
    {R"(expected a group code, found '(.*)')", "此处应为组码, 却是“%1”"},
    {R"(group code (\d+) needs a number, found '(.*)')", "组码 %1 应为数字, 却是“%2”"},
    {R"(group code (\d+) needs a whole number, found '(.*)')", "组码 %1 应为整数, 却是“%2”"},
    {R"(group code (\d+) needs a handle, found '(.*)')", "组码 %1 应为句柄, 却是“%2”"},
    {R"(expected group code 0 \(SECTION or EOF\), found (.*))",
     "此处应为组码 0 (SECTION 或 EOF), 却是 %1"},
    {R"(expected SECTION or EOF, found '(.*)')", "此处应为 SECTION 或 EOF, 却是“%1”"},
    {R"(unknown section '(.*)')", "未知的段“%1”"},
    {R"(missing SEQEND after (.*))", "%1 之后缺少 SEQEND"},
    {R"(expected (.*) or SEQEND after (.*), found '(.*)')", "%2 之后应为 %1 或 SEQEND, 却是“%3”"},
    {R"((.*) inside section (.*) \(missing ENDSEC\))", "段 %2 中出现 %1 (缺少 ENDSEC)"},
    {R"((.*) inside (.*) \(missing (.*)\))", "%2 中出现 %1 (缺少 %3)"},
    {R"(LWPOLYLINE has no vertex count \(group code 90\))", "LWPOLYLINE 缺少顶点数 (组码 90)"},
    {R"((.*) is missing group code (\d+))", "%1 缺少组码 %2"},
    {R"((.*) has the invalid group code (.*))", "%1 含有无效的组码 %2"},
    {R"(cannot write a valid DXF: (.*))", "无法写出有效的 DXF: %1"},
};

constexpr std::pair<const char*, const char*> kSystemErrors[] = {
    {"No such file or directory", "文件不存在"},
    {"Permission denied", "没有权限"},
    {"Read-only file system", "文件系统只读"},
    {"No space left on device", "磁盘空间不足"},
};

QString Translate(const QString& message) {
  for (const auto& p : kPatterns) {
    const QRegularExpression re(QStringLiteral("^%1$").arg(QString::fromUtf8(p.english)));
    const auto m = re.match(message);
    if (!m.hasMatch()) continue;
    QString out = QString::fromUtf8(p.chinese);
    for (int i = 1; i <= m.lastCapturedIndex(); ++i) {
      QString part = m.captured(i);
      if (part == "open") part = QStringLiteral("打开");
      if (part == "write") part = QStringLiteral("写入");
      for (const auto& [en, zh] : kSystemErrors)
        if (part == QLatin1String(en)) part = QString::fromUtf8(zh);
      out = out.arg(part);
    }
    return out;
  }
  return message;
}

}  // namespace

QString DxfMessageInChinese(const QString& message) {
  static const QRegularExpression with_line(QStringLiteral(R"(^(.+?):(\d+): (.*)$)"));
  static const QRegularExpression with_file(QStringLiteral(R"(^(.+?): (.*)$)"));
  if (auto m = with_line.match(message); m.hasMatch())
    return QStringLiteral("文件 %1 第 %2 行: %3")
        .arg(m.captured(1), m.captured(2), Translate(m.captured(3)));
  if (auto m = with_file.match(message); m.hasMatch())
    return QStringLiteral("文件 %1: %2").arg(m.captured(1), Translate(m.captured(2)));
  return Translate(message);
}

}  // namespace nygui
