// The module's bitmap resources ("RECWALL", "LIGHTON", "NYICON", ...) as icons.
#pragma once

#include <QIcon>
#include <string>

namespace nygui {

// An empty icon for an unknown name.
QIcon BitmapIcon(const std::string& name);

}  // namespace nygui
