// Name entry of a new standards category.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 217;
  t.caption = "新建—岚序软件";
  t.width = 200;
  t.height = 60;
  auto ok = Ctl(1, K::kButton, "确定", 80, 40, 50, 14);
  ok.default_button = true;
  t.controls = {
      Ctl(1000, K::kStatic, "名称", 8, 12, 30, 10),
      Ctl(1001, K::kEdit, "", 40, 10, 150, 12),
      ok,
      Ctl(2, K::kButton, "取消", 140, 40, 50, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(217, &Make);

}  // namespace
}  // namespace nyres
