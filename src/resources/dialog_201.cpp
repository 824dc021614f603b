// Luminaire chooser of the lumen method.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 201;
  t.caption = "灯具设定—岚序软件";
  t.width = 300;
  t.height = 190;
  auto ok = Ctl(1, K::kButton, "确定", 240, 168, 50, 14);
  ok.default_button = true;
  t.controls = {
      Ctl(1000, K::kStatic, "光源", 8, 10, 30, 10),
      Ctl(226, K::kDropList, "", 40, 8, 100, 100),
      Ctl(279, K::kList, "", 8, 26, 132, 150),
      Ctl(282, K::kPicture, "", 150, 8, 140, 90),
      Ctl(1001, K::kStatic, "距高比", 150, 106, 40, 10),
      Ctl(277, K::kStatic, "", 192, 106, 60, 10),
      Ctl(1002, K::kStatic, "型号", 150, 122, 40, 10),
      Ctl(227, K::kCombo, "", 192, 120, 64, 100),
      Ctl(327, K::kButton, "+", 258, 120, 14, 12),
      Ctl(328, K::kButton, "-", 274, 120, 14, 12),
      Ctl(1003, K::kStatic, "利用系数", 150, 140, 40, 10),
      Ctl(229, K::kEdit, "", 192, 138, 50, 12),
      Ctl(228, K::kButton, "查看利用系数表", 150, 168, 80, 14),
      ok,
  };
  return t;
}

const TemplateRegistrar kRegistrar(201, &Make);

}  // namespace
}  // namespace nyres
