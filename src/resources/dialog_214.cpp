// Point-method dialog: 680 x 255 dialog units, 宋体 9 pt.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 214;
  t.caption = "逐点法照度计算—岚序软件";
  t.width = 680;
  t.height = 255;
  auto bitmap = [](int id, const char* bmp, int x) {
    auto c = Ctl(id, K::kBitmapButton, "", x, 4, 20, 18);
    c.bitmap = bmp;
    return c;
  };
  t.controls = {
      bitmap(335, "RECWALL", 4),
      bitmap(334, "POLYGONWALL", 26),
      bitmap(333, "LIGHTOFF", 48),
      bitmap(323, "LIGHTON", 70),
      bitmap(324, "MULTIEDIT", 92),
      Ctl(369, K::kStatic, "房间名称", 120, 8, 34, 10),
      Ctl(370, K::kEdit, "", 156, 6, 80, 12),
      Ctl(337, K::kButton, "水平照度", 4, 236, 50, 14),
      Ctl(353, K::kButton, "垂直照度", 58, 236, 50, 14),
      Ctl(367, K::kButton, "某点眩光", 112, 236, 50, 14),
      Ctl(336, K::kButton, "绘制照度分布", 166, 236, 60, 14),
      Ctl(351, K::kButton, "生成计算书", 230, 236, 54, 14),
      Ctl(374, K::kButton, "规范说明", 288, 236, 50, 14),
      Ctl(4512, K::kGrid, "", 4, 26, 480, 200),
  };
  return t;
}

const TemplateRegistrar kRegistrar(214, &Make);

}  // namespace
}  // namespace nyres
