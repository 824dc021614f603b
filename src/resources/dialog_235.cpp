// Batch edit of luminaires: one grid row with the values the selected luminaires share.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 235;
  t.caption = "灯具批量修改—岚序软件";
  t.width = 680;
  t.height = 69;
  t.controls = {
      Ctl(404, K::kStatic, "", 4, 4, 672, 40),
      Ctl(4513, K::kGrid, "", 4, 4, 672, 40),
      Ctl(402, K::kButton, "确定", 560, 50, 54, 14),
      Ctl(403, K::kButton, "取消", 620, 50, 54, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(235, &Make);

}  // namespace
}  // namespace nyres
