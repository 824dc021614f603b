// Starting the desktop: the command line, --help without a display, and a missing or broken plan
// or script end with a message and status 2 instead of a crash or a window.
#include "gui/app.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QTimer>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

#include "gui/main_window.h"
#include "gui/print_export.h"
#include "gui_fixture.h"
#include "host/dxf_io.h"
#include "host/host.h"
#include "test_support.h"

namespace {

const QString kOffice = QStringLiteral(NYLUXORA_TEST_EXAMPLES_DIR "/office.dxf");
const QString kProgram = QStringLiteral(NYLUXORA_TEST_BUILD_DIR "/bin/nyluxora-gui");

QString In(const nytest::TempDir& dir, const char* name) {
  return QString::fromStdString((dir.path() / name).string());
}

QString WriteFile(const nytest::TempDir& dir, const char* name, const QByteArray& bytes) {
  QString path = In(dir, name);
  QFile f(path);
  if (f.open(QIODevice::WriteOnly)) f.write(bytes);
  return path;
}

// Once the file chooser is open: keeps the file it proposes and its types into `*proposed` and
// `*types`, chooses the type `type`, and accepts `name` in `folder`.
void ChooseFileLater(const QString& folder, const char* name, int type, QString* proposed,
                     QStringList* types) {
  QTimer::singleShot(50, [=] {
    if (auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      *proposed = chooser->selectedFiles().value(0);
      *types = chooser->nameFilters();
      chooser->setDirectory(folder);
      chooser->selectNameFilter(types->value(type));
      if (auto* line = chooser->findChild<QLineEdit*>("fileNameEdit")) line->setText(name);
      static_cast<QDialog*>(chooser)->accept();  // as the OK button does
    }
  });
}

TEST(DesktopArgs, ParsesThePlanAndOptionsAndRejectsTheRest) {
  guitest::App();
  struct Case {
    QStringList args;
    QString plan, data_dir, script, error_part;
    bool help;
  } cases[] = {
      {{}, "", "", "", "", false},
      {{"plan.dxf"}, "plan.dxf", "", "", "", false},
      {{"--data-dir", "/tmp/d", "--script", "s.txt", "a.dxf"},
       "a.dxf",
       "/tmp/d",
       "s.txt",
       "",
       false},
      {{"--help"}, "", "", "", "", true},
      {{"-h", "plan.dxf"}, "", "", "", "", true},
      {{"-platform", "offscreen", "--help"}, "", "", "", "", true},  // Qt's options do not hide it
      {{"--bogus"}, "", "", "", "bogus", false},
      {{"a.dxf", "b.dxf"}, "", "", "", "one plan at a time", false},
      {{"--script"}, "", "", "", "script", false},  // the option lacks its value
  };
  for (const auto& c : cases) {
    nygui::DesktopArgs a = nygui::ParseDesktopArgs(QStringList{"nyluxora-gui"} + c.args);
    const std::string what = c.args.join(' ').toStdString() + ": " + a.error.toStdString();
    EXPECT_EQ(a.help, c.help) << what;
    EXPECT_EQ(a.error.isEmpty(), c.error_part.isEmpty()) << what;
    if (!c.error_part.isEmpty()) {
      EXPECT_TRUE(a.error.contains(c.error_part)) << what;
    } else if (c.help) {
      EXPECT_TRUE(a.help_text.contains("--data-dir") && a.help_text.contains("--script")) << what;
    } else {
      EXPECT_EQ(QStringList({a.plan, a.data_dir, a.script}),
                QStringList({c.plan, c.data_dir, c.script}))
          << what;
    }
  }
}

// Sets (or, given null, clears) environment variables until the scope ends.
struct EnvScope {
  std::map<std::string, std::optional<std::string>> saved;
  static void Put(const char* name, const char* value) {
    value ? setenv(name, value, 1) : unsetenv(name);
  }
  void Set(const char* name, const char* value) {
    const char* old = std::getenv(name);
    saved.try_emplace(name, old ? std::optional<std::string>(old) : std::nullopt);
    Put(name, value);
  }
  ~EnvScope() {
    for (const auto& [name, value] : saved) Put(name.c_str(), value ? value->c_str() : nullptr);
  }
};

TEST(DesktopArgs, ADisplayIsThereWhenQtCanOpenWindows) {
  struct Case {
    const char *display, *wayland, *platform;
    std::vector<const char*> argv;
    bool want;
  } cases[] = {
      {nullptr, nullptr, nullptr, {"nyluxora-gui"}, false},
      {"", nullptr, "", {"nyluxora-gui", "--help"}, false},
      {":0", nullptr, nullptr, {"nyluxora-gui"}, true},
      {nullptr, "wayland-0", nullptr, {"nyluxora-gui"}, true},
      {nullptr, nullptr, "offscreen", {"nyluxora-gui"}, true},
      {nullptr, nullptr, nullptr, {"nyluxora-gui", "-platform", "offscreen"}, true},
  };
  for (const auto& c : cases) {
    EnvScope env;
    env.Set("DISPLAY", c.display);
    env.Set("WAYLAND_DISPLAY", c.wayland);
    env.Set("QT_QPA_PLATFORM", c.platform);
    std::vector<char*> argv;
    for (const char* a : c.argv) argv.push_back(const_cast<char*>(a));
    EXPECT_EQ(nygui::HaveDisplay(static_cast<int>(argv.size()), argv.data()), c.want)
        << (c.display ? c.display : "-") << " " << (c.platform ? c.platform : "-");
  }
}

struct ProgramRun {
  int status = -1;
  bool crashed = false;
  QString out, err;
};

ProgramRun RunProgram(const QStringList& args, bool display, const nytest::TempDir& home) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) env.remove(name);
  if (display) env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("NYLUXORA_SHARE", NYLUXORA_TEST_SHARE_DIR);
  for (const char* name : {"NYLUXORA_HOME", "XDG_CONFIG_HOME"})
    env.insert(name, QString::fromStdString(home.str()));
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(kProgram, args);
  if (!p.waitForFinished(60000)) {
    p.kill();
    p.waitForFinished();
    return {-1, true, "", "timed out"};
  }
  return {p.exitCode(), p.exitStatus() == QProcess::CrashExit,
          QString::fromUtf8(p.readAllStandardOutput()),
          QString::fromUtf8(p.readAllStandardError())};
}

