// A form at a DPI: its fonts, its controls' places, its icons and its own size.
#include <tuple>
#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/resources.h"
#include "platform/win32/win32_form.h"

namespace zorvane::win32 {

FormFonts FormFonts::at(const FormLayout& layout, UINT dpi) {
    FormFonts fonts{.form = layout.font ? createFont(*layout.font, dpi) : createDialogFont(dpi)};
    for (const ControlLayout& control : layout.controls) {
        if (control.font) fonts.controls.emplace(control.id, createFont(*control.font, dpi));
    }
    return fonts;
}

HFONT FormFonts::of(const ControlLayout& control) const {
    const auto own = controls.find(control.id);
    return own != controls.end() ? own->second.get() : form.get();
}

void Win32Form::place(HWND window, const ControlLayout& layout) {
    const RECT r = toPixels(layout.rect, layout_.unit, dpi_);
    SetWindowPos(window, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.of(layout)), TRUE);
}

void Win32Form::layOut(UINT dpi) {
    dpi_ = dpi;
    setIcons(dpi);
    // The old fonts go once no control uses them any more.
    const FormFonts old = std::exchange(fonts_, FormFonts::at(layout_, dpi));
    for (const ControlLayout& control : layout_.controls) {
        if (const HWND window = child(control.id).window) place(window, control);
    }
}

void Win32Form::setIcons(UINT dpi) {
    if (layout_.kind == FormKind::Tool) return;
    // Each size loaded for itself: a shared icon is the first size loaded of it, whatever size
    // is asked. A module without the icon shows the default.
    for (const auto& [which, size, icon] :
         {std::tuple{ICON_BIG, 32, &bigIcon_}, std::tuple{ICON_SMALL, 16, &smallIcon_}}) {
        const int pixels = MulDiv(size, static_cast<int>(dpi), 96);
        UniqueIcon loaded(static_cast<HICON>(
            LoadImageW(instance_, MAKEINTRESOURCEW(ZORVANE_ICON), IMAGE_ICON, pixels, pixels, 0)));
        SendMessageW(hwnd(), WM_SETICON, which, reinterpret_cast<LPARAM>(loaded.get()));
        *icon = std::move(loaded);  // the one it replaces is shown no more
    }
}

SIZE Win32Form::windowSize(UINT dpi) const {
    return outerSize(toPixels({0, 0, layout_.clientWidth, layout_.clientHeight}, layout_.unit, dpi),
                     hwnd(), dpi);
}

}  // namespace zorvane::win32
