#include "gui/app.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QTranslator>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>

#include "cli/module_path.h"
#include "gui/gui_script.h"
#include "gui/main_window.h"
#include "host/host.h"
#include "host/plugin_loader.h"

namespace nygui {

namespace {

constexpr int kBadStart = 2;

void PrintError(const QString& message) {
  std::cerr << "nyluxora-gui: " << message.toStdString() << "\n";
}

// Someone can see a message box: not on the windowless platforms, where it would only wait.
bool VisiblePlatform() {
  if (!qobject_cast<QApplication*>(QCoreApplication::instance())) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != "offscreen" && platform != "minimal";
}

// Standard error keeps the English the scripts read; the person at the screen reads Chinese.
void ReportStartError(const QString& message, const QString& shown) {
  PrintError(message);
  if (VisiblePlatform()) QMessageBox::critical(nullptr, QStringLiteral("NYLuxora"), shown);
}

bool NonEmptyEnv(const char* name) {
  const char* v = std::getenv(name);
  return v && *v;
}

}  // namespace

bool LoadQtTranslations() {
  auto* qt = new QTranslator(QCoreApplication::instance());
  const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!qt->load(QLocale(QLocale::Chinese, QLocale::China), "qtbase", "_", dir)) {
    delete qt;
    return false;
  }
  QCoreApplication::installTranslator(qt);
  return true;
}

DesktopArgs ParseDesktopArgs(const QStringList& args) {
  DesktopArgs out;
  QCommandLineParser parser;
  parser.setApplicationDescription("NYLuxora lighting calculation workbench (desktop)");
  QCommandLineOption help = parser.addHelpOption();
  QCommandLineOption version("version", "Print the version and exit");
  parser.addOption(version);
  parser.addPositionalArgument("plan", "Plan to open (DXF)", "[PLAN.dxf]");
  QCommandLineOption data_dir("data-dir",
                              "The user's data folder (default ~/.local/share/nyluxora)", "DIR");
  QCommandLineOption module("module", "The lighting module to load", "FILE");
  QCommandLineOption script("script", "Drive the desktop from a script (demonstrations)", "FILE");
  parser.addOptions({data_dir, module, script});
  const bool parsed = parser.parse(args);
  // The help wins over anything else on the line (Qt's own options included).
  if (parser.isSet(help) || parser.isSet("help-all")) {
    out.help = true;
    out.help_text = parser.helpText();
    return out;
  }
  if (parsed && parser.isSet(version)) {
    out.version = true;
    return out;
  }
  if (!parsed) {
    out.error = parser.errorText() + "\nRun with --help for more information.";
    return out;
  }
  const QStringList positional = parser.positionalArguments();
  if (positional.size() > 1) {
    out.error = "one plan at a time: " + positional.join(' ');
    return out;
  }
  if (!positional.isEmpty()) out.plan = positional.first();
  out.data_dir = parser.value(data_dir);
  out.module = parser.value(module);
  out.script = parser.value(script);
  return out;
}

bool HaveDisplay(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
      return true;
  return NonEmptyEnv("QT_QPA_PLATFORM") || NonEmptyEnv("DISPLAY") || NonEmptyEnv("WAYLAND_DISPLAY");
}

int RunDesktop(int argc, char** argv) {
  // Without a display QApplication aborts; a plain core application still parses, prints the
  // help and reports a bad plan. The help never needs a display, even a broken one.
  const bool display = HaveDisplay(argc, argv);
  bool help = false;
  for (int i = 1; i < argc; ++i)
    for (const char* h : {"-h", "--help", "-?", "--help-all", "--version"})
      help |= std::strcmp(argv[i], h) == 0;
  std::unique_ptr<QCoreApplication> core;
  if (display && !help)
    core = std::make_unique<QApplication>(argc, argv);
  else
    core = std::make_unique<QCoreApplication>(argc, argv);
  QCoreApplication::setApplicationName("nyluxora-gui");
  QCoreApplication::setOrganizationName("NYLuxora");

  DesktopArgs args = ParseDesktopArgs(QCoreApplication::arguments());
  if (args.help) {
    std::cout << args.help_text.toStdString();
    return 0;
  }
  if (args.version) {
    std::cout << VersionText().toStdString() << "\n";
    return 0;
  }
  if (!args.error.isEmpty()) {
    PrintError(args.error);
    return kBadStart;
  }
  // Everything that can be checked before a window opens is.
  std::unique_ptr<nyhost::Drawing> plan;
  if (!args.plan.isEmpty()) {
    QString error;
    plan = ReadPlan(args.plan, &error);
    if (!plan) {
      ReportStartError("cannot open the plan: " + error,
                       QStringLiteral("无法打开图纸:\n") + DxfMessageInChinese(error));
      return kBadStart;
    }
  }
  if (!args.script.isEmpty() && !QFileInfo(args.script).isReadable()) {
    ReportStartError("cannot read the script " + args.script,
                     QStringLiteral("无法读取脚本 %1").arg(args.script));
    return kBadStart;
  }
  if (!display) {
    PrintError("no display to open windows on (set DISPLAY, or QT_QPA_PLATFORM=offscreen)");
    return kBadStart;
  }

  nycli::UseDataDir(args.data_dir.toStdString());
  LoadQtTranslations();
  std::string module_path =
      args.module.isEmpty() ? nycli::DefaultModulePath() : args.module.toStdString();

  nyhost::Host& host = nyhost::Host::Get();
  int status = 0;
  {
    MainWindow window;
    window.Wire();
    host.SetDrawing(std::make_unique<nyhost::Drawing>());
    nyhost::PluginLoader loader(host);
    if (!loader.Load(module_path)) {
      PrintError(QString::fromStdString("cannot load the lighting module: " + loader.error()));
      if (VisiblePlatform())
        QMessageBox::warning(
            &window, "NYLuxora",
            QString("无法加载照度计算模块:\n%1").arg(QString::fromStdString(loader.error())));
    }
    window.BuildCommandMenus();
    if (plan) window.AdoptPlan(std::move(plan), args.plan);
    window.RestoreLayout();
    window.show();
    window.canvas()->ZoomExtents();
    if (!args.script.isEmpty()) {
      QString error;
      GuiScript* s = GuiScript::FromFile(&window, args.script, &error);
      if (!s) {
        PrintError(error);
        status = kBadStart;
      } else {
        // A failed step ends the run: nobody is there to carry on by hand.
        QObject::connect(s, &GuiScript::finished, &window, [&status, &window](bool ok) {
          if (ok) return;
          status = 1;
          window.close();
        });
        s->Start();
      }
    }
    if (status == 0) {
      int rc = QCoreApplication::exec();
      if (status == 0) status = rc;
    }
    // The module's dialogs go (saving their settings) while their windows still exist.
    loader.Unload();
    host.windows().Collect();
    window.Unwire();
  }
  return status;
}

}  // namespace nygui
