// Utilization-coefficient table editor: the grid, the series switch, save and cancel.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 210;
  t.caption = "编辑利用系数—岚序软件";
  t.width = 420;
  t.height = 210;
  auto ok = Ctl(1, K::kButton, "保存修改", 250, 188, 70, 14);
  ok.default_button = true;
  t.controls = {
      Ctl(301, K::kGrid, "", 6, 6, 408, 176),
      Ctl(310, K::kButton, "<<", 6, 188, 30, 14),
      ok,
      Ctl(2, K::kButton, "取消修改", 330, 188, 70, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(210, &Make);

}  // namespace
}  // namespace nyres
