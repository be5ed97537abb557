#pragma once
// The auto-responder: while the user is away, each tick of the scanning timer looks for the IM
// client's instant-message windows. When a buddy with a waiting entry has one open, the entry
// moves to the completed list, the buddy's message goes into the client's away dialog, and half
// a second later the general away message goes back in.

#include <functional>
#include <optional>
#include <string>

#include "buddies/buddylists.h"
#include "messages/awaymessage.h"
#include "platform/controls.h"
#include "platform/desktop.h"
#include "responder/imwindows.h"
#include "responder/windowutils.h"

namespace zorvane {

// The per-buddy lists, while the window that holds them exists.
struct BuddyLists {
    ListBox& List1;
    ListBox& List2;
    WaitingIndex& waiting;  // the lookup in List1
};
using FindBuddyLists = std::function<std::optional<BuddyLists>()>;

// The screen name in an instant-message window's caption: the text before its first "-", with
// every space removed.
std::string screenName(std::string_view caption);

class Responder {
  public:
    // `Text1` carries the away dialog's caption from the search to the writes; `awaytemplate`
    // is read afresh for every hand-out. The lists are looked up anew after anything that runs
    // pending events, since the user may close their window meanwhile.
    Responder(Desktop& desktop, Waits& waits, TextBox& Text1, ExpansionContext expansion,
              const std::string& awaytemplate, FindBuddyLists lists);

    // One scan: every IM window whose buddy has an entry waiting is answered, in the desktop's
    // order. Runs pending events during each hand-out.
    void scanwindows();

    // Called after a write that the away dialog refused for rights: the IM client runs with
    // higher rights than ours.
    std::function<void()> onAccessDenied;

  private:
    std::optional<int> waitingEntry(WindowHandle imWindow, WaitingIndex& waiting);
    void checkimwindow(WindowHandle imWindow);
    void checkawaydialog(WindowHandle window);
    // `runEvents` as in the expansion: off for the write a wait makes at its end.
    void write(std::string message, bool runEvents);

    Desktop& desktop_;
    Waits& waits_;
    TextBox& Text1_;
    ExpansionContext expansion_;
    const std::string& awaytemplate_;
    FindBuddyLists lists_;
    ImWindowWatch watch_;
};

}  // namespace zorvane
