// Distribution-curve chooser: 330 x 220 dialog units. Labels without an id of their own use
// ids from 9190 on.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 219;
  t.caption = "选择配光曲线—岚序软件";
  t.width = 330;
  t.height = 220;
  auto prompt = Ctl(354, K::kStatic, "", 6, 6, 318, 40);
  prompt.multiline = true;
  auto ok = Ctl(1, K::kButton, "替换", 200, 200, 56, 14);
  ok.default_button = true;
  t.controls = {
      prompt,
      Ctl(9190, K::kStatic, "光源名称", 6, 54, 34, 10),
      Ctl(304, K::kDropList, "", 42, 52, 70, 120),
      Ctl(9191, K::kStatic, "生产厂家", 118, 54, 34, 10),
      Ctl(379, K::kDropList, "", 154, 52, 70, 120),
      Ctl(353, K::kList, "光源名称\t灯具型号\t生产厂家", 6, 70, 160, 124),
      Ctl(9192, K::kGroup, "预览", 172, 66, 152, 128),
      Ctl(376, K::kPicture, "", 178, 78, 140, 110),
      ok,
      Ctl(2, K::kButton, "取消", 264, 200, 56, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(219, &Make);

}  // namespace
}  // namespace nyres
