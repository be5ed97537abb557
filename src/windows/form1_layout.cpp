#include "windows/form1_layout.h"

#include <array>

#include "windows/control_ids.h"

namespace zorvane {
namespace {

constexpr Font tahoma{"Tahoma", 8.25, 400};
constexpr Font msSansSerif{"MS Sans Serif", 8.25, 400};

constexpr std::string_view legend =
    "Special Characters: %n = Screen Name of Buddy   %d = Current Date %t = Current Time"
    "                   %s = Current Song %m = Current Memory Stats         ";

using enum ControlKind;

constexpr ControlLayout label(int id, std::string_view name, std::string_view text, Rect rect,
                              int frame = 0) {
    return {.id = id,
            .name = name,
            .kind = Label,
            .text = text,
            .rect = rect,
            .parentId = frame,
            .align = frame != 0 ? Align::Center : Align::Left};
}

constexpr ControlLayout control(int id, std::string_view name, ControlKind kind,
                                std::string_view text, Rect rect) {
    return {.id = id, .name = name, .kind = kind, .text = text, .rect = rect};
}

// A box below the client area, never seen: Tab never stops there, where a keystroke would
// change it unseen.
constexpr ControlLayout outOfSight(int id, std::string_view name, std::string_view text,
                                   Rect rect) {
    return {.id = id, .name = name, .kind = TextBox, .text = text, .rect = rect, .tabStop = false};
}

constexpr ControlLayout timer(int id, std::string_view name, int intervalMs) {
    return {.id = id, .name = name, .kind = Timer, .intervalMs = intervalMs};
}

// In tab order, in twips. The count-down box sits over the run of spaces in Label10's caption;
// the labels inside a frame (the three buttons) are centred.
constexpr std::array controls{
    ControlLayout{.id = ids::awaym,
                  .name = "awaym",
                  .kind = MultiLineTextBox,
                  .rect = {30, 315, 3675, 1725},
                  .font = msSansSerif},
    label(ids::Label1, "Label1", "AwayMessage:", {30, 60, 1695, 225}),
    label(ids::Label3, "Label3", legend, {30, 2355, 3705, 630}),
    control(ids::countdown, "countdown", TextBox, "0", {1425, 3000, 435, 240}),
    label(ids::Label10, "Label10", "%c = Count Down            Min.  %u = Count Up",
          {45, 3000, 2310, 225}),
    label(ids::Label11, "Label11", " %u = Count Up Min.", {30, 3270, 2310, 225}),
    control(ids::Picture6, "Picture6", Frame, "", {2640, 3345, 1050, 255}),
    label(ids::Label9, "Label9", "Extra", {0, 0, 1020, 225}, ids::Picture6),
    control(ids::Picture5, "Picture5", Frame, "", {2640, 3015, 1050, 255}),
    label(ids::Label8, "Label8", "Set Away", {0, 0, 1020, 195}, ids::Picture5),
    control(ids::vp, "vp", CheckBox, "Hide away message from profile", {30, 2070, 3270, 225}),
    outOfSight(ids::countup, "countup", "0", {810, 3735, 435, 240}),
    outOfSight(ids::Text1, "Text1", "", {1710, 3975, 150, 285}),
    control(ids::Picture1, "Picture1", Frame, "", {2655, 30, 1050, 255}),
    label(ids::Label2, "Label2", "About", {0, 0, 1020, 195}, ids::Picture1),
    timer(ids::Timer1, "Timer1", 60000),
    timer(ids::Timer2, "Timer2", 1),
};

constexpr FormLayout layout{.caption = "Zorvane v1.0",
                            .unit = LayoutUnit::Twips,
                            .clientWidth = 3750,
                            .clientHeight = 3675,
                            .kind = FormKind::Main,
                            .font = tahoma,
                            .controls = controls};

}  // namespace

const FormLayout& form1Layout() { return layout; }

}  // namespace zorvane
