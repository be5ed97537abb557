#pragma once
// The away message: template expansion, its text forms, and its delivery to the IM client.

#include <cstddef>
#include <expected>
#include <optional>
#include <string>
#include <string_view>

#include "messages/counters.h"
#include "platform/controls.h"
#include "platform/desktop.h"

namespace zorvane {

// The two boxes the counters live in, and the desktop the probes read.
struct ExpansionContext {
    TextBox& countdown;
    TextBox& countup;
    Desktop& desktop;
};

// Whether an expansion runs the pending events. Held for the step a wait makes when its time is
// up: a prompt the user opened in there would hold the step back for as long as it stays open.
enum class PendingEvents { Run, Held };

struct ExpandError {
    enum class Counter { CountDown, CountUp };
    Counter counter;
    CounterError kind;
};

// Steps the counters, then replaces %c, %u, %s and %m (in that order). Runs the pending-events
// pump before it reads the memory status, unless they are held. On failure, what was written
// before it stays.
std::expected<std::string, ExpandError> expandmessage(std::string message,
                                                      const ExpansionContext& context,
                                                      PendingEvents events = PendingEvents::Run);

// Every CR LF becomes "<br>"; a lone CR or LF stays.
std::string lineBreakForm(std::string_view text);
// "<title>Zorvane</title>" + text, form-encoded so that the IM client decodes it back exactly.
std::string urlMessageForm(std::string_view text);
inline constexpr std::string_view placeholderMessage = "</title>Zorvane</title><";
std::string awayCommand(std::string_view message);
// The longest away command, in UTF-16 units, that the shell hands whole to the "aim" handler on
// Windows (`wineVersion` none) or on that version of Wine, whose handler is registered with
// the command line `aimHandler` (none: no handler).
std::size_t awayCommandLimit(std::optional<std::string_view> wineVersion,
                             std::optional<std::string_view> aimHandler);
// How many UTF-16 units the away command for `message` (in URL form) runs past `limit`; 0 when
// it fits. So many are to be cut from the message as it would be sent, where a line break takes
// four ("<br>"), an escaped symbol three, and a character beyond U+FFFF two.
std::size_t awayCommandExcess(std::string_view message, std::size_t limit);
// False when the command's own part, the link and the title, leaves no unit within `limit` for
// a message: then cutting the message cannot help.
bool awayCommandHasRoom(std::size_t limit);

// False when the shell said it could not hand the command over.
bool goaway(Desktop& desktop, std::string_view message);
// Writes the text into the edit field of the other program's standard dialog with this exact
// title; NoWindow when there is none.
Write setawaytext(Desktop& desktop, std::string_view title, std::string_view text);
Write settext(Desktop& desktop, WindowHandle window, std::string_view text);

std::string currentsong(Desktop& desktop);
std::string memorystats(Desktop& desktop);

}  // namespace zorvane
