// Point-method dialog: 680 x 255 dialog units, 宋体 9 pt. Left: tool buttons, room name and the
// luminaire table; right: results, density, standards and drawing settings; bottom: actions.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::ControlTemplate ReadOnly(int id, int x, int y, int w, int h) {
  auto c = Ctl(id, K::kEdit, "", x, y, w, h);
  c.read_only = true;
  return c;
}

nyhost::ControlTemplate Bitmap(int id, const char* caption, const char* bmp, int x, int y, int w,
                               int h) {
  auto c = Ctl(id, K::kBitmapButton, caption, x, y, w, h);
  c.bitmap = bmp;
  return c;
}

nyhost::ControlTemplate Group(nyhost::ControlTemplate c) {
  c.group_start = true;
  return c;
}

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 214;
  t.caption = "逐点法照度计算—岚序软件";
  t.width = 680;
  t.height = 255;
  constexpr int R = 492;  // left edge of the right-hand column
  t.controls = {
      // Tool buttons and room name.
      Bitmap(335, "", "RECWALL", 4, 4, 20, 18),
      Bitmap(334, "", "POLYGONWALL", 26, 4, 20, 18),
      Bitmap(333, "", "LIGHTOFF", 48, 4, 20, 18),
      Bitmap(323, "", "LIGHTON", 70, 4, 20, 18),
      Bitmap(324, "", "MULTIEDIT", 92, 4, 20, 18),
      Ctl(369, K::kStatic, "房间名称", 122, 8, 34, 10),
      Ctl(370, K::kEdit, "", 158, 6, 100, 12),
      Ctl(402, K::kCheck, "精确光度", 266, 7, 48, 10),
      // The luminaire table lies over frame 322.
      Ctl(322, K::kStatic, "", 4, 26, 482, 204),
      Ctl(4512, K::kGrid, "", 4, 26, 482, 204),

      // Results.
      Ctl(340, K::kGroup, "计算结果", R, 2, 184, 112),
      Ctl(343, K::kStatic, "计算照度平均值 lx", R + 6, 14, 76, 10),
      ReadOnly(243, R + 84, 12, 94, 12),
      Ctl(341, K::kStatic, "最大值", R + 6, 28, 30, 10),
      Ctl(241, K::kStatic, "0", R + 38, 28, 50, 10),
      Ctl(342, K::kStatic, "最小值", R + 92, 28, 30, 10),
      Ctl(242, K::kStatic, "0", R + 124, 28, 54, 10),
      Ctl(364, K::kStatic, "计算工作区均匀度", R + 6, 42, 76, 10),
      ReadOnly(232, R + 84, 40, 94, 12),
      Ctl(365, K::kStatic, "计算功率密度", R + 6, 56, 76, 10),
      ReadOnly(358, R + 84, 54, 94, 12),
      Ctl(345, K::kStatic, "标准照度平均值 lx", R + 6, 70, 76, 10),
      ReadOnly(245, R + 84, 68, 94, 12),
      Ctl(371, K::kStatic, "标准工作区均匀度", R + 6, 84, 76, 10),
      ReadOnly(233, R + 84, 82, 94, 12),
      Ctl(372, K::kStatic, "标准功率密度", R + 6, 98, 76, 10),
      ReadOnly(360, R + 84, 96, 94, 12),

      // Density and reference data.
      Ctl(366, K::kStatic, "计算密度", R, 122, 36, 10),
      Ctl(338, K::kEdit, "", R + 38, 120, 60, 12),
      [] {
        auto c = Ctl(339, K::kSpin, "", R + 98, 120, 10, 12);
        c.buddy = 338;
        return c;
      }(),
      Bitmap(210, "照度标准", "STANDARD", R + 112, 119, 72, 14),
      Bitmap(209, "灯具扩充", "LIGHTADD", R, 136, 58, 14),
      Bitmap(359, "光源扩充", "LAMPADD", R + 62, 136, 58, 14),
      Bitmap(374, "规范说明", "CODEHELP", R + 124, 136, 60, 14),

      // Drawing settings.
      Ctl(346, K::kGroup, "设置照度绘制效果", R, 154, 184, 74),
      Group(Ctl(330, K::kRadio, "点", R + 8, 166, 30, 10)),
      Ctl(332, K::kRadio, "线", R + 44, 166, 30, 10),
      Ctl(331, K::kRadio, "面", R + 80, 166, 30, 10),
      Ctl(356, K::kCheck, "标注", R + 122, 166, 40, 10),
      Ctl(401, K::kStatic, "照度范围", R + 8, 182, 36, 10),
      Ctl(399, K::kDropList, "", R + 48, 180, 128, 60),
      Ctl(400, K::kStatic, "效果", R + 8, 198, 36, 10),
      Ctl(388, K::kDropList, "", R + 48, 196, 104, 60),
      Ctl(387, K::kButton, ">>", R + 156, 196, 20, 13),

      // Actions.
      Bitmap(337, "水平照度", "HORIZONTAL", 4, 236, 56, 15),
      Bitmap(353, "垂直照度", "VERTICAL", 64, 236, 56, 15),
      Bitmap(354, "各点眩光", "UGRALL", 124, 236, 56, 15),
      Bitmap(367, "某点眩光", "UGRPOINT", 184, 236, 56, 15),
      Bitmap(336, "绘制照度分布", "DRAWLIGHT", R, 234, 90, 16),
      Bitmap(351, "生成计算书", "REPORT", R + 94, 234, 90, 16),

      // Legend fields, their captions and the legend grid: hidden in this layout.
      Ctl(347, K::kStatic, "最大值", 250, 238, 24, 10),
      Ctl(221, K::kEdit, "", 276, 236, 30, 12),
      Ctl(348, K::kStatic, "最小值", 310, 238, 24, 10),
      Ctl(244, K::kEdit, "", 336, 236, 30, 12),
      Ctl(349, K::kStatic, "间  隔", 370, 238, 24, 10),
      Ctl(222, K::kEdit, "", 396, 236, 30, 12),
      [] {
        auto c = Ctl(326, K::kSpin, "", 426, 236, 10, 12);
        c.buddy = 222;
        return c;
      }(),
      Ctl(321, K::kStatic, "", 250, 224, 180, 10),
      Ctl(4511, K::kGrid, "", 250, 224, 180, 10),
      Ctl(320, K::kButton, "Button1", 440, 236, 40, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(214, &Make);

}  // namespace
}  // namespace nyres
