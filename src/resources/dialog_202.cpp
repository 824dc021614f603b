// Coefficient lookup window of the luminaire chooser.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 202;
  t.caption = "查利用系数—岚序软件";
  t.width = 260;
  t.height = 110;
  auto ok = Ctl(1, K::kButton, "确定", 140, 90, 50, 14);
  ok.default_button = true;
  auto read_only = [](int id, int x, int y) {
    auto c = Ctl(id, K::kEdit, "", x, y, 60, 12);
    c.read_only = true;
    return c;
  };
  t.controls = {
      Ctl(1100, K::kStatic, "利用系数表", 8, 8, 50, 10),
      read_only(1004, 62, 6),
      Ctl(1101, K::kStatic, "顶棚ρcc", 8, 24, 50, 10),
      read_only(1001, 62, 22),
      Ctl(1102, K::kStatic, "= 顶棚反射率", 126, 24, 120, 10),
      Ctl(1103, K::kStatic, "墙ρw", 8, 40, 50, 10),
      read_only(1002, 62, 38),
      Ctl(1104, K::kStatic, " = 墙反射率×(1 - 窗墙比)", 126, 40, 130, 10),
      Ctl(1105, K::kStatic, "室形指数RI", 8, 56, 50, 10),
      read_only(1003, 62, 54),
      Ctl(1106, K::kStatic, " = 2.5×围墙的面积÷地面的面积", 126, 56, 130, 10),
      Ctl(1107, K::kStatic, "利用系数", 8, 72, 50, 10),
      Ctl(1005, K::kEdit, "", 62, 70, 60, 12),
      ok,
      Ctl(2, K::kButton, "取消", 200, 90, 50, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(202, &Make);

}  // namespace
}  // namespace nyres
