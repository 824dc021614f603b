#include "resources/templates.h"

#include <map>

namespace nyres {
namespace {
std::map<int, TemplateFactory>& Registry() {
  static std::map<int, TemplateFactory> registry;
  return registry;
}
}  // namespace

TemplateRegistrar::TemplateRegistrar(int id, TemplateFactory factory) {
  Registry()[id] = factory;
}

nyhost::DialogTemplate DialogTemplateOf(int id) {
  auto it = Registry().find(id);
  return it == Registry().end() ? nyhost::DialogTemplate{} : it->second();
}

std::vector<int> DialogTemplateIds() {
  std::vector<int> ids;
  for (const auto& [id, f] : Registry()) ids.push_back(id);
  return ids;
}

nyhost::ControlTemplate Ctl(int id, nyhost::ControlKind kind, const char* caption, int x, int y,
                            int w, int h) {
  nyhost::ControlTemplate c;
  c.id = id;
  c.kind = kind;
  c.caption = caption;
  c.x = x;
  c.y = y;
  c.w = w;
  c.h = h;
  return c;
}

}  // namespace nyres