TEST(DesktopProgram, HelpAndBadStartsEndWithAMessageAndAStatus) {
  guitest::App();
  nytest::TempDir dir;
  const QString bad = WriteFile(dir, "bad.dxf", "this is not a drawing\n0\nSECTION\n");
  const QString missing = In(dir, "missing.dxf");
  const QString quit = WriteFile(dir, "quit.txt", "echo hello\nquit\n");
  const QString broken = WriteFile(dir, "broken.txt", "frobnicate now\n");
  struct Case {
    QStringList args;
    bool display;
    int status;
    QString out_part, err_part;
  } cases[] = {
      {{"--help"}, false, 0, "--script", ""},  // no display needed to read the help
      {{"--version"}, false, 0, "(Qt 6.", ""},
      {{"-platform", "offscreen", "--help-all"}, false, 0, "--data-dir", ""},
      {{missing}, false, 2, "", "cannot open the plan"},
      {{bad}, true, 2, "", "expected a group code"},
      {{kOffice, "--script", missing}, true, 2, "", "cannot read the script"},
      {{"--frobnicate"}, true, 2, "", "Unknown option"},
      {{kOffice}, false, 2, "", "no display"},
      {{kOffice, "--script", quit}, true, 0, "", ""},
      {{kOffice, "--script", broken}, true, 1, "", "unknown verb 'frobnicate'"},
  };
  for (const auto& c : cases) {
    const std::string what = c.args.join(' ').toStdString() + (c.display ? "" : " (no display)");
    ProgramRun r = RunProgram(c.args, c.display, dir);
    EXPECT_FALSE(r.crashed) << what << ": " << r.err.toStdString();
    EXPECT_EQ(r.status, c.status) << what << ": " << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(c.out_part)) << what << ": " << r.out.toStdString();
    EXPECT_TRUE(r.err.contains(c.err_part)) << what << ": " << r.err.toStdString();
    const bool named = r.err.startsWith("nyluxora-gui: ") || r.err.contains("\nnyluxora-gui: ");
    EXPECT_TRUE(c.status != 2 || named) << what << ": " << r.err.toStdString();
  }
}

