// Distribution-curve editor: 170 x 250 dialog units.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 216;
  t.caption = "编辑配光曲线—岚序软件";
  t.width = 170;
  t.height = 250;
  auto save = Ctl(1, K::kButton, "保存修改", 24, 228, 56, 14);
  save.default_button = true;
  t.controls = {
      Ctl(302, K::kGrid, "", 6, 6, 158, 214),
      save,
      Ctl(2, K::kButton, "取消修改", 90, 228, 56, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(216, &Make);

}  // namespace
}  // namespace nyres
