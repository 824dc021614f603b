// nyluxora-gui [PLAN.dxf] [--data-dir DIR] [--module FILE] [--script FILE]
#pragma once

namespace nygui {

int RunDesktop(int argc, char** argv);

}  // namespace nygui
