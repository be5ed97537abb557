#include "platform/model/model_ui.h"

#include <gtest/gtest.h>

namespace zorvane {
namespace {

constexpr ControlLayout controls[] = {
    {.id = 1, .kind = ControlKind::Label, .text = "Hello"},
    {.id = 2, .kind = ControlKind::CheckBox, .text = "Tick me"},
    {.id = 3, .kind = ControlKind::Timer, .intervalMs = 1000},
    {.id = 4, .kind = ControlKind::ListBox},
};
constexpr FormLayout layout{.caption = "Test", .controls = controls};

TEST(ModelUi, BuildsDesignValuesAndRunsTimersOnlyWhileEnabled) {
    ModelUi ui;
    const auto owned = ui.createForm(layout);
    ModelForm& form = ui.form("Test");
    EXPECT_EQ(form.textControl(1).text(), "Hello");
    EXPECT_EQ(form.checkBox(2).value(), 0);
    EXPECT_EQ(form.listBox(4).count(), 0);
    EXPECT_FALSE(form.visible());
    EXPECT_THROW(form.timer(1), std::bad_variant_access);

    int ticks = 0;
    form.onTimer(3, [&] { ++ticks; });
    form.tick(3);
    form.timer(3).setEnabled(true);
    form.tick(3);
    EXPECT_EQ(ticks, 1);
}

TEST(ModelUi, ACloseHandlerMayDestroyItsWindow) {
    ModelUi ui;
    std::unique_ptr<Form> owned = ui.createForm(layout);
    std::string seen;
    // The handler goes on using what it captured after its window is gone.
    ui.form("Test").onClose([&, note = std::string(64, 'x')] {
        owned.reset();
        seen = note;
    });
    ui.form("Test").close();
    EXPECT_TRUE(ui.forms().empty());
    EXPECT_EQ(seen.size(), 64u);
}

TEST(ModelUi, DialogsRecordWhatTheyShowAndAnswerFromTheScript) {
    ModelUi ui;
    const auto owned = ui.createForm(layout);
    ModelForm& form = ui.form("Test");
    int hookRuns = 0;
    ui.whileMessageBoxOpen = [&] {
        ++hookRuns;
        form.messageBox("nested", "Zorvane");  // the hook runs once: no endless nesting
    };
    form.messageBox("first", "Zorvane");
    EXPECT_EQ(hookRuns, 1);
    ASSERT_EQ(ui.messageBoxes().size(), 2u);
    EXPECT_EQ(ui.messageBoxes()[0].owner, &form);
    EXPECT_EQ(ui.messageBoxes()[0].text, "first");

    ui.promptAnswers = {"joann", ""};
    EXPECT_EQ(form.prompt("Screen name?", "Extra"), "joann");
    EXPECT_EQ(form.prompt("Message?", "Extra"), "");  // Cancel
    EXPECT_THROW(form.prompt("Again?", "Extra"), std::logic_error);
}

}  // namespace
}  // namespace zorvane
