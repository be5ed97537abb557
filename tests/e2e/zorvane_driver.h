#pragma once
// Drives the real zorvane.exe from outside, as a user would: finds its windows by caption and
// its controls by their fixed ids, types, ticks and clicks. Clicks are posted, never sent: a
// click may open a modal window, and a sent message would wait until somebody closed it.

#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "fake_driver.h"

namespace zorvane::e2e {

using fakes::waitUntil;

// A window's text, asked of the window itself (an edit field keeps its own).
std::string text(HWND window);
void type(HWND edit, std::string_view text);
// A left click at the control's centre.
void click(HWND control);
void clickItem(HWND listBox, int index);
void doubleClickItem(HWND listBox, int index);
std::vector<std::string> items(HWND listBox);
// Appends straight to the list box, as the auto-responder's hand-out does to List2.
void appendItem(HWND listBox, std::string_view item);
int selectedItem(HWND listBox);  // -1 when none is
bool ticked(HWND checkBox);
// The descendant with this control id; null when there is none.
HWND child(HWND root, int id);
HWND owner(HWND window);

// The message part of each away command the fake "aim:" handler received, form-decoded as the
// IM client reads it; a URL that is no away command is kept whole.
std::vector<std::string> awayMessages(const std::vector<std::string>& urls);

// Zorvane running under Wine, seen from outside.
class Zorvane {
  public:
    // Starts build/windows/zorvane.exe, which is ended when this goes.
    static Zorvane start();
    // The copy already running on this desktop, started by a script.
    static Zorvane running();

    bool ready() const { return main_ != nullptr; }  // the main window showed in time
    DWORD processId() const { return processId_; }
    HWND mainWindow() const { return main_; }
    HWND control(int id) const { return child(main_, id); }

    // The Extra window once it shows; null if it does not in time.
    HWND waitForExtra() const;
    // A dialog of its own (a message box or a text prompt) that shows `shown`; null if none
    // appears in time.
    HWND waitForDialog(std::string_view shown) const;
    // Types `typed` into the dialog's edit field, if given, and clicks the button `buttonId`;
    // true once the dialog has closed.
    bool answer(HWND dialog, std::optional<std::string_view> typed = std::nullopt,
                int buttonId = IDOK) const;
    // Clicks the Extra window's "Add" and answers its two prompts.
    bool add(HWND extra, std::string_view screenName, std::string_view message) const;

  private:
    explicit Zorvane(std::unique_ptr<fakes::Process> process);

    std::unique_ptr<fakes::Process> process_;
    DWORD processId_ = 0;
    HWND main_ = nullptr;
};

}  // namespace zorvane::e2e
