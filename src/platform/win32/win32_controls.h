#pragma once
// Thin wrappers over child windows (and the form's timers): each call is one message to the
// control. They own nothing; the form that created the child windows owns them.

#include <windows.h>

#include <string>
#include <string_view>

#include "platform/controls.h"

namespace zorvane::win32 {

class NonCopyable {
  public:
    NonCopyable(const NonCopyable&) = delete;
    NonCopyable& operator=(const NonCopyable&) = delete;

  protected:
    NonCopyable() = default;
    ~NonCopyable() = default;
};

// A text box's text or a label's caption.
class Win32TextControl final : public TextControl, NonCopyable {
  public:
    explicit Win32TextControl(HWND control) : control_(control) {}
    std::string text() const override;
    void setText(std::string_view text) override;

  private:
    HWND control_;
};

class Win32CheckBox final : public CheckBox, NonCopyable {
  public:
    explicit Win32CheckBox(HWND control) : control_(control) {}
    int value() const override;
    void setValue(int value) override;

  private:
    HWND control_;
};

// A WM_TIMER of the form's window, with the control id as its timer id.
class Win32Timer final : public Timer, NonCopyable {
  public:
    Win32Timer(HWND form, int id, int intervalMs) : form_(form), id_(id), intervalMs_(intervalMs) {}
    bool enabled() const override { return enabled_; }
    void setEnabled(bool enabled) override;
    // How many ticks were handled, for measuring the program from outside.
    LRESULT ticks() const { return ticks_; }
    void ticked() { ++ticks_; }

  private:
    HWND form_;
    int id_;
    int intervalMs_;
    bool enabled_ = false;
    LRESULT ticks_ = 0;
};

// Counts the changes of its entries as the list box makes them, so that those another program
// sends are counted too.
class Win32ListBox final : public ListBox, NonCopyable {
  public:
    explicit Win32ListBox(HWND control);
    ~Win32ListBox() override;
    int count() const override;
    std::string item(int index) const override;  // empty for a position that does not exist
    void add(std::string_view entry) override;
    void remove(int index) override;
    int selected() const override;
    void setSelected(int index) override;
    std::uint64_t changes() const override { return changes_; }

  private:
    static LRESULT CALLBACK countChanges(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR, DWORD_PTR self) noexcept;

    HWND control_;
    std::uint64_t changes_ = 0;
};

}  // namespace zorvane::win32
