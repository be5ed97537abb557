#include "responder/responder.h"

#include <algorithm>

#include "buddies/buddylists.h"
#include "responder/windowutils.h"
#include "waits/waits.h"

namespace zorvane {

std::string screenName(std::string_view caption) {
    std::string name(caption.substr(0, caption.find('-')));
    std::erase(name, ' ');
    return name;
}

Responder::Responder(Desktop& desktop, TextBox& Text1, ExpansionContext expansion,
                     GeneralMessage away, FindBuddyLists lists)
    : desktop_(desktop),
      Text1_(Text1),
      expansion_(expansion),
      away_(away),
      lists_(std::move(lists)),
      watch_(desktop) {}

void Responder::scanwindows() {
    if (handingOut_) return;  // nobody can be answered now
    // With nothing waiting nothing can be handed out: no window is even looked at.
    const auto lists = lists_();
    if (!lists || lists->List1.count() == 0) return;

    // A tick that answers nobody asks the window system nothing and reads no entry of the
    // lists: the captions are the watch's, the lookup is in memory.
    const std::vector<ImWindow>* found = &watch_.imWindows();
    const auto answered = std::ranges::count_if(*found, [&](const ImWindow& w) {
        return waitingEntry(w.caption, lists->waiting).has_value();
    });
    if (answered == 0) return;
    // Several buddies answered in one scan are answered in the desktop's order, which only a
    // full look at the desktop knows for sure.
    if (answered > 1) found = &watch_.fullPass();
    // The hand-outs run events, in which a scan may look again.
    std::vector<WindowHandle> imWindows;
    for (const ImWindow& w : *found)
        imWindows.push_back(w.window);
    for (const WindowHandle window : imWindows)
        checkimwindow(window);
}

std::optional<int> Responder::waitingEntry(std::string_view caption, WaitingIndex& waiting) {
    // A window without a caption has no screen name; it is looked at again next time.
    if (caption.empty()) return std::nullopt;
    return waiting.checklist(screenName(caption));
}

// The windows come from the watch, so their class is known: the steps start at the caption.
void Responder::checkimwindow(WindowHandle imWindow) {
    // One buddy's message at a time: while it is in the away dialog, an auto-reply the client
    // sends anyone carries it, so the windows met now are answered once it has left.
    if (handingOut_) return;
    const auto lists = lists_();
    if (!lists) return;
    // Read afresh: the window may have been renamed, or gone, since the watch read it.
    const auto position = waitingEntry(windowtitle(desktop_, imWindow), lists->waiting);
    if (!position) return;
    handingOut_ = true;
    answer(*lists, *position);
}

void Responder::answer(const BuddyLists& lists, int position) {
    // Moved before anything is written, so neither a failed write nor a scan that runs during
    // the writes hands the same entry out again.
    const auto entry = handout(lists.List1, lists.List2, position);
    if (!entry) {
        handingOut_ = false;
        return;
    }
    Text1_.setText("");
    for (const WindowHandle window : desktop_.topLevelWindows())
        checkawaydialog(window);
    // A refusal is told by the second write, once nobody waits for this hand-out any more.
    const bool inDialog = writeBuddysMessage(readEntry(*entry).message) == Write::Made;
    // The general message goes back half a second later, even if the user has a prompt or box
    // open by then: the buddy's own message is not everyone's to read.
    pauseseconds(desktop_, 0.5, [this, inDialog] { writeBack(inDialog ? maxResends : 0); });
}

// The last away dialog in the desktop's order wins. The caption is read once: a second reading
// of a dialog that has just closed would be empty and wipe out an earlier dialog that stands.
void Responder::checkawaydialog(WindowHandle window) {
    if (classprefix(desktop_, window).find("#32770") == std::string::npos) return;
    const std::string caption = windowtitle(desktop_, window);
    if (caption.find("Away") != std::string::npos) Text1_.setText(caption);
}

std::optional<Write> Responder::writeBuddysMessage(std::string message) {
    // The caption is read before the expansion, which may run pending events.
    const std::string caption = Text1_.text();
    const auto expanded = expandmessage(std::move(message), expansion_);
    // A failed expansion skips only its own write.
    if (!expanded) return std::nullopt;
    return setawaytext(desktop_, caption, *expanded);
}

// The buddy's message never stays: a general message that cannot be expanded now is replaced by
// the one last handed to the IM client, and one a client that hangs was not sent goes again.
void Responder::writeBack(int resends) {
    const std::string caption = Text1_.text();
    // Made when the wait is up, from whatever loop runs then: nothing may run inside it.
    const auto expanded = expandmessage(away_.awaytemplate, expansion_, PendingEvents::Held);
    sendBack({caption, expanded ? *expanded : away_.lastSent, away_.lastSent, resends});
    if (!expanded && onExpansionFailed) onExpansionFailed(expanded.error());
}

void Responder::sendBack(const WriteBack& back) {
    // Once a newer away message has gone to the client, this one would only undo it.
    if (away_.lastSent != back.lastSent) {
        handingOut_ = false;
        return;
    }
    const Write write = setawaytext(desktop_, back.caption, back.text);
    // Until the client takes it, the buddy's message is still there: nobody else is answered.
    // Not for ever, though.
    if (write == Write::NotAnswering && back.resends > 0) {
        resend_ = desktop_.setAlarm(desktop_.clockSeconds() + resendSeconds, [this, back] {
            sendBack({back.caption, back.text, back.lastSent, back.resends - 1});
        });
        return;
    }
    handingOut_ = false;
    told(write);
}

void Responder::told(Write write) {
    if (write == Write::Refused && onAccessDenied) onAccessDenied();
}

}  // namespace zorvane
