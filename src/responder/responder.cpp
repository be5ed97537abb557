#include "responder/responder.h"

#include <algorithm>

#include "buddies/buddylists.h"
#include "responder/windowutils.h"

namespace zorvane {

std::string screenName(std::string_view caption) {
    std::string name(caption.substr(0, caption.find('-')));
    std::erase(name, ' ');
    return name;
}

Responder::Responder(Desktop& desktop, Waits& waits, TextBox& Text1, ExpansionContext expansion,
                     const std::string& awaytemplate, FindBuddyLists lists)
    : desktop_(desktop),
      waits_(waits),
      Text1_(Text1),
      expansion_(expansion),
      awaytemplate_(awaytemplate),
      lists_(std::move(lists)),
      watch_(desktop) {}

void Responder::scanwindows() {
    // With nothing waiting nothing can be handed out: no window is even looked at.
    const auto lists = lists_();
    if (!lists || lists->List1.count() == 0) return;

    std::vector<WindowHandle> imWindows = watch_.imWindows();
    // A tick that answers nobody reads each caption once and no entry of the lists.
    const auto answered = std::ranges::count_if(imWindows, [&](WindowHandle window) {
        return waitingEntry(window, lists->waiting).has_value();
    });
    if (answered == 0) return;
    // Several buddies answered in one scan are answered in the desktop's order, which only a
    // full look at the desktop knows for sure.
    if (answered > 1) imWindows = watch_.fullPass();
    for (const WindowHandle window : imWindows)
        checkimwindow(window);
}

std::optional<int> Responder::waitingEntry(WindowHandle imWindow, WaitingIndex& waiting) {
    // A window without a caption has no screen name; it is looked at again next time.
    const std::string caption = windowtitle(desktop_, imWindow);
    if (caption.empty()) return std::nullopt;
    return waiting.checklist(screenName(caption));
}

// The windows come from the watch, so their class is known: the steps start at the caption.
void Responder::checkimwindow(WindowHandle imWindow) {
    const auto lists = lists_();
    if (!lists) return;
    const auto position = waitingEntry(imWindow, lists->waiting);
    if (!position) return;
    // Moved before anything is written, so neither a failed write nor a scan that runs during
    // the writes hands the same entry out again.
    const auto entry = handout(lists->List1, lists->List2, *position);
    if (!entry) return;
    const std::string message = readEntry(*entry).message;

    Text1_.setText("");
    for (const WindowHandle window : desktop_.topLevelWindows())
        checkawaydialog(window);
    write(message, true);
    // The general message goes back half a second later, even if the user has a prompt or box
    // open by then: the buddy's own message is not everyone's to read.
    waits_.pauseseconds(0.5, [this] { write(awaytemplate_, false); });
}

// The last away dialog in the desktop's order wins. The caption is read once: a second reading
// of a dialog that has just closed would be empty and wipe out an earlier dialog that stands.
void Responder::checkawaydialog(WindowHandle window) {
    if (classprefix(desktop_, window).find("#32770") == std::string::npos) return;
    const std::string caption = windowtitle(desktop_, window);
    if (caption.find("Away") != std::string::npos) Text1_.setText(caption);
}

void Responder::write(std::string message, bool runEvents) {
    // The caption is read before the expansion, which may run pending events.
    const std::string caption = Text1_.text();
    ExpansionContext expansion = expansion_;
    expansion.runEvents = runEvents;
    const auto expanded = expandmessage(std::move(message), expansion);
    // A failed expansion skips only its own write.
    if (expanded && setawaytext(desktop_, caption, *expanded) == Access::Denied && onAccessDenied)
        onAccessDenied();
}

}  // namespace zorvane
