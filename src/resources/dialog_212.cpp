// Surface reflectance: material buttons, colour buttons, the value with its steps.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  static const char* const kMaterials[15] = {"粉刷",     "喷白",     "砂浆",   "混凝土", "砖墙",
                                             "釉面墙",   "水磨石",   "大理石", "沥青",   "调和漆",
                                             "塑料贴面", "塑料壁纸", "马赛克", "钢板",   "玻璃"};
  nyhost::DialogTemplate t;
  t.id = 212;
  t.caption = "反射率—岚序软件";
  t.width = 250;
  t.height = 160;
  t.controls.push_back(Ctl(1100, K::kGroup, "材料", 4, 2, 242, 68));
  for (int i = 0; i < 15; ++i)
    t.controls.push_back(
        Ctl(1039 + i, K::kButton, kMaterials[i], 10 + (i % 5) * 46, 14 + (i / 5) * 18, 44, 14));
  t.controls.push_back(Ctl(1101, K::kGroup, "精选", 4, 72, 242, 34));
  for (int i = 0; i < 6; ++i)
    t.controls.push_back(Ctl(1056 + i, K::kButton, "无", 10 + i * 39, 84, 37, 14));
  auto ok = Ctl(1, K::kButton, "确认", 190, 140, 50, 14);
  ok.default_button = true;
  const std::vector<nyhost::ControlTemplate> rest = {
      Ctl(1102, K::kStatic, "当前选择:", 10, 112, 40, 10),
      Ctl(1082, K::kStatic, "", 52, 112, 60, 10),
      Ctl(1103, K::kStatic, "精选选择:", 120, 112, 40, 10),
      Ctl(1087, K::kStatic, "", 162, 112, 60, 10),
      Ctl(1104, K::kStatic, "反射率", 10, 142, 30, 10),
      Ctl(274, K::kEdit, "", 42, 140, 50, 12),
      Ctl(320, K::kButton, "+", 94, 140, 14, 12),
      Ctl(321, K::kButton, "-", 110, 140, 14, 12),
      ok,
  };
  t.controls.insert(t.controls.end(), rest.begin(), rest.end());
  return t;
}

const TemplateRegistrar kRegistrar(212, &Make);

}  // namespace
}  // namespace nyres