TEST(DesktopPlans, ABrokenPlanKeepsTheOpenOneAndSavingReadsBack) {
  guitest::App();
  nytest::TempDir dir;
  nygui::MainWindow window;
  window.Wire();
  QString error;
  EXPECT_EQ(nygui::ReadPlan(In(dir, "none.dxf"), &error), nullptr);
  EXPECT_TRUE(error.contains("none.dxf"));
  auto plan = nygui::ReadPlan(kOffice, &error);
  ASSERT_TRUE(plan);
  const std::size_t entities = plan->entities().size();
  window.AdoptPlan(std::move(plan), kOffice);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("NYLuxora — office.dxf[*]"));
  nyhost::Drawing* shown = nyhost::Host::Get().drawing();

  // Opening a broken file says why in a message box and leaves the plan as it was.
  QString told;
  guitest::AnswerBoxLater(&told, QMessageBox::Ok);
  EXPECT_FALSE(window.OpenPlan(WriteFile(dir, "bad.dxf", "garbage\n")));
  EXPECT_TRUE(told.contains("bad.dxf") && told.contains(QStringLiteral("第 1 行: 此处应为组码")))
      << told.toStdString();
  EXPECT_EQ(nyhost::Host::Get().drawing(), shown);
  EXPECT_EQ(window.windowTitle(), QStringLiteral("NYLuxora — office.dxf[*]"));

  // Save As proposes the plan's own file and adds ".dxf" to a name typed without it.
  const QString copy = In(dir, "copy.dxf");
  QString proposed;
  QStringList types;
  ChooseFileLater(QFileInfo(copy).path(), "copy", 0, &proposed, &types);
  ASSERT_TRUE(window.SaveAs());
  EXPECT_EQ(proposed, QFileInfo(kOffice).absoluteFilePath());
  EXPECT_EQ(window.windowTitle(), QStringLiteral("NYLuxora — copy.dxf[*]"));
  auto again = nygui::ReadPlan(copy, &error);
  ASSERT_TRUE(again) << error.toStdString();
  EXPECT_EQ(again->entities().size(), entities);
  window.Unwire();
  nyhost::Host::Get().SetDrawing(nullptr);
}

// DXF messages reach the person in Chinese with the file and line first; unknown ones unchanged.
TEST(DesktopPlans, DxfMessagesAreShownInChinese) {
  const std::pair<const char*, const char*> cases[] = {
      {"a.dxf: cannot open: No such file or directory", "文件 a.dxf: 无法打开: 文件不存在"},
      {"a.dxf:12: group code 10 needs a number, found 'x'",
       "文件 a.dxf 第 12 行: 组码 10 应为数字, 却是“x”"},
      {"a.dxf:7: LINE is missing group code 11", "文件 a.dxf 第 7 行: LINE 缺少组码 11"},
      {"a.dxf: truncated: no EOF", "文件 a.dxf: 文件不完整: 缺少 EOF"},
      {"a.dxf:3: something new", "文件 a.dxf 第 3 行: something new"},
  };
  for (const auto& [english, chinese] : cases)
    EXPECT_EQ(nygui::DxfMessageInChinese(QString::fromUtf8(english)), QString::fromUtf8(chinese));
}

