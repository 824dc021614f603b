// Illuminance-standards dialog: the tree of categories and places on the left, the values of the
// chosen place on the right.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 207;
  t.caption = "照度标准—岚序软件";
  t.width = 370;
  t.height = 200;
  auto ok = Ctl(1, K::kButton, "确定", 206, 178, 54, 14);
  ok.default_button = true;
  t.controls = {
      Ctl(236, K::kTree, "", 6, 6, 180, 188),
      Ctl(365, K::kStatic, "标准规定值lx", 194, 10, 76, 10),
      Ctl(360, K::kEdit, "", 272, 8, 52, 12),
      Ctl(366, K::kStatic, "功率密度(现行)W/m2", 194, 28, 76, 10),
      Ctl(361, K::kEdit, "", 272, 26, 52, 12),
      Ctl(367, K::kStatic, "功率密度(目标)W/m2", 194, 46, 76, 10),
      Ctl(362, K::kEdit, "", 272, 44, 52, 12),
      Ctl(368, K::kStatic, "统一眩光", 194, 64, 76, 10),
      Ctl(363, K::kEdit, "", 272, 62, 52, 12),
      Ctl(369, K::kStatic, "显色指数", 194, 82, 76, 10),
      Ctl(364, K::kEdit, "", 272, 80, 52, 12),
      [] {
        auto c = Ctl(370, K::kStatic, "照度均匀度:作业区域> 0.7 临近周围> 0.5 通道和非作业区> 1/3",
                     194, 102, 130, 36);
        c.multiline = true;
        return c;
      }(),
      // Beyond the original dialog: which edition of the standard the tree and verdicts follow.
      Ctl(372, K::kStatic, "标准版本", 194, 152, 34, 10),
      Ctl(371, K::kDropList, "", 230, 150, 134, 60),
      ok,
      Ctl(2, K::kButton, "取消", 266, 178, 54, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(207, &Make);

}  // namespace
}  // namespace nyres
