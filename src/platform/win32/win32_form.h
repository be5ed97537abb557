#pragma once
// A Form as a top-level window whose child windows are the form's controls.

#include <windows.h>

#include <map>
#include <optional>

#include "platform/form.h"
#include "platform/win32/base_window.h"
#include "platform/win32/handles.h"
#include "platform/win32/win32_controls.h"

namespace zorvane::win32 {

// Sent to a form's window with a timer's id, answers how many ticks of it were handled: the
// benchmark counts the scans of a program it must not slow down.
inline constexpr wchar_t timerTicksMessage[] = L"ZorvaneTimerTicks";

// A window's fonts at one DPI: its own, and those its controls name for themselves.
struct FormFonts {
    static FormFonts at(const FormLayout& layout, UINT dpi);  // made for that DPI
    HFONT of(const ControlLayout& control) const;
    UniqueFont form;
    std::map<int, UniqueFont> controls;  // by control id
};

class Win32Form final : public Form, BaseWindow {
  public:
    // Throws std::invalid_argument for a description that cannot be built (a repeated id, a
    // label in a frame that does not come before it). `firstShow`, if any: the ShowWindow
    // command of its first showing.
    Win32Form(HINSTANCE instance, const FormLayout& layout,
              std::optional<int> firstShow = std::nullopt);
    ~Win32Form() override;

    TextControl& textControl(int id) override { return find(texts_, id, "text control"); }
    CheckBox& checkBox(int id) override { return find(checkBoxes_, id, "check box"); }
    Timer& timer(int id) override { return find(timers_, id, "timer"); }
    ListBox& listBox(int id) override { return find(listBoxes_, id, "list box"); }

    void onClick(int id, Handler handler) override;
    void onDoubleClick(int id, Handler handler) override;
    void onTimer(int id, Handler handler) override;
    void onClose(Handler handler) override { closeHandler_ = std::move(handler); }

    void show() override;
    void hide() override { ShowWindow(hwnd(), SW_HIDE); }
    bool visible() const override { return IsWindowVisible(hwnd()) != FALSE; }

    void messageBox(std::string_view text, std::string_view title) override;
    std::string prompt(std::string_view text, std::string_view title) override;

  private:
    struct Child {
        ControlKind kind;
        HWND window;  // none for a timer
    };

    // Windows are white with black text, as designed, unless a high-contrast theme runs: then
    // they take the system's colours.
    static bool highContrastOn();
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void createControl(HINSTANCE instance, const ControlLayout& layout);
    // Puts the control in its place, with its font, at the window's DPI.
    void place(HWND window, const ControlLayout& layout);
    // Its fonts, places and icons at `dpi`.
    void layOut(UINT dpi);
    void setIcons(UINT dpi);
    // The outer size of the window whose client area is the layout's at `dpi`.
    SIZE windowSize(UINT dpi) const;
    void command(int id, int code);
    const Child& child(int id) const;

    template <class Control>
    static Control& find(std::map<int, Control>& controls, int id, const char* kind);
    // Calls the handler for `id`, if any. The handler may destroy this form: callers return at
    // once afterwards.
    static void run(const std::map<int, Handler>& handlers, int id);

    HINSTANCE instance_;  // holds the icon
    FormLayout layout_;
    bool highContrast_;
    UINT dpi_ = 96;
    FormFonts fonts_;
    std::vector<UniqueBitmap> pictures_;
    UniqueIcon bigIcon_, smallIcon_;  // none for a tool window
    UINT timerTicksMessage_ = RegisterWindowMessageW(timerTicksMessage);
    std::map<int, Child> children_;
    std::map<int, Win32TextControl> texts_;
    std::map<int, Win32CheckBox> checkBoxes_;
    std::map<int, Win32Timer> timers_;
    std::map<int, Win32ListBox> listBoxes_;
    std::map<int, Handler> clickHandlers_;
    std::map<int, Handler> doubleClickHandlers_;
    std::map<int, Handler> timerHandlers_;
    Handler closeHandler_;
    HWND focus_ = nullptr;          // the control that gets the focus when the window is activated
    std::optional<int> firstShow_;  // until the window was first shown
};

}  // namespace zorvane::win32
