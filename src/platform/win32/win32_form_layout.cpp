// A form at a DPI: its fonts, its controls' places and its own size.
#include <utility>

#include "platform/win32/dpi.h"
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
    // The old fonts go once no control uses them any more.
    const FormFonts old = std::exchange(fonts_, FormFonts::at(layout_, dpi));
    for (const ControlLayout& control : layout_.controls) {
        if (const HWND window = child(control.id).window) place(window, control);
    }
}

SIZE Win32Form::windowSize(UINT dpi) const {
    return outerSize(toPixels({0, 0, layout_.clientWidth, layout_.clientHeight}, layout_.unit, dpi),
                     hwnd(), dpi);
}

}  // namespace zorvane::win32
