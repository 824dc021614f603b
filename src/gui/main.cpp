// nyluxora-gui: the desktop front-end of the drawing host.
#include "gui/app.h"

int main(int argc, char** argv) { return nygui::RunDesktop(argc, argv); }
