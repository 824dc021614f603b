// Entry functions the host calls by exported name: ExModuleLoad, ExModuleUnload and the thirteen
// commands of group "NYZirIrodo".
#include "frame/module_entry.h"

#include "base/module_state.h"
#include "host/host.h"
#include "lumen/lumen_dialog.h"
#include "pointcalc/point_dialog.h"
#include "pointcalc/room_grid.h"
#include "refdata/luminaire_record.h"
#include "refdata/missing_curve.h"
#include "refdata/reference_db.h"
#include "support/ny_common.h"

void ResetModuleState();

namespace {

constexpr const char* kGroup = "NYZirIrodo";

struct CommandRow {
  const char* name;
  const char* entry;
};

// Registration order is part of the module's contract with the host.
constexpr CommandRow kCommands[] = {
    {"DrawRectOnLight", "DrawRectOnLight"},
    {"DRAW_LIGHT", "DRAW_LIGHT"},
    {"ZIRIRODO_CALH_PERDOT", "ZIRIRODO_CALH_PERDOT"},
    {"NYZirIrodo_LYXS", "NYZirIrodo_LYXS"},
    {"NYZirIrodo_LYXS_RECT", "NYZirIrodo_LYXS_RECT"},
    {"NYZirIrodo_LYXS_POLYGON", "NYZirIrodo_LYXS_POLYGON"},
    {"ZIRIRODO_DOT", "ZirIrodo_DOT"},
    {"ZIRIRODO_LIGHTOFF", "ZIRIRODO_LIGHTOFF"},
    {"ZIRIRODO_LIGHTON", "NYZirIrodo_DOT_LIGHTON"},
    {"NYZirIrodo_DOT_RECT", "NYZirIrodo_DOT_RECT"},
    {"NYZirIrodo_DOT_POLYGON", "NYZirIrodo_DOT_POLYGON"},
    {"NYZirIrodo_DOT_JSS", "NYZirIrodo_DOT_JSS"},
    {"NYZirIrodo_DOT_CalUGRPt", "NYZirIrodo_DOT_CalUGRPt"},
};

constexpr const char* kClosed = "对话框已关闭!";
constexpr const char* kClosedNewLine = "\n对话框已关闭!";

// The point dialog if it is open; otherwise prints `message` (when given) and returns null.
CNYDrawIsolineDlg* OpenPointDialog(const char* message) {
  CNYDrawIsolineDlg* dlg = ModuleLoaded() ? Module().PointDialog : nullptr;
  if (dlg && dlg->IsOpen()) return dlg;
  if (message) nyhost::Host::Get().Print(message);
  return nullptr;
}

CZirIrodoDlg* OpenLyxsDialog(const char* message) {
  CZirIrodoDlg* dlg = ModuleLoaded() ? Module().LyxsDialog : nullptr;
  if (dlg && dlg->IsOpen()) return dlg;
  if (message) nyhost::Host::Get().Print(message);
  return nullptr;
}

}  // namespace

extern "C" {

void ExModuleLoad() {
  nyhost::Host& host = nyhost::Host::Get();
  host.Print("\n欢迎使用岚序软件!\n");
  ModuleState& state = Module();
  for (const auto& c : kCommands) host.MountCommand(c.name, kGroup, c.entry);
  InitModuleFolders(state, NyCommon::ModuleFileName(ModuleAddress()));
}

void ExModuleUnload() {
  nyhost::Host& host = nyhost::Host::Get();
  host.UnmountGroup(kGroup);
  if (!ModuleLoaded()) return;
  ModuleState& state = Module();
  CloseAllConnections();
  ResetDeviceKindMap();
  ResetCurvePolicy();
  if (state.LyxsDialog) {
    if (state.LyxsDialog->IsOpen()) state.LyxsDialog->DestroyWindow();
    delete state.LyxsDialog;  // still set only when destroying did not free it
    state.LyxsDialog = nullptr;
  }
  if (state.PointDialog) {
    if (state.PointDialog->IsOpen()) state.PointDialog->DestroyWindow();
    delete state.PointDialog;
    state.PointDialog = nullptr;
  }
  // Closing dialogs save remembered lamps, which reopens a database.
  CloseAllConnections();
  ResetModuleState();
}

void DrawRectOnLight() {
  if (auto* dlg = OpenPointDialog(kClosed)) dlg->ShowRowLuminaires();
}

void DRAW_LIGHT() {
  if (auto* dlg = OpenPointDialog(kClosed)) dlg->DrawDistribution();
}

void ZIRIRODO_CALH_PERDOT() {
  if (auto* dlg = OpenPointDialog(kClosed)) dlg->CalculateVerticalPlane();
}

void NYZirIrodo_LYXS() {
  if (!nyhost::Host::Get().drawing() || !ModuleLoaded()) return;
  ModuleState& state = Module();
  if (!state.LyxsDialog || !state.LyxsDialog->IsOpen()) {
    delete state.LyxsDialog;
    state.LyxsDialog = new CZirIrodoDlg();
    state.LyxsDialog->Create();
  }
  state.LyxsDialog->FocusAndRestore();
}

void NYZirIrodo_LYXS_RECT() {
  if (auto* dlg = OpenLyxsDialog(kClosed)) dlg->PickRoom(&PickRectangleOutline);
}

void NYZirIrodo_LYXS_POLYGON() {
  if (auto* dlg = OpenLyxsDialog(kClosed)) dlg->PickRoom(&PickPolygonOutline);
}

void ZirIrodo_DOT() {
  if (!nyhost::Host::Get().drawing() || !ModuleLoaded()) return;
  ModuleState& state = Module();
  if (!state.PointDialog || !state.PointDialog->IsOpen()) {
    delete state.PointDialog;
    state.PointDialog = new CNYDrawIsolineDlg();
    state.PointDialog->Create();
  }
  state.PointDialog->FocusAndRestore();
}

void ZIRIRODO_LIGHTOFF() {
  if (auto* dlg = OpenPointDialog(kClosedNewLine)) dlg->SwitchLuminairesOff();
}

void NYZirIrodo_DOT_LIGHTON() {
  if (auto* dlg = OpenPointDialog(kClosedNewLine)) dlg->SwitchLuminairesOn();
}

void NYZirIrodo_DOT_RECT() {
  if (auto* dlg = OpenPointDialog(kClosed)) dlg->PickRectangleRoom();
}

void NYZirIrodo_DOT_POLYGON() {
  if (auto* dlg = OpenPointDialog(kClosed)) dlg->PickPolygonRoom();
}

void NYZirIrodo_DOT_JSS() {
  if (auto* dlg = OpenPointDialog(kClosedNewLine)) dlg->WriteReport();
}

void NYZirIrodo_DOT_CalUGRPt() {
  if (auto* dlg = OpenPointDialog(nullptr)) dlg->CalculateGlareAtPoint();
}

}  // extern "C"
