// Point-method luminaire editor: 360 x 200 dialog units. Labels without an id of their own use
// ids from 9210 on.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 221;
  t.caption = "灯具扩充—岚序软件";
  t.width = 360;
  t.height = 200;
  t.controls = {
      Ctl(9210, K::kStatic, "光源名称", 6, 8, 34, 10),
      Ctl(304, K::kCombo, "", 42, 6, 82, 120),
      Ctl(9211, K::kStatic, "生产厂家", 132, 8, 34, 10),
      Ctl(379, K::kCombo, "", 168, 6, 68, 120),
      Ctl(261, K::kList, "光源名称\t灯具型号\t生产厂家", 6, 24, 230, 126),
      Ctl(9212, K::kGroup, "配光曲线", 242, 2, 112, 148),
      Ctl(375, K::kPicture, "", 248, 14, 100, 130),
      Ctl(9213, K::kStatic, "灯具型号", 6, 160, 34, 10),
      Ctl(381, K::kEdit, "", 42, 158, 194, 12),
      Ctl(390, K::kButton, "导入光度文件", 242, 157, 112, 14),
      Ctl(247, K::kButton, "添加灯具", 6, 178, 56, 14),
      Ctl(373, K::kButton, "保存修改", 68, 178, 56, 14),
      Ctl(248, K::kButton, "删除灯具", 130, 178, 56, 14),
      Ctl(250, K::kButton, "编辑配光曲线", 192, 178, 70, 14),
      Ctl(384, K::kButton, "数据库备份", 298, 178, 56, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(221, &Make);

}  // namespace
}  // namespace nyres
