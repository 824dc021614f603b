// The point-method dialog (resource 214): the modeless window that drives the point-by-point
// calculation: room picking, the luminaire table, horizontal illuminance with its verdicts, and
// the buttons that hand the other steps to host commands.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "base/dialog_base.h"
#include "draw/ny_lxr_draw.h"
#include "host/host.h"
#include "pointcalc/point_data.h"

struct ReportPoint;

class CNYDrawIsolineDlg : public ModelessDialogBase {
 public:
  static constexpr int kTemplateId = 214;
  static constexpr const char* kSection = "CNYDrawIsolineDlg";
  static constexpr const char* kStandardSection = "照度标准—岚序软件";
  // Layers of the drawn results: points, lines and areas; their labels and the legend.
  static constexpr const char* kResultLayer = "电气-照明-照度计算点";
  static constexpr const char* kResultTextLayer = "电气-照明-照度标注";
  static constexpr int kLegendGridId = 4511;
  static constexpr int kPreciseCheck = 402;  // "精确光度"

  CNYDrawIsolineDlg() : ModelessDialogBase(kTemplateId) {}

  // Operations of the commands that need this dialog.
  void ShowRowLuminaires();
  void DrawDistribution();
  void CalculateVerticalPlane();
  void SwitchLuminairesOff();
  void SwitchLuminairesOn();
  void PickRectangleRoom();
  void PickPolygonRoom();
  void WriteReport();
  void CalculateGlareAtPoint();

  // "水平照度": the horizontal calculation of the current room.
  void CalculateHorizontal();
  // "各点眩光": the worst glare rating at every grid point of the room.
  void CalculateGlareAllPoints();

  // Data exchange with the controls: true reads the controls into the data (false when a number
  // field does not hold a number), false writes the data to the controls.
  bool UpdateData(bool save);
  PointDialogData& data() { return data_; }
  const PointDialogData& data() const { return data_; }
  // The luminaire-name translations read at start (Chinese, English).
  const std::vector<std::pair<std::string, std::string>>& name_translations() const {
    return translations_;
  }

  void OnInitDialog(nyhost::Dialog& dlg) override;
  void OnClick(nyhost::Dialog& dlg, int id) override;
  void OnSelChange(nyhost::Dialog& dlg, int id) override;
  void OnKillFocus(nyhost::Dialog& dlg, int id) override;
  void OnSpin(nyhost::Dialog& dlg, int id, int delta) override;
  void OnCellClick(nyhost::Dialog& dlg, int id, int row, int col) override;
  void OnCellEndEdit(nyhost::Dialog& dlg, int id, int row, int col) override;
  bool OnKey(nyhost::Dialog& dlg, int key) override;
  void OnDestroy(nyhost::Dialog& dlg) override;

 protected:
  void ShowHelpTopic() override;

 private:
  void RegisterToolTips(nyhost::Dialog& dlg);
  void CreateGrids(nyhost::Dialog& dlg);
  void ApplyDrawingSettings();
  void PassDrawingSettings();
  void OnEffectButton();
  void LoadStandardValues();
  void ResetLimitLabel();
  void ApplyColours();
  void RefillLegend();
  void SaveRememberedLamps();
  void StartRoomCommand(const char* command);
  void PickRoom(bool polygon);
  // The point report as a PDF at `path`, the marks drawn for the picks left out of its picture.
  void WritePdfReport(const std::vector<ReportPoint>& points,
                      const std::vector<nyhost::EntityId>& markers, const std::string& path);
  void OnStandardsButton();
  void OnBatchEdit();
  void OnDensityLostFocus();
  void OnDensitySpin(int delta);
  void OnLegendSpin(int delta);
  void OnEnterKey();
  void LoadNameTranslations();
  bool SelectLuminaires(const char* prompt, std::vector<nyhost::EntityId>& ids);
  void OnLegendClick(int row, int col);
  // Undo, another plan or an erased outline: re-read the room, or forget it when it is gone.
  void OnDrawingEvent(nyhost::DrawingEvent e);

  PointDialogData data_;
  NyLXRDrawDll draw_;
  std::vector<std::pair<std::string, std::string>> translations_;
  std::vector<nyhost::EntityId> frame_luminaires_;  // luminaires DrawRectOnLight frames
  std::vector<double> legend_levels_;
  std::vector<int> legend_colours_;  // colour index chosen per legend level; 0: none yet
  bool busy_ = false;
  int drawing_listener_ = 0;
};
