// nyluxora-gui [PLAN.dxf] [--data-dir DIR] [--module FILE] [--script FILE] [--version]
#pragma once

#include <QString>
#include <QStringList>

namespace nygui {

// The desktop's command line, read before any window exists.
struct DesktopArgs {
  QString plan, data_dir, module, script;
  bool help = false;
  bool version = false;
  QString help_text;
  QString error;  // a command line that cannot be used; empty when fine
};

// Parses the arguments (the program name first). Needs a QCoreApplication for the help text.
DesktopArgs ParseDesktopArgs(const QStringList& args);

// True when Qt can open windows: a display, or a platform chosen with QT_QPA_PLATFORM or
// -platform.
bool HaveDisplay(int argc, char** argv);

// Loads Qt's own Chinese texts (message box buttons, file dialogs); false when they are missing.
bool LoadQtTranslations();

// Exit statuses: 0 done, 1 a script step failed, 2 a bad command line, plan, script or display.
int RunDesktop(int argc, char** argv);

}  // namespace nygui
