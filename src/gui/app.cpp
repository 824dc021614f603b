#include "gui/app.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <iostream>

#include "cli/module_path.h"
#include "gui/gui_script.h"
#include "gui/main_window.h"
#include "host/host.h"
#include "host/plugin_loader.h"

namespace nygui {

int RunDesktop(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("nyluxora-gui");
  QApplication::setOrganizationName("NYLuxora");
  QCommandLineParser parser;
  parser.setApplicationDescription("NYLuxora lighting calculation workbench (desktop)");
  parser.addHelpOption();
  parser.addPositionalArgument("plan", "Plan to open (DXF)", "[PLAN.dxf]");
  QCommandLineOption data_dir("data-dir", "The user's data folder (default ~/.local/share/nyluxora)", "DIR");
  QCommandLineOption module("module", "The lighting module to load", "FILE");
  QCommandLineOption script("script", "Drive the desktop from a script (demonstrations)", "FILE");
  parser.addOptions({data_dir, module, script});
  parser.process(app);

  nycli::UseDataDir(parser.value(data_dir).toStdString());
  std::string module_path = parser.isSet(module) ? parser.value(module).toStdString()
                                                 : nycli::DefaultModulePath();

  nyhost::Host& host = nyhost::Host::Get();
  int status = 0;
  {
    MainWindow window;
    window.Wire();
    host.SetDrawing(std::make_unique<nyhost::Drawing>());
    nyhost::PluginLoader loader(host);
    if (!loader.Load(module_path)) {
      QMessageBox::warning(&window, "NYLuxora",
                           QString("无法加载照度计算模块:\n%1").arg(QString::fromStdString(loader.error())));
    }
    window.BuildCommandMenus();
    const QStringList args = parser.positionalArguments();
    if (!args.isEmpty()) window.OpenPlan(args.first());
    window.show();
    window.canvas()->ZoomExtents();
    if (parser.isSet(script)) {
      QString error;
      GuiScript* s = GuiScript::FromFile(&window, parser.value(script), &error);
      if (!s) {
        std::cerr << "nyluxora-gui: " << error.toStdString() << "\n";
        return 2;
      }
      QObject::connect(s, &GuiScript::finished, &window, [&status](bool ok) {
        if (!ok) status = 1;
      });
      s->Start();
    }
    int rc = app.exec();
    if (status == 0) status = rc;
    // The module's dialogs go (saving their settings) while their windows still exist.
    loader.Unload();
    host.windows().Collect();
    window.Unwire();
  }
  return status;
}

}  // namespace nygui
