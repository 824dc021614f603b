// Lumen-method luminaire catalogue: filters, the list, one row's fields and the buttons.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 208;
  t.caption = "灯具扩充—岚序软件";
  t.width = 400;
  t.height = 230;
  t.controls = {
      Ctl(1000, K::kStatic, "光源名称", 6, 8, 40, 10),
      Ctl(304, K::kCombo, "", 48, 6, 90, 100),
      Ctl(1001, K::kStatic, "生产厂家", 146, 8, 40, 10),
      Ctl(379, K::kCombo, "", 188, 6, 90, 100),
      Ctl(261, K::kList, "", 6, 24, 272, 200),
      Ctl(1002, K::kStatic, "灯具型号", 286, 8, 40, 10),
      Ctl(257, K::kEdit, "", 328, 6, 66, 12),
      Ctl(1003, K::kStatic, "距高比", 286, 24, 40, 10),
      Ctl(256, K::kEdit, "", 328, 22, 66, 12),
      Ctl(299, K::kButton, "", 286, 40, 108, 70),
      Ctl(373, K::kButton, "保存修改", 286, 118, 108, 14),
      Ctl(248, K::kButton, "删除灯具", 286, 136, 108, 14),
      Ctl(250, K::kButton, "编辑利用系数表", 286, 154, 108, 14),
      Ctl(384, K::kButton, "数据库备份", 286, 172, 108, 14),
      Ctl(2, K::kButton, "关闭", 286, 210, 108, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(208, &Make);

}  // namespace
}  // namespace nyres
