// Functions the host resolves by name in the module file.
#pragma once

#define NY_EXPORT __attribute__((visibility("default")))

extern "C" {
NY_EXPORT void ExModuleLoad();
NY_EXPORT void ExModuleUnload();
NY_EXPORT void DrawRectOnLight();
NY_EXPORT void DRAW_LIGHT();
NY_EXPORT void ZIRIRODO_CALH_PERDOT();
NY_EXPORT void NYZirIrodo_LYXS();
NY_EXPORT void NYZirIrodo_LYXS_RECT();
NY_EXPORT void NYZirIrodo_LYXS_POLYGON();
NY_EXPORT void ZirIrodo_DOT();
NY_EXPORT void ZIRIRODO_LIGHTOFF();
NY_EXPORT void NYZirIrodo_DOT_LIGHTON();
NY_EXPORT void NYZirIrodo_DOT_RECT();
NY_EXPORT void NYZirIrodo_DOT_POLYGON();
NY_EXPORT void NYZirIrodo_DOT_JSS();
NY_EXPORT void NYZirIrodo_DOT_CalUGRPt();
}
