#include "platform/win32/win32_form.h"

#include <stdexcept>
#include <string>
#include <utility>

#include "platform/win32/dpi.h"
#include "platform/win32/form_children.h"
#include "platform/win32/prompt_dialog.h"
#include "platform/win32/wide.h"
#include "platform/win32/win32_ui.h"

namespace zorvane::win32 {

Win32Form::Win32Form(HINSTANCE instance, const FormLayout& layout, std::optional<int> firstShow)
    : instance_(instance), layout_(layout), highContrast_(highContrastOn()), firstShow_(firstShow) {
    const bool tool = layout.kind == FormKind::Tool;
    const DWORD style =
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | (tool ? 0 : WS_MINIMIZEBOX);
    // Sized once its DPI is known, which is the DPI of the monitor it is placed on.
    create(tool ? WS_EX_TOOLWINDOW : 0, formClassName, widen(layout.caption).c_str(), style,
           CW_USEDEFAULT, CW_USEDEFAULT, 0, 0, nullptr, instance);
    dpi_ = dpiOf(hwnd());
    fonts_ = FormFonts::at(layout_, dpi_);
    const SIZE size = windowSize(dpi_);
    SetWindowPos(hwnd(), nullptr, 0, 0, size.cx, size.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

    setIcons(dpi_);
    for (const ControlLayout& control : layout.controls) {
        createControl(instance, control);
    }
}

// The window goes first: its controls still use the fonts until they are destroyed.
Win32Form::~Win32Form() { destroyWindow(); }

void Win32Form::createControl(HINSTANCE instance, const ControlLayout& layout) {
    if (children_.contains(layout.id)) {
        throw std::invalid_argument("control id " + std::to_string(layout.id) + " is used twice");
    }
    if (layout.kind == ControlKind::Timer) {
        children_.emplace(layout.id, Child{layout.kind, nullptr});
        timers_.try_emplace(layout.id, hwnd(), layout.id, layout.intervalMs);
        return;
    }
    HWND parent = hwnd();
    if (layout.parentId != 0) {
        const auto frame = children_.find(layout.parentId);
        if (frame == children_.end() || frame->second.kind != ControlKind::Frame) {
            throw std::invalid_argument("control id " + std::to_string(layout.id) +
                                        " is not in a frame created before it");
        }
        parent = frame->second.window;
    }

    const RECT pixels = toPixels(layout.rect, layout_.unit, dpi_);
    const HWND window = createChild(instance, parent, layout, fonts_.of(layout),
                                    pixels.bottom - pixels.top, pictures_);
    place(window, layout);
    children_.emplace(layout.id, Child{layout.kind, window});
    if ((GetWindowLongPtrW(window, GWL_STYLE) & WS_TABSTOP) && !focus_) focus_ = window;

    switch (layout.kind) {
        case ControlKind::Label:
        case ControlKind::TextBox:
        case ControlKind::MultiLineTextBox:
            texts_.try_emplace(layout.id, window);
            break;
        case ControlKind::CheckBox:
            checkBoxes_.try_emplace(layout.id, window);
            break;
        case ControlKind::ListBox:
            listBoxes_.try_emplace(layout.id, window);
            break;
        default:
            break;
    }
}

const Win32Form::Child& Win32Form::child(int id) const {
    const auto found = children_.find(id);
    if (found == children_.end()) {
        throw std::invalid_argument("no control with id " + std::to_string(id));
    }
    return found->second;
}

template <class Control>
Control& Win32Form::find(std::map<int, Control>& controls, int id, const char* kind) {
    const auto found = controls.find(id);
    if (found == controls.end()) {
        throw std::invalid_argument("no " + std::string(kind) + " with id " + std::to_string(id));
    }
    return found->second;
}

void Win32Form::onClick(int id, Handler handler) {
    child(id);
    clickHandlers_[id] = std::move(handler);
}

void Win32Form::onDoubleClick(int id, Handler handler) {
    child(id);
    doubleClickHandlers_[id] = std::move(handler);
}

void Win32Form::onTimer(int id, Handler handler) {
    find(timers_, id, "timer");
    timerHandlers_[id] = std::move(handler);
}

void Win32Form::run(const std::map<int, Handler>& handlers, int id) {
    const auto found = handlers.find(id);
    if (found == handlers.end() || !found->second) return;
    const Handler handler = found->second;  // outlives a handler that destroys the form
    handler();
}

void Win32Form::show() {
    if (const auto first = std::exchange(firstShow_, std::nullopt)) {
        // As the program was started ("run minimized", say); never maximized, it has no
        // maximize box (and should Windows maximize it anyway, WM_SIZE restores it).
        ShowWindow(hwnd(), *first == SW_SHOWMAXIMIZED ? SW_SHOWNORMAL : *first);
        return;
    }
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
}

void Win32Form::messageBox(std::string_view text, std::string_view title) {
    MessageBoxW(hwnd(), widen(text).c_str(), widen(title).c_str(), MB_OK);
}

std::string Win32Form::prompt(std::string_view text, std::string_view title) {
    PromptDialog dialog{.title = widen(title), .prompt = widen(text)};
    return dialog.run(hwnd()) ? narrow(dialog.value) : std::string();
}

}  // namespace zorvane::win32
