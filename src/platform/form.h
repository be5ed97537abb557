#pragma once
// A window of the program's own, described as data (windows/ holds the descriptions) and built
// by a Ui: win32/ builds real windows and child controls, model/ builds in-memory ones.
// A window's code reads and writes its controls through the interfaces of controls.h and only
// assigns handlers, so the same handlers run on the real window and in the unit tests.

#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "platform/controls.h"

namespace zorvane {

enum class ControlKind {
    Label,             // static text; a click on it is reported
    TextBox,           // single-line edit
    MultiLineTextBox,  // multi-line edit, Enter makes a new line
    CheckBox,          // ticks itself when clicked
    Frame,  // a box with a flat one-pixel border, window colours, holding the label of a label
            // button: it takes the focus for it, and Space or Enter clicks the label
    PushButton,
    ListBox,  // one selection at a time, never sorted
    Timer,    // no window; `intervalMs` is its interval, disabled at start
    Image,    // a picture built into the program, named by `text`, shown at its own size
};

enum class Align { Left, Center };

struct Font {
    std::string_view face;
    double points = 8.25;
    int weight = 400;
};

// The unit a window was drawn in: pixels at 96 dots per inch, or twips (1/1440 inch; 15 make a
// pixel at 96 dots per inch). Either way the window is laid out at its own DPI.
enum class LayoutUnit { Pixels96, Twips };

// In the window's LayoutUnit, relative to the client area (or to the frame that holds it).
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

struct ControlLayout {
    int id = 0;  // fixed control ID, unique in the window (see windows/control_ids.h)
    std::string_view name;
    ControlKind kind = ControlKind::Label;
    std::string_view text;
    Rect rect;
    int parentId = 0;  // 0: the window itself; otherwise the id of the Frame that holds it
    Align align = Align::Left;
    std::optional<Font> font;  // none: the window's font
    int intervalMs = 0;        // timers only
    bool tabStop = true;       // false: Tab passes it by (a box kept out of sight)
};

enum class FormKind {
    Main,  // fixed single border, minimize box, no maximize box, in the taskbar, own icon
    Tool,  // fixed tool window, close box only, not in the taskbar
};

// Controls are listed in tab order; the first control that takes focus gets it at start.
struct FormLayout {
    std::string_view caption;
    LayoutUnit unit = LayoutUnit::Pixels96;  // of the client size and of every control's Rect
    int clientWidth = 0;
    int clientHeight = 0;
    FormKind kind = FormKind::Main;
    std::optional<Font> font;  // none: the platform's default dialog font
    std::span<const ControlLayout> controls;
};

class Form {
  public:
    using Handler = std::function<void()>;
    virtual ~Form() = default;

    // The control with this id; asking for an id of another kind is a programming error.
    virtual TextControl& textControl(int id) = 0;
    virtual CheckBox& checkBox(int id) = 0;
    virtual Timer& timer(int id) = 0;
    virtual ListBox& listBox(int id) = 0;

    virtual void onClick(int id, Handler handler) = 0;
    virtual void onDoubleClick(int id, Handler handler) = 0;
    virtual void onTimer(int id, Handler handler) = 0;
    // The user closed the window with its close box. The handler may destroy this Form: an
    // implementation touches nothing of its own after a handler returns.
    virtual void onClose(Handler handler) = 0;

    virtual void show() = 0;
    virtual void hide() = 0;
    virtual bool visible() const = 0;

    // Modal to this window; they return when the user has closed them.
    virtual void messageBox(std::string_view text, std::string_view title) = 0;
    // A text prompt with OK and Cancel; Cancel gives the empty text.
    virtual std::string prompt(std::string_view text, std::string_view title) = 0;
};

class Ui {
  public:
    virtual ~Ui() = default;
    // Builds the window hidden, with its controls' design values. The layout (and all it refers
    // to) must outlive the window, which lays itself out again when its DPI changes.
    virtual std::unique_ptr<Form> createForm(const FormLayout& layout) = 0;
    // Ends the process at once, whatever handler or nested pump is running.
    [[noreturn]] virtual void exitProcess() = 0;
};

}  // namespace zorvane
