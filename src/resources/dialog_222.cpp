// Database import and backup: 230 x 90 dialog units. Labels without an id of their own use ids
// from 9220 on.
#include "resources/templates.h"

namespace nyres {
namespace {

using K = nyhost::ControlKind;

nyhost::DialogTemplate Make() {
  nyhost::DialogTemplate t;
  t.id = 222;
  t.caption = "照度计算数据库导入备份—岚序软件";
  t.width = 230;
  t.height = 90;
  auto import = Ctl(378, K::kRadio, "导入", 14, 18, 40, 10);
  import.group_start = true;
  t.controls = {
      Ctl(9220, K::kGroup, "操作", 6, 6, 218, 28),
      import,
      Ctl(379, K::kRadio, "备份", 70, 18, 40, 10),
      Ctl(386, K::kStatic, "从...导入", 6, 42, 60, 10),
      Ctl(352, K::kEdit, "", 6, 54, 196, 12),
      Ctl(383, K::kButton, "…", 206, 54, 18, 12),
      Ctl(376, K::kButton, "开始", 168, 72, 56, 14),
  };
  return t;
}

const TemplateRegistrar kRegistrar(222, &Make);

}  // namespace
}  // namespace nyres
