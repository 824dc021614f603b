// The utilization-coefficient (lumen method) dialog (resource 215): room, reflectances,
// standard, luminaire and two lamp sets in; luminaire count, illuminance and power density with
// their verdicts out; named schemes, the remembered state and lamps per luminaire kept in files.
#pragma once

#include <optional>
#include <string>

#include "base/dialog_base.h"
#include "host/entity.h"
#include "lumen/cu_lookup.h"
#include "lumen/lumen_scheme.h"
#include "refdata/name_translations.h"

extern "C" {
// The report language of the lumen dialogs opened from now on (1 English, 0 Chinese) instead of
// the language file's; -1 goes back to the file. Lets a batch run choose without changing the
// user's setting.
__attribute__((visibility("default"))) void NyLuxoraReportLanguage(int language);
}

class CZirIrodoDlg : public ModelessDialogBase {
 public:
  static constexpr int kTemplateId = 215;
  static constexpr const char* kSection = "CZirIrodoDlg";

  CZirIrodoDlg() : ModelessDialogBase(kTemplateId) {}

  // NYZirIrodo_LYXS_RECT / _POLYGON: `pick` draws the outline (the room picking of the point
  // method, handed in by the command table) and gives its id, null when cancelled.
  void PickRoom(nyhost::EntityId (*pick)());
  // The room size from the remembered outline; "房间面积=0!" when there is none.
  void UpdateRoomFromOutline();
  // "计算".
  void CalculateAverageIlluminance();
  // "出计算书": the report of the values as they stand, as a word-processor document.
  void WriteCalculationReport();
  // "编辑模板": the report template of the current language opened for editing.
  void EditReportTemplate();

  // Data exchange: true reads the controls into the record (false when a number field holds no
  // number or the maintenance factor is out of range), false shows the record.
  bool UpdateData(bool save);
  const LumenState& state() const { return state_; }
  const std::string& scheme_file() const { return scheme_file_; }

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnSelChange(nyhost::Dialog& dlg, int id) override;
  void OnKillFocus(nyhost::Dialog& dlg, int id) override;
  void OnSpin(nyhost::Dialog& dlg, int id, int delta) override;
  void OnDestroy(nyhost::Dialog& dlg) override;

 protected:
  void ShowHelpTopic() override;

 private:
  // The language file's value, or the one a batch run chose.
  void FillFixedLists(nyhost::Dialog& dlg);
  void FillLampKinds();
  void LampKindChanged(int set);
  void LampModelChanged(int set);
  void LampPowerChanged(int set);
  void LampCountChanged(int set, int delta);
  void RestoreLampLists();
  void SaveLampMemory();
  void RecalculateCu(int digits);
  void ReloadTable();
  void ShowVerdicts();
  void ClearResults();
  void OnLuminaireButton();
  void OnStandardsButton();
  void OnReflectanceButton(bool ceiling);
  void OnMaintenanceMenu();
  void NewScheme();
  void SaveSchemeButton();
  void DeleteSchemeButton();
  void LoadSchemeNamed(const std::string& name);
  void AddSchemeOnTop(const std::string& name);

  LumenState state_;
  StandardEdition edition_ = CurrentEdition();  // the standard's, for the verdicts
  std::optional<CuTable> table_;
  std::string scheme_file_;
  std::string scheme_name_;
  nyhost::EntityId outline_ = nyhost::kNullId;
  int report_language_ = 0;
  NameTranslations names_;  // for the English report
  bool busy_ = false;       // a handler runs
};
