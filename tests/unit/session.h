#pragma once
// Zorvane over the in-memory desktop and windows, driven as a user would, beside the IM
// client's away dialog (titled "Zorvane", after the <title> of our away command).

#include <functional>
#include <string>
#include <vector>

#include "platform/model/model_desktop.h"
#include "platform/model/model_ui.h"
#include "windows/control_ids.h"
#include "windows/form1.h"

namespace zorvane {

using Texts = std::vector<std::string>;

inline Texts itemsOf(const ListBox& list) {
    Texts items;
    for (int i = 0; i < list.count(); ++i)
        items.push_back(list.item(i));
    return items;
}

// Calls `onSend` as each away command or dialog text leaves, so a test sees the state then.
struct WatchedDesktop : ModelDesktop {
    std::function<void()> onSend = [] {};
    bool openUrl(std::string_view url) override {
        onSend();
        return ModelDesktop::openUrl(url);
    }
    Write setWindowText(WindowHandle window, std::string_view text) override {
        onSend();
        return ModelDesktop::setWindowText(window, text);
    }
};

struct Session {
    WatchedDesktop desktop;
    ModelUi ui{desktop};
    Form1 form1{ui, desktop};
    ModelForm& main = ui.form("Zorvane v1.0");
    TextControl& awaym = main.textControl(ids::awaym);
    TextControl& countdown = main.textControl(ids::countdown);
    TextControl& countup = main.textControl(ids::countup);

    // An away dialog of the IM client; its edit field.
    WindowHandle addAwayDialog(std::string title) {
        const WindowHandle dialog = desktop.addWindow("#32770", std::move(title));
        return desktop.addWindow("Ate32Class", "", desktop.addWindow("WndAte32Class", "", dialog));
    }
    const WindowHandle edit = addAwayDialog("Zorvane");

    explicit Session(std::string templ = "", std::string down = "0", int hidden = 0) {
        awaym.setText(templ);
        countdown.setText(down);
        main.checkBox(ids::vp).setValue(hidden);
    }
    void click() { main.click(ids::Label8); }
    // Plays an old Wine, whose shell hands the aim: handler a command line of 1023 units at
    // most: the handler's own command leaves `limit` of them (995 at most) to the away command.
    void limitAwayCommand(std::size_t limit) {
        desktop.wine = "8.0";
        desktop.schemeCommands["aim"] = std::string(1023 - limit, 'x') + "%1";
    }
    // Clicks one of the main window's labels and returns the window it shows.
    ModelForm& open(int label, std::string_view caption) {
        main.click(label);
        return ui.form(caption);
    }
    // The caption and whether each timer runs: "Set Back 11" is away, "Set Away 00" idle.
    std::string state() const {
        return main.textControl(ids::Label8).text() + " " +
               std::to_string(main.timer(ids::Timer1).enabled()) +
               std::to_string(main.timer(ids::Timer2).enabled());
    }
    const Texts& urls() const { return desktop.openedUrls(); }
    Texts written() const {
        Texts texts;
        for (const auto& write : desktop.writes())
            texts.push_back(write.text);
        return texts;
    }
    // What the boxes or prompts showed, marked when `owner` does not own them.
    static Texts shown(const std::vector<ModelUi::Dialog>& dialogs, const ModelForm& owner) {
        Texts texts;
        for (const auto& d : dialogs)
            texts.push_back((d.owner == &owner ? "" : "unowned ") + d.title + ": " + d.text);
        return texts;
    }
};

}  // namespace zorvane
