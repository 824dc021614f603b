// Entry of a new standards place with its values.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 218;
  t.caption = "新建—岚序软件";
  t.width = 220;
  t.height = 140;
  auto ok = Ctl(1, K::kButton, "确定", 100, 120, 50, 14);
  ok.default_button = true;
  t.controls = {
      Ctl(1010, K::kStatic, "名称", 8, 10, 80, 10),
      Ctl(1001, K::kEdit, "", 92, 8, 120, 12),
      Ctl(1011, K::kStatic, "照度lx", 8, 28, 80, 10),
      Ctl(1002, K::kEdit, "", 92, 26, 120, 12),
      Ctl(1012, K::kStatic, "现行功率密度W/m2", 8, 46, 80, 10),
      Ctl(1003, K::kEdit, "", 92, 44, 120, 12),
      Ctl(1013, K::kStatic, "目标功率密度W/m2", 8, 64, 80, 10),
      Ctl(1004, K::kEdit, "", 92, 62, 120, 12),
      Ctl(1014, K::kStatic, "统一眩光值", 8, 82, 80, 10),
      Ctl(1005, K::kEdit, "", 92, 80, 120, 12),
      Ctl(1015, K::kStatic, "显色指数", 8, 100, 80, 10),
      Ctl(1006, K::kEdit, "", 92, 98, 120, 12),
      ok,
      Ctl(2, K::kButton, "取消", 160, 120, 50, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(218, &Make);

}  // namespace
}  // namespace nyres
