#include "windows/form2_layout.h"

#include <array>

#include "windows/control_ids.h"

namespace zorvane {
namespace {

constexpr Font tahoma{"Tahoma", 8.25, 400};

// The run of spaces places "Send Complete:" above the right-hand list.
constexpr std::string_view heading = "Waiting to send:                              Send Complete:";
static_assert(heading.size() == 60);

using enum ControlKind;

// In tab order; positions in pixels. Buttons and labels keep the platform's dialog font.
constexpr std::array controls{
    ControlLayout{.id = ids::List1,
                  .name = "List1",
                  .kind = ListBox,
                  .rect = {1, 17, 136, 121},
                  .font = tahoma},
    ControlLayout{
        .id = ids::add, .name = "add", .kind = PushButton, .text = "Add", .rect = {2, 141, 47, 15}},
    ControlLayout{.id = ids::hide,
                  .name = "hide",
                  .kind = PushButton,
                  .text = "Set",
                  .rect = {82, 142, 54, 13}},
    ControlLayout{.id = ids::Form2Label1,
                  .name = "Label1",
                  .kind = Label,
                  .text = heading,
                  .rect = {1, 3, 308, 13}},
    ControlLayout{.id = ids::List2,
                  .name = "List2",
                  .kind = ListBox,
                  .rect = {168, 18, 136, 121},
                  .font = tahoma},
    ControlLayout{.id = ids::addtowait,
                  .name = "addtowait",
                  .kind = PushButton,
                  .text = "<",
                  .rect = {144, 65, 17, 27}},
    ControlLayout{.id = ids::Form2Label2,
                  .name = "Label2",
                  .kind = Label,
                  .text = "Note: double click to remove item",
                  .rect = {149, 143, 164, 15}},
};

constexpr FormLayout layout{.caption = "Extra",
                            .unit = LayoutUnit::Pixels96,
                            .clientWidth = 316,
                            .clientHeight = 158,
                            .kind = FormKind::Tool,
                            .controls = controls};

}  // namespace

const FormLayout& form2Layout() { return layout; }

}  // namespace zorvane
