#include "standards/edition.h"

#include "base/module_state.h"
#include "host/text_util.h"
#include "standards/standards_dialog.h"
#include "support/ny_ini_file.h"

namespace {

constexpr EditionInfo kEditions[] = {
    {StandardEdition::k2004, "2004", "GB 50034-2004", "照度标准", "", "照度标准模板"},
    {StandardEdition::k2024, "2024", "GB/T 50034-2024 (GB 55015-2021)", "照度标准2024", "_2024",
     "照度标准模板2024"},
};

void ReplaceAll(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at))
    text.replace(at, from.size(), to), at += to.size();
}

}  // namespace

const EditionInfo& InfoOf(StandardEdition edition) {
  return kEditions[edition == StandardEdition::k2024 ? 1 : 0];
}

std::optional<StandardEdition> EditionFromKey(const std::string& key) {
  for (const auto& e : kEditions)
    if (key == e.key) return e.edition;
  return std::nullopt;
}

std::optional<StandardEdition> EditionFromLabel(const std::string& label) {
  for (const auto& e : kEditions)
    if (label == e.label) return e.edition;
  return std::nullopt;
}

std::string EditionLabel(StandardEdition edition) { return InfoOf(edition).label; }

StandardEdition CurrentEdition() {
  if (!ModuleLoaded()) return StandardEdition::k2004;
  const std::string key = NyIniFile::ReadKey(CNyStandardDlg::kSection, kEditionKey, std::string(),
                                             Module().SettingsFile);
  return EditionFromKey(nyhost::Trim(key)).value_or(StandardEdition::k2004);
}

bool ReachesStandard(StandardEdition edition, double average, double standard_lx) {
  if (edition == StandardEdition::k2024) return average * 10 >= standard_lx * 9;
  return average >= standard_lx;
}

double StandardUniformity(StandardEdition edition, double u0) {
  if (edition == StandardEdition::k2004) return 0.7;
  return u0 >= 0 && u0 <= 1 ? u0 : 0;
}

std::string EditionVerdict(StandardEdition edition, const std::string& text) {
  if (edition == StandardEdition::k2004 || text.empty()) return text;
  std::string t = text;
  // "小于" first: the replacement of "大于等于" must not be read again.
  ReplaceAll(t, "计算照度小于标准照度", "计算照度低于标准照度的90%");
  ReplaceAll(t, "计算照度大于等于标准照度", "计算照度不低于标准照度的90%");
  return t + "；依据" + InfoOf(edition).label;
}
