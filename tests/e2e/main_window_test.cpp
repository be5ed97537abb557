// The main window of the real program, used as a user would, with the fake IM client's "aim:"
// handler and away dialog recording what reaches them.

#include <gtest/gtest.h>

#include "windows/control_ids.h"
#include "zorvane_driver.h"

namespace zorvane::e2e {
namespace {

using Messages = std::vector<std::string>;

class MainWindow : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(handler.registered());
        ASSERT_TRUE(app.ready());
    }

    bool captionBecomes(std::string_view caption) const {
        return waitUntil([&] { return text(Label8) == caption; });
    }

    // What the handler received, once it holds `count` away commands.
    Messages sent(std::size_t count) const {
        return awayMessages(handler.log().waitForRecords(count));
    }

    fakes::AimHandler handler;
    Zorvane app = Zorvane::start();
    HWND awaym = app.control(ids::awaym);
    HWND countdown = app.control(ids::countdown);
    HWND countup = app.control(ids::countup);
    HWND Label8 = app.control(ids::Label8);
};

constexpr std::string_view title = "<title>Zorvane</title>";

TEST_F(MainWindow, EachSetAwaySendsItsTemplateOnceAndSetBackSendsNothing) {
    const struct {
        std::string_view awaym, countdown, message, countdownAfter;
    } cases[] = {
        {"", "0", "", "0"},
        {"Out to lunch", "0", "Out to lunch", "0"},
        {"Gone\r\nBack soon", "0", "Gone<br>Back soon", "0"},
        {"Back in %c min", "10", "Back in 9 min", "9"},
    };
    Messages expected;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.awaym);
        type(awaym, c.awaym);
        type(countdown, c.countdown);
        click(Label8);
        ASSERT_TRUE(captionBecomes("Set Back"));
        expected.push_back(std::string(title) + std::string(c.message));
        EXPECT_EQ(sent(expected.size()), expected);
        EXPECT_EQ(text(countdown), c.countdownAfter);
        EXPECT_EQ(text(countup), "1");

        click(Label8);
        ASSERT_TRUE(captionBecomes("Set Away"));
        EXPECT_EQ(text(countup), "0");
        EXPECT_EQ(text(countdown), c.countdownAfter);
    }
    // Whatever a Set Back had sent would have arrived before the next Set Away's command.
    EXPECT_EQ(awayMessages(handler.log().records()), expected);
}

TEST_F(MainWindow, HiddenModeSendsThePlaceholderThenWritesTheTextIntoTheAwayDialog) {
    const fakes::FakeImClient client({{"#32770", "Zorvane"}});
    ASSERT_TRUE(client.ready());
    type(awaym, "Busy");
    const HWND vp = app.control(ids::vp);
    click(vp);
    ASSERT_TRUE(waitUntil([&] { return ticked(vp); }));

    click(Label8);
    EXPECT_EQ(handler.log().waitForRecords(1),
              Messages{"aim:goaway?message=</title>Zorvane</title><"});
    EXPECT_EQ(client.log().waitForRecords(1), Messages{"Busy"});
    EXPECT_EQ(text(Label8), "Set Back");
    EXPECT_EQ(text(countup), "1");
}

TEST_F(MainWindow, AnInvalidCountDownIsRefusedBeforeAnythingIsSent) {
    type(awaym, "Back in %c min");
    const HWND vp = app.control(ids::vp);
    // In hidden mode a check made too late would have sent the placeholder already.
    for (const auto& [bad, hidden] :
         {std::pair{"", false}, std::pair{"ten", false}, std::pair{"32768", false},
          std::pair{"-32768", true}, std::pair{"12abc", true}}) {
        SCOPED_TRACE(bad);
        if (ticked(vp) != hidden) click(vp);
        ASSERT_TRUE(waitUntil([&] { return ticked(vp) == hidden; }));
        type(countdown, bad);
        click(Label8);
        const HWND box =
            app.waitForDialog("Count Down must be a whole number from -32767 to 32767.");
        ASSERT_TRUE(box);
        EXPECT_EQ(owner(box), app.mainWindow());
        EXPECT_EQ(text(box), "Zorvane");
        EXPECT_EQ(text(Label8), "Set Away");
        ASSERT_TRUE(app.answer(box));
        EXPECT_EQ(text(Label8), "Set Away");
        EXPECT_EQ(text(countdown), bad);
    }
    // Anything the refused clicks had sent would have arrived before this command.
    type(countdown, "5");
    click(Label8);
    ASSERT_TRUE(captionBecomes("Set Back"));
    EXPECT_EQ(handler.log().waitForRecords(1),
              Messages{"aim:goaway?message=</title>Zorvane</title><"});
    EXPECT_TRUE(waitUntil([&] { return text(countdown) == "4"; }));
    EXPECT_EQ(handler.log().records().size(), 1u);
}

}  // namespace
}  // namespace zorvane::e2e
