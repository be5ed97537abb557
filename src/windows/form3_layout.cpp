#include "windows/form3_layout.h"

#include <array>

#include "windows/control_ids.h"

namespace zorvane {
namespace {

// The layout was drawn in twips; 15 twips make one pixel at 96 dots per inch.
constexpr Rect twips(int left, int top, int width, int height) {
    return {left / 15, top / 15, width / 15, height / 15};
}

constexpr Font tahoma{"Tahoma", 8.25, 400};
constexpr Font tahomaBold{"Tahoma", 8.25, 700};

using enum ControlKind;

// The labels stand one under the other beside the picture; the link line starts further right.
constexpr std::array controls{
    ControlLayout{.id = ids::Image1,
                  .name = "Image1",
                  .kind = Image,
                  .text = "ABOUT_PICTURE",  // 48 x 46 pixels, in the program's resources
                  .rect = twips(45, 30, 720, 690)},
    ControlLayout{.id = ids::Form3Label2,
                  .name = "Label2",
                  .kind = Label,
                  .text = "Zorvane",
                  .rect = twips(795, -15, 2340, 255),
                  .align = Align::Center},
    ControlLayout{.id = ids::Form3Label1,
                  .name = "Label1",
                  .kind = Label,
                  .text = "Halvorn Web Site",
                  .rect = twips(1275, 240, 1500, 255),
                  .font = tahomaBold},
    ControlLayout{.id = ids::Label7,
                  .name = "Label7",
                  .kind = Label,
                  .text = "Copyright \u00a9 2026 Halvorn",
                  .rect = twips(795, 495, 2340, 255)},
};

// 3180 x 735 twips.
constexpr FormLayout layout{.caption = ".:About:.",
                            .clientWidth = 212,
                            .clientHeight = 49,
                            .kind = FormKind::Tool,
                            .font = tahoma,
                            .controls = controls};

}  // namespace

const FormLayout& form3Layout() { return layout; }

}  // namespace zorvane
