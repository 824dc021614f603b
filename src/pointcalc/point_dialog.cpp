#include "pointcalc/point_dialog.h"

#include "frame/module_state.h"
#include "host/host.h"
#include "support/ny_ini_file.h"

void CNYDrawIsolineDlg::OnInitDialog(nyhost::Dialog& dlg) {
  NyIniFile::LoadWindowPos(dlg, kSection, Module().SettingsFile);
}

void CNYDrawIsolineDlg::OnClick(nyhost::Dialog&, int id) {
  switch (id) {
    case 335:
      SendCommand("redraw");
      SendCommand("NYZirIrodo_DOT_RECT");
      break;
    case 334:
      SendCommand("redraw");
      SendCommand("NYZirIrodo_DOT_POLYGON");
      break;
    case 333:
      SendCommand("redraw");
      SendCommand("ZIRIRODO_LIGHTOFF");
      break;
    case 323:
      SendCommand("redraw");
      SendCommand("ZIRIRODO_LIGHTON");
      break;
    case 336:
      SendCommand("DRAW_LIGHT");
      break;
    case 353:
      SendCommand("ZIRIRODO_CALH_PERDOT");
      break;
    case 367:
      SendCommand("NYZirIrodo_DOT_CalUGRPt");
      break;
    case 351:
      SendCommand("NYZirIrodo_DOT_JSS");
      break;
    case 374:
      ShowHelp("照明规范", "建筑照明设计规范GB50034-2004/outline_0.htm");
      break;
    default:
      break;
  }
}

void CNYDrawIsolineDlg::OnDestroy(nyhost::Dialog& dlg) {
  if (ModuleLoaded()) {
    NyIniFile::SaveWindowPos(dlg, kSection, Module().SettingsFile);
    if (Module().PointDialog == this) Module().PointDialog = nullptr;
  }
  window_ = nullptr;
  delete this;
}

void CNYDrawIsolineDlg::ShowHelpTopic() {
  ShowHelp("NY", "ME/逐点法照度计算/逐点法照度计算.htm");
}

void CNYDrawIsolineDlg::ShowRowLuminaires() {}
void CNYDrawIsolineDlg::DrawDistribution() {}
void CNYDrawIsolineDlg::CalculateVerticalPlane() {}
void CNYDrawIsolineDlg::SwitchLuminairesOff() {}
void CNYDrawIsolineDlg::SwitchLuminairesOn() {}
void CNYDrawIsolineDlg::PickRectangleRoom() {}
void CNYDrawIsolineDlg::PickPolygonRoom() {}
void CNYDrawIsolineDlg::WriteReport() {}
void CNYDrawIsolineDlg::CalculateGlareAtPoint() {}
