// Utilization-coefficient dialog.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 215;
  t.caption = "利用系数法照度计算—岚序软件";
  t.width = 420;
  t.height = 300;
  t.controls = {
      Ctl(219, K::kButton, "矩形房间", 4, 4, 50, 14),
      Ctl(218, K::kButton, "多边形房间", 58, 4, 50, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(215, &Make);

}  // namespace
}  // namespace nyres
