#include "windows/form3_layout.h"

#include <array>

#include "windows/control_ids.h"

namespace zorvane {
namespace {

constexpr Font tahoma{"Tahoma", 8.25, 400};
constexpr Font tahomaBold{"Tahoma", 8.25, 700};

using enum ControlKind;

// The labels stand one under the other beside the picture; the link line starts further right.
constexpr std::array controls{
    ControlLayout{.id = ids::Image1,
                  .name = "Image1",
                  .kind = Image,
                  .text = "ABOUT_PICTURE",  // 48 x 46 pixels, in the program's resources
                  .rect = {45, 30, 720, 690}},
    ControlLayout{.id = ids::Form3Label2,
                  .name = "Label2",
                  .kind = Label,
                  .text = "Zorvane",
                  .rect = {795, -15, 2340, 255},
                  .align = Align::Center},
    ControlLayout{.id = ids::Form3Label1,
                  .name = "Label1",
                  .kind = Label,
                  .text = "Halvorn Web Site",
                  .rect = {1275, 240, 1500, 255},
                  .font = tahomaBold},
    ControlLayout{.id = ids::Label7,
                  .name = "Label7",
                  .kind = Label,
                  .text = "Copyright \u00a9 2026 Halvorn",
                  .rect = {795, 495, 2340, 255}},
};

constexpr FormLayout layout{.caption = ".:About:.",
                            .unit = LayoutUnit::Twips,
                            .clientWidth = 3180,
                            .clientHeight = 735,
                            .kind = FormKind::Tool,
                            .font = tahoma,
                            .controls = controls};

}  // namespace

const FormLayout& form3Layout() { return layout; }

}  // namespace zorvane
