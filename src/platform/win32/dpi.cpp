#include "platform/win32/dpi.h"

#include <cmath>

#include "platform/win32/wide.h"

namespace zorvane::win32 {
namespace {

// Functions of Windows 10 (1607) and later, looked up so that the program still starts on
// older systems; null where there are none.
template <class FunctionPointer>
FunctionPointer laterUser32(const char* name) {
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
    return reinterpret_cast<FunctionPointer>(reinterpret_cast<void (*)()>(found));
}

// The DPI the system reports to the whole program.
int systemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// A font's height in whole pixels at `dpi`, from its height at 96 DPI. Rounded down: a font
// rounded up grows faster than the layout around it, and text that just fits at 96 DPI (8.25
// points make 11 pixels) would be cut at 144 (16.5 pixels).
int fontPixels(double pixelsAt96, UINT dpi) {
    return static_cast<int>(std::floor(pixelsAt96 * dpi / 96));
}

}  // namespace

UINT dpiOf(HWND window) {
    if (const auto getDpi = laterUser32<UINT(WINAPI*)(HWND)>("GetDpiForWindow")) {
        if (const UINT dpi = getDpi(window)) return dpi;
    }
    return static_cast<UINT>(systemDpi());
}

RECT toPixels(const Rect& rect, LayoutUnit unit, UINT dpi) {
    const int perInch = unit == LayoutUnit::Twips ? 1440 : 96;
    const auto pixels = [&](int value) { return MulDiv(value, static_cast<int>(dpi), perInch); };
    return {pixels(rect.left), pixels(rect.top), pixels(rect.left + rect.width),
            pixels(rect.top + rect.height)};
}

SIZE outerSize(const RECT& client, HWND window, UINT dpi) {
    RECT frame = client;
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE));
    using AdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
    if (const auto adjust = laterUser32<AdjustForDpi>("AdjustWindowRectExForDpi")) {
        adjust(&frame, style, FALSE, exStyle, dpi);
    } else {
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    }
    return {frame.right - frame.left, frame.bottom - frame.top};
}

UniqueFont createFont(const Font& font, UINT dpi) {
    const int height = -fontPixels(font.points * 96 / 72, dpi);
    return UniqueFont(CreateFontW(height, 0, 0, 0, font.weight, FALSE, FALSE, FALSE, ANSI_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                  DEFAULT_PITCH | FF_DONTCARE, widen(font.face).c_str()));
}

// Scaled from its size at 96 DPI, like the others.
UniqueFont createDialogFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{.cbSize = sizeof metrics};
    LOGFONTW& font = metrics.lfMessageFont;  // a character height: negative
    using ForDpi = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);
    if (const auto forDpi = laterUser32<ForDpi>("SystemParametersInfoForDpi")) {
        forDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, 96);
    } else {
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        font.lfHeight = MulDiv(font.lfHeight, 96, systemDpi());
    }
    font.lfHeight = -fontPixels(-font.lfHeight, dpi);
    return UniqueFont(CreateFontIndirectW(&font));
}

}  // namespace zorvane::win32
