#include "lumen/lumen_dialog.h"

#include "base/module_state.h"
#include "support/ny_ini_file.h"

void CZirIrodoDlg::OnInitDialog(nyhost::Dialog& dlg) {
  NyIniFile::LoadWindowPos(dlg, kSection, Module().SettingsFile);
}

void CZirIrodoDlg::OnClick(nyhost::Dialog&, int id) {
  if (id == 219) SendCommand("NYZirIrodo_LYXS_RECT");
  if (id == 218) SendCommand("NYZirIrodo_LYXS_POLYGON");
}

void CZirIrodoDlg::OnDestroy(nyhost::Dialog& dlg) {
  if (ModuleLoaded()) {
    NyIniFile::SaveWindowPos(dlg, kSection, Module().SettingsFile);
    if (Module().LyxsDialog == this) Module().LyxsDialog = nullptr;
  }
  window_ = nullptr;
  delete this;
}

void CZirIrodoDlg::ShowHelpTopic() {
  ShowHelp("NY", "ME/利用系数法照度计算/利用系数法照度计算.html");
}

void CZirIrodoDlg::PickRectangleRoom() {}
void CZirIrodoDlg::PickPolygonRoom() {}
