// Utilization-coefficient dialog: 440 x 278 dialog units. Left column: schemes, room and
// luminaire; right column: the two lamp sets and the results; bottom: actions.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::ControlTemplate ReadOnly(int id, int x, int y, int w, int h) {
  auto c = Ctl(id, K::kEdit, "", x, y, w, h);
  c.read_only = true;
  return c;
}

nyhost::ControlTemplate Spin(int id, int buddy, int x, int y) {
  auto c = Ctl(id, K::kSpin, "", x, y, 10, 12);
  c.buddy = buddy;
  return c;
}

nyhost::ControlTemplate Bitmap(int id, const char* bmp, int x, int y) {
  auto c = Ctl(id, K::kBitmapButton, "", x, y, 20, 16);
  c.bitmap = bmp;
  return c;
}

// Light-source set at `y`: kind, model, count with spin, power, ballast, flux.
void LampSet(std::vector<nyhost::ControlTemplate>& c, const char* title, int y, int kind, int model,
             int count, int spin, int power, int ballast, int flux, int base_id) {
  constexpr int X = 226;
  c.push_back(Ctl(base_id, K::kGroup, title, X, y, 210, 74));
  c.push_back(Ctl(base_id + 1, K::kStatic, "光源类型", X + 6, y + 12, 40, 10));
  c.push_back(Ctl(kind, K::kDropList, "", X + 48, y + 10, 70, 100));
  c.push_back(Ctl(base_id + 2, K::kStatic, "型号", X + 122, y + 12, 26, 10));
  c.push_back(Ctl(model, K::kDropList, "", X + 150, y + 10, 54, 100));
  c.push_back(Ctl(base_id + 3, K::kStatic, "灯数量", X + 6, y + 28, 40, 10));
  c.push_back(Ctl(count, K::kEdit, "", X + 48, y + 26, 60, 12));
  c.push_back(Spin(spin, count, X + 108, y + 26));
  c.push_back(Ctl(base_id + 4, K::kStatic, "功率W", X + 122, y + 28, 26, 10));
  c.push_back(Ctl(power, K::kDropList, "", X + 150, y + 26, 54, 100));
  c.push_back(Ctl(base_id + 5, K::kStatic, "镇流器W", X + 6, y + 44, 40, 10));
  c.push_back(Ctl(ballast, K::kCombo, "", X + 48, y + 42, 70, 100));
  c.push_back(Ctl(base_id + 6, K::kStatic, "光通量lm", X + 6, y + 60, 40, 10));
  c.push_back(Ctl(flux, K::kEdit, "", X + 48, y + 58, 70, 12));
}

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 215;
  t.caption = "利用系数法照度计算—岚序软件";
  t.width = 440;
  t.height = 278;
  std::vector<nyhost::ControlTemplate> c = {
      // Schemes.
      Ctl(1100, K::kGroup, "数据保存", 4, 2, 216, 32),
      Ctl(388, K::kCombo, "", 10, 14, 100, 100),
      Ctl(409, K::kButton, "新建", 114, 13, 32, 14),
      Ctl(406, K::kButton, "保存", 148, 13, 32, 14),
      Ctl(407, K::kButton, "删除", 182, 13, 32, 14),
      // Room.
      Ctl(1101, K::kGroup, "房间参数", 4, 36, 216, 134),
      Ctl(1102, K::kStatic, "房间长 M", 10, 50, 54, 10),
      Ctl(287, K::kEdit, "", 66, 48, 60, 12),
      Bitmap(219, "RECWALL", 150, 46),
      Bitmap(218, "POLYGONWALL", 174, 46),
      Ctl(1103, K::kStatic, "房间宽 M", 10, 66, 54, 10),
      Ctl(288, K::kEdit, "", 66, 64, 60, 12),
      Ctl(1104, K::kStatic, "灯具距工作面M", 10, 82, 54, 10),
      Ctl(264, K::kCombo, "", 66, 80, 60, 100),
      Ctl(1105, K::kStatic, "窗墙比  %", 10, 98, 54, 10),
      Ctl(262, K::kCombo, "", 66, 96, 60, 100),
      Ctl(1106, K::kStatic, "顶棚反射率 %", 10, 114, 54, 10),
      Ctl(216, K::kEdit, "", 66, 112, 60, 12),
      Ctl(213, K::kButton, ">>", 128, 112, 16, 12),
      Ctl(1107, K::kStatic, "墙反射率 %", 10, 130, 54, 10),
      Ctl(217, K::kEdit, "", 66, 128, 60, 12),
      Ctl(214, K::kButton, ">>", 128, 128, 16, 12),
      Ctl(1108, K::kStatic, "照度标准 lx", 10, 146, 54, 10),
      Ctl(226, K::kEdit, "", 66, 144, 60, 12),
      Ctl(235, K::kButton, ">>", 128, 144, 16, 12),
      // Luminaire.
      Ctl(1109, K::kGroup, "灯具参数", 4, 172, 216, 80),
      Ctl(1110, K::kStatic, "灯具", 10, 186, 54, 10),
      ReadOnly(289, 66, 184, 110, 12),
      Ctl(208, K::kButton, ">>", 178, 184, 16, 12),
      Ctl(1111, K::kStatic, "最大距高比", 10, 202, 54, 10),
      ReadOnly(240, 66, 200, 60, 12),
      Ctl(1112, K::kStatic, "维护系数", 10, 218, 54, 10),
      Ctl(221, K::kEdit, "", 66, 216, 60, 12),
      Ctl(224, K::kButton, ">>", 128, 216, 16, 12),
      Ctl(209, K::kButton, "扩充", 178, 216, 32, 14),
      Ctl(1113, K::kStatic, "利用系数", 10, 234, 54, 10),
      Ctl(318, K::kStatic, "-1", 66, 234, 60, 10),
  };
  LampSet(c, "光源参数1", 2, 229, 230, 270, 337, 322, 324, 284, 1120);
  c.push_back(Ctl(359, K::kButton, "扩充", 396, 58, 32, 14));
  LampSet(c, "光源参数2", 78, 231, 237, 273, 338, 323, 325, 286, 1130);
  const std::vector<nyhost::ControlTemplate> results = {
      Ctl(1140, K::kGroup, "计算结果", 226, 154, 210, 82),
      Ctl(1141, K::kStatic, "实际照度lx", 232, 168, 70, 10),
      Ctl(227, K::kEdit, "", 304, 166, 80, 12),
      Ctl(1142, K::kStatic, "灯具数", 232, 184, 70, 10),
      Ctl(228, K::kEdit, "", 304, 182, 70, 12),
      Spin(339, 228, 374, 182),
      Ctl(1143, K::kStatic, "功率密度w/m2", 232, 200, 70, 10),
      ReadOnly(358, 304, 198, 80, 12),
      Ctl(405, K::kStatic, "标准功率密度w/m2", 232, 216, 70, 10),
      ReadOnly(360, 304, 214, 80, 12),
      Ctl(239, K::kButton, "计算", 226, 256, 60, 16),
      Ctl(238, K::kButton, "出计算书", 300, 256, 60, 16),
      Ctl(341, K::kButton, "编辑模板", 374, 256, 60, 16),
  };
  c.insert(c.end(), results.begin(), results.end());
  t.controls = std::move(c);
  return t;
}

const TemplateRegistrar kRegistrar(215, &Make);

}  // namespace
}  // namespace nyres
