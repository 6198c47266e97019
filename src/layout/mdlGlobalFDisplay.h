// mdlGlobalF, part one: the device-capability readers and the display report. The module's menu
// routines live in host/mdlGlobalFMenu.h, because they work on the host's windows while these
// belong with the display metrics.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "contracts/Error.h"

namespace mdlGlobalF {

// Device capabilities of dc, as GetDeviceCaps returns them.
int32_t GetHorzRes(HDC dc, vx::Here here = vx::Here::current());
int32_t GetVertRes(HDC dc, vx::Here here = vx::Here::current());
int32_t GetLogPixelsX(HDC dc, vx::Here here = vx::Here::current());
int32_t GetLogPixelsY(HDC dc, vx::Here here = vx::Here::current());

// "Res:WxH", "DPI:XxY", "BITS:n" joined by CR LF, followed, when the visual-style service
// answers, by "ThemeName:", "ThemeColor:" and "ThemeSize:" lines; no line end after the last.
// A missing or failing theme service leaves the three lines and is not an error.
std::u16string GetDisplayReport(HDC dc, vx::Here here = vx::Here::current());

}  // namespace mdlGlobalF
