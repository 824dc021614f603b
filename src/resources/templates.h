// Dialog templates of the module, by resource id. Each dialog's template lives in its own file
// and registers itself here.
#pragma once

#include <functional>

#include "host/dialog.h"

namespace nyres {

using TemplateFactory = nyhost::DialogTemplate (*)();

// The template of a dialog resource; an empty template (id 0) when unknown.
nyhost::DialogTemplate DialogTemplateOf(int id);
std::vector<int> DialogTemplateIds();

struct TemplateRegistrar {
  TemplateRegistrar(int id, TemplateFactory factory);
};

// Shorthand for building templates: control(id, kind, caption, x, y, w, h).
nyhost::ControlTemplate Ctl(int id, nyhost::ControlKind kind, const char* caption, int x, int y,
                            int w, int h);

}  // namespace nyres