// The view printed to PDF at a scale carries the title block (read back by poppler's pdftotext).
TEST(DesktopPlans, PrintsTheViewToPdfWithATitleBlock) {
  guitest::App();
  nytest::TempDir dir;
  auto d = guitest::LineDrawing({0, 0, 0}, {5000, 3000, 0});
  nyrender::ViewTransform view;
  view.center_x = 2500;
  view.center_y = 1500;
  const QString pdf = In(dir, "plan.pdf");
  QString error;
  ASSERT_TRUE(nygui::ExportViewToPdf(*d, view, {pdf, "A4", 50, "plan"}, &error))
      << error.toStdString();
  QProcess text;
  text.start("pdftotext", {pdf, "-"});
  ASSERT_TRUE(text.waitForFinished(30000));
  const QString got = QString::fromUtf8(text.readAllStandardOutput());
  EXPECT_TRUE(got.contains("plan") && got.contains(QStringLiteral("比例 1:50")) &&
              got.contains("A4"))
      << got.toStdString();
  EXPECT_FALSE(
      nygui::ExportViewToPdf(*d, view, {In(dir, "no/such/plan.pdf"), "A4", 50, "plan"}, &error));
}

// The report's save dialog offers the workbook first and a PDF beside it; a name typed under the
// PDF type gets ".pdf", and the desktop's report port writes the PDF.
TEST(DesktopPlans, ReportsCanBeSavedAsPdf) {
  guitest::App();
  nytest::TempDir dir;
  nygui::MainWindow window;
  window.Wire();
  QString proposed;
  QStringList types;
  ChooseFileLater(QString::fromStdString(dir.str()), "r", 1, &proposed, &types);
  const auto chosen = nyhost::Host::Get().windows().FileDialog(
      true, "", "照度计算报告书.xlsx", "Microsoft Excel 工作簿 (*.xlsx)|*.xlsx|PDF 文件 (*.pdf)|*.pdf||");
  ASSERT_EQ(types.size(), 2);
  EXPECT_TRUE(types[0].contains("*.xlsx") && types[1].contains("*.pdf"));
  ASSERT_TRUE(chosen);
  EXPECT_EQ(*chosen, (dir.path() / "r.pdf").string());
  std::string error;
  EXPECT_TRUE(nyhost::Host::Get().reports().WritePdf({"报告", {}}, nullptr, *chosen, error))
      << error;
  EXPECT_TRUE(QFile::exists(QString::fromStdString(*chosen)));
  window.Unwire();
}

// Closing a changed plan asks to save it: Yes saves and closes, No closes and leaves the file as
// it was, Cancel keeps the window and the change.
TEST(DesktopPlans, ClosingAChangedPlanAsksToSaveIt) {
  guitest::App();
  nytest::TempDir dir;
  nyhost::Host& host = nyhost::Host::Get();
  struct Case {
    QMessageBox::StandardButton answer;
    bool closed, saved;
  } cases[] = {{QMessageBox::Yes, true, true},
               {QMessageBox::No, true, false},
               {QMessageBox::Cancel, false, false}};
  for (const auto& c : cases) {
    const QString path = In(dir, "plan.dxf");
    ASSERT_TRUE(
        nyhost::WriteDxf(*guitest::LineDrawing({0, 0, 0}, {10, 0, 0}), path.toStdString()).ok);
    nygui::MainWindow window;
    window.Wire();
    QString error;
    window.AdoptPlan(nygui::ReadPlan(path, &error), path);
    window.show();
    EXPECT_FALSE(window.isWindowModified());
    nyhost::Entity e;
    e.data = nyhost::Line{{0, 5, 0}, {10, 5, 0}};
    host.drawing()->Add(e);
    window.UpdateTitle();
    EXPECT_TRUE(window.isWindowModified());
    QString asked;
    guitest::AnswerBoxLater(&asked, c.answer);
    EXPECT_EQ(window.close(), c.closed) << c.answer;
    EXPECT_TRUE(asked.contains(QStringLiteral("是否保存修改"))) << asked.toStdString();
    auto back = nygui::ReadPlan(path, &error);
    ASSERT_TRUE(back) << error.toStdString();
    EXPECT_EQ(back->LiveIds().size(), c.saved ? 2u : 1u) << c.answer;
    EXPECT_EQ(window.isWindowModified(), !c.saved) << c.answer;
    window.Unwire();
  }
  host.SetDrawing(nullptr);
}

}  // namespace
