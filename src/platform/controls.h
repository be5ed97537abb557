#pragma once
// The controls that hold the program's state, read and written by name from several modules.
// Each has a Win32 implementation over a child window and an in-memory one for tests.

#include <cstdint>
#include <string>
#include <string_view>

namespace zorvane {

// A text box's text or a label's caption.
class TextControl {
  public:
    virtual ~TextControl() = default;
    virtual std::string text() const = 0;
    virtual void setText(std::string_view text) = 0;
};
using TextBox = TextControl;
using Label = TextControl;

class CheckBox {
  public:
    virtual ~CheckBox() = default;
    virtual int value() const = 0;  // 1 ticked, 0 clear
    virtual void setValue(int value) = 0;
};

class Timer {
  public:
    virtual ~Timer() = default;
    virtual bool enabled() const = 0;
    virtual void setEnabled(bool enabled) = 0;
};

class ListBox {
  public:
    virtual ~ListBox() = default;
    virtual int count() const = 0;
    virtual std::string item(int index) const = 0;
    virtual void add(std::string_view entry) = 0;  // appends; never sorted
    virtual void remove(int index) = 0;
    virtual int selected() const = 0;  // -1 when nothing is selected
    virtual void setSelected(int index) = 0;
    // Moves at every change of the entries, whoever makes it (another program may send a list
    // box its messages): as long as it stands still, so do the entries.
    virtual std::uint64_t changes() const = 0;
};

}  // namespace zorvane
