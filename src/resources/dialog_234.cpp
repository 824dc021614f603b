// Effect settings of the distribution drawing: effect names, colour scale, absolute range and
// recommended ranges, with a preview of the colours.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 234;
  t.caption = "效果设置—岚序软件";
  t.width = 302;
  t.height = 111;
  auto ok = Ctl(387, K::kButton, "确定", 186, 90, 50, 14);
  ok.default_button = true;
  t.controls = {
      Ctl(2340, K::kStatic, "效果名称", 8, 10, 40, 10),
      Ctl(388, K::kCombo, "", 50, 8, 100, 80),
      Ctl(394, K::kButton, "+", 154, 8, 14, 12),
      Ctl(395, K::kButton, "-", 170, 8, 14, 12),
      Ctl(2341, K::kStatic, "色    调", 8, 28, 40, 10),
      Ctl(390, K::kDropList, "", 50, 26, 100, 80),
      Ctl(2342, K::kGroup, "设置照度绘制范围", 8, 44, 176, 40),
      Ctl(2343, K::kStatic, "最大照度 lx", 14, 58, 50, 10),
      Ctl(391, K::kCombo, "", 66, 56, 40, 80),
      Ctl(2344, K::kStatic, "最小照度 lx", 14, 70, 50, 10),
      Ctl(392, K::kCombo, "", 66, 68, 40, 80),
      Ctl(2345, K::kStatic, "根据场景选择推荐值", 192, 10, 100, 10),
      Ctl(389, K::kDropList, "", 192, 22, 72, 80),
      Ctl(396, K::kButton, "+", 266, 22, 14, 12),
      Ctl(397, K::kButton, "-", 282, 22, 14, 12),
      Ctl(398, K::kPicture, "", 192, 44, 104, 40),
      ok,
      Ctl(393, K::kButton, "取消", 244, 90, 50, 14),
  };
  return t;
}

const TemplateRegistrar kRegister(234, Make);

}  // namespace
}  // namespace nyres
