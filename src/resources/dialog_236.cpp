// Name of a lumen-method scheme.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 236;
  t.caption = "输入方案名称－岚序软件";
  t.width = 200;
  t.height = 60;
  auto ok = Ctl(1, K::kButton, "确定", 80, 40, 50, 14);
  ok.default_button = true;
  t.controls = {
      Ctl(1001, K::kEdit, "", 8, 10, 182, 12),
      ok,
      Ctl(2, K::kButton, "取消", 140, 40, 50, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(236, &Make);

}  // namespace
}  // namespace nyres
