// Light-source editor: 330 x 190 dialog units. Labels without an id of their own use ids from
// 9090 on.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 209;
  t.caption = "光源扩充—岚序软件";
  t.width = 330;
  t.height = 190;
  t.controls = {
      Ctl(9090, K::kStatic, "光源名称", 6, 8, 34, 10),
      Ctl(305, K::kCombo, "", 42, 6, 100, 120),
      Ctl(9091, K::kStatic, "生产厂家", 170, 8, 34, 10),
      Ctl(378, K::kCombo, "", 206, 6, 118, 120),
      Ctl(229, K::kList, "光源名称\t光源型号\t功率\t光通量\t生产厂家", 6, 24, 318, 110),
      Ctl(9092, K::kStatic, "光源型号", 6, 144, 34, 10),
      Ctl(296, K::kEdit, "", 42, 142, 100, 12),
      Ctl(9093, K::kStatic, "功率 W", 150, 144, 30, 10),
      Ctl(294, K::kEdit, "", 182, 142, 40, 12),
      Ctl(9094, K::kStatic, "光通量 lm", 230, 144, 40, 10),
      Ctl(295, K::kEdit, "", 272, 142, 52, 12),
      Ctl(292, K::kButton, "保存修改", 6, 168, 60, 14),
      Ctl(293, K::kButton, "删除", 72, 168, 60, 14),
      Ctl(385, K::kButton, "数据库备份", 264, 168, 60, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(209, &Make);

}  // namespace
}  // namespace nyres
