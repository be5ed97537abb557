#include "windows/form1_layout.h"

#include <array>

#include "windows/control_ids.h"

namespace zorvane {
namespace {

// The layout was drawn in twips; 15 twips make one pixel at 96 dots per inch.
constexpr Rect twips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

constexpr Font tahoma{"Tahoma", 8.25, 400};
constexpr Font msSansSerif{"MS Sans Serif", 8.25, 400};

constexpr std::string_view legend =
    "Special Characters: %n = Screen Name of Buddy   %d = Current Date %t = Current Time"
    "                   %s = Current Song %m = Current Memory Stats         ";

using enum ControlKind;

// In tab order. The count-down box sits over the run of spaces in Label10's caption.
constexpr std::array controls{
    ControlSpec{ids::awaym, "awaym", MultiLineTextBox, "", twips(30, 315, 3675, 1725), 0,
                Align::Left, msSansSerif},
    ControlSpec{ids::Label1, "Label1", Label, "AwayMessage:", twips(30, 60, 1695, 225)},
    ControlSpec{ids::Label3, "Label3", Label, legend, twips(30, 2355, 3705, 630)},
    ControlSpec{ids::countdown, "countdown", TextBox, "0", twips(1425, 3000, 435, 240)},
    ControlSpec{ids::Label10, "Label10", Label, "%c = Count Down            Min.  %u = Count Up",
                twips(45, 3000, 2310, 225)},
    ControlSpec{ids::Label11, "Label11", Label, " %u = Count Up Min.", twips(30, 3270, 2310, 225)},
    ControlSpec{ids::Picture6, "Picture6", Frame, "", twips(2640, 3345, 1050, 255)},
    ControlSpec{ids::Label9, "Label9", Label, "Extra", twips(0, 0, 1020, 225), ids::Picture6,
                Align::Center},
    ControlSpec{ids::Picture5, "Picture5", Frame, "", twips(2640, 3015, 1050, 255)},
    ControlSpec{ids::Label8, "Label8", Label, "Set Away", twips(0, 0, 1020, 195), ids::Picture5,
                Align::Center},
    ControlSpec{ids::vp, "vp", CheckBox, "Hide away message from profile",
                twips(30, 2070, 3270, 225)},
    ControlSpec{ids::countup, "countup", TextBox, "0", twips(810, 3735, 435, 240)},
    ControlSpec{ids::Text1, "Text1", TextBox, "", twips(1710, 3975, 150, 285)},
    ControlSpec{ids::Picture1, "Picture1", Frame, "", twips(2655, 30, 1050, 255)},
    ControlSpec{ids::Label2, "Label2", Label, "About", twips(0, 0, 1020, 195), ids::Picture1,
                Align::Center},
    ControlSpec{ids::Timer1, "Timer1", Timer, "", {}, 0, Align::Left, {}, 60000},
    ControlSpec{ids::Timer2, "Timer2", Timer, "", {}, 0, Align::Left, {}, 1},
};

constexpr FormSpec spec{"Zorvane v1.0", 250, 245, FormKind::Main, tahoma, controls};

}  // namespace

const FormSpec& form1Spec() { return spec; }

}  // namespace zorvane
