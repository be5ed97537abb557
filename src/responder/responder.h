#pragma once
// The auto-responder: while the user is away, each tick of the scanning timer looks for the IM
// client's instant-message windows. When a buddy with a waiting entry has one open, the entry
// moves to the completed list, the buddy's message goes into the client's away dialog, and half
// a second later the general away message goes back in.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "buddies/buddylists.h"
#include "messages/awaymessage.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "responder/imwindows.h"

namespace zorvane {

// The per-buddy lists, while the window that holds them exists.
struct BuddyLists {
    ListBox& List1;
    ListBox& List2;
    WaitingIndex& waiting;  // the lookup in List1
};
using FindBuddyLists = std::function<std::optional<BuddyLists>()>;

// The general away message, which a hand-out writes back after the buddy's.
struct GeneralMessage {
    const std::string& awaytemplate;  // expanded afresh for every hand-out
    const std::string& lastSent;      // the text last handed to the IM client, in dialog form
};

// The screen name in an instant-message window's caption: the text before its first "-", with
// every space removed.
std::string screenName(std::string_view caption);

class Responder {
  public:
    // `Text1` carries the away dialog's caption from the search to the writes. The lists are
    // looked up anew after anything that runs pending events, since the user may close their
    // window meanwhile.
    Responder(Desktop& desktop, TextBox& Text1, ExpansionContext expansion, GeneralMessage away,
              FindBuddyLists lists);

    // One scan: every IM window whose buddy has an entry waiting is answered, in the desktop's
    // order, one buddy after the other. Runs pending events during each hand-out; a scan that
    // runs meanwhile answers nobody.
    void scanwindows();

    // Called after a write that the away dialog refused for rights: the IM client runs with
    // higher rights than ours.
    std::function<void()> onAccessDenied;
    // Called when the general message could not be expanded for a hand-out's second write.
    std::function<void(const ExpandError&)> onExpansionFailed;

  private:
    std::optional<int> waitingEntry(std::string_view caption, WaitingIndex& waiting);
    void checkimwindow(WindowHandle imWindow);
    // The hand-out's steps, for the entry at `position` of List1.
    void answer(const BuddyLists& lists, int position);
    void checkawaydialog(WindowHandle window);
    // What became of the write; none when the message could not be expanded.
    std::optional<Write> writeBuddysMessage(std::string message);
    // Goes again up to `resends` times while the client does not answer.
    void writeBack(int resends);
    struct WriteBack {
        std::string caption;   // the away dialog's
        std::string text;      // the general message
        std::string lastSent;  // the away message the client had been given then
        int resends;           // left
    };
    void sendBack(const WriteBack& back);
    void told(Write write);

    Desktop& desktop_;
    TextBox& Text1_;
    ExpansionContext expansion_;
    GeneralMessage away_;
    FindBuddyLists lists_;
    ImWindowWatch watch_;
    // From the moment a buddy's entry is taken until the general message is back in the dialog.
    bool handingOut_ = false;
    // How soon, and how often, the general message goes again to a client that hangs.
    static constexpr double resendSeconds = 0.5;
    static constexpr int maxResends = 20;
    std::unique_ptr<Alarm> resend_;
};

}  // namespace zorvane
