#include "messages/awaymessage.h"

#include <algorithm>
#include <charconv>
#include <utility>

#include "text/replace.h"
#include "text/utf.h"

namespace zorvane {
namespace {

// Windows refuses longer URLs (INTERNET_MAX_URL_LENGTH is 2083, and ShellExecute is reported to
// fail above 2081); Wine from 8.17 on takes any length, and is held to the same.
constexpr std::size_t shellUrlLimit = 2048;
// An older Wine builds the handler's command line in a buffer of 1024 units, its NUL included,
// and leaves the URL out when it does not fit there; and a URL of 996 units or more overruns
// another of its buffers whatever the handler, crashing the caller (measured on Wine 8.0).
constexpr std::size_t oldWineCommandLine = 1023;
constexpr std::size_t oldWineUrlLimit = 995;

// A version that cannot be read is taken for an old one.
bool before817(std::string_view version) {
    const char* const end = version.data() + version.size();
    int major = 0, minor = 0;
    const auto [dot, failed] = std::from_chars(version.data(), end, major);
    if (failed != std::errc{}) return true;
    if (dot != end && *dot == '.') std::from_chars(dot + 1, end, minor);
    return std::pair(major, minor) < std::pair(8, 17);
}

}  // namespace

std::size_t awayCommandLimit(std::optional<std::string_view> wineVersion,
                             std::optional<std::string_view> aimHandler) {
    if (!wineVersion || !before817(*wineVersion)) return shellUrlLimit;
    if (!aimHandler) return oldWineUrlLimit;
    // The shell puts the URL in for each %1 (or %L) of the command; the rest takes its room first.
    const std::u16string command = toUtf16(*aimHandler);
    std::size_t rest = 0, urls = 0;
    for (std::size_t i = 0; i < command.size(); ++i) {
        const char16_t next = command[i + 1];  // past the last, the string's terminating 0
        if (command[i] == u'%' && (next == u'1' || next == u'l' || next == u'L')) {
            ++urls;
            ++i;
        } else {
            ++rest;
        }
    }
    if (urls == 0) return oldWineUrlLimit;
    if (rest >= oldWineCommandLine) return 0;
    return std::min(oldWineUrlLimit, (oldWineCommandLine - rest) / urls);
}

std::expected<std::string, ExpandError> expandmessage(std::string message,
                                                      const ExpansionContext& context,
                                                      PendingEvents events) {
    using Counter = ExpandError::Counter;
    const std::string separator = context.desktop.decimalSeparator();
    const auto fail = [](Counter counter, CounterError kind) {
        return std::unexpected(ExpandError{counter, kind});
    };

    // Count-down: steps toward and past zero, but rests at zero (its text then stays as typed).
    const auto down = parseCounter(context.countdown.text(), separator);
    if (!down) return fail(Counter::CountDown, down.error());
    std::int16_t countdown = *down;
    if (countdown != 0) {
        if (countdown == INT16_MIN) return fail(Counter::CountDown, CounterError::OutOfRange);
        --countdown;
        context.countdown.setText(formatCounter(countdown));
    }

    const auto up = parseCounter(context.countup.text(), separator);
    if (!up) return fail(Counter::CountUp, up.error());
    if (*up == INT16_MAX) return fail(Counter::CountUp, CounterError::OutOfRange);
    const auto countup = static_cast<std::int16_t>(*up + 1);
    context.countup.setText(formatCounter(countup));

    // Each step scans what the steps before it inserted: a song title's "%m" gets the memory
    // line, while its "%c" stays as it is.
    message = replaceAll(message, "%c", formatCounter(countdown));
    message = replaceAll(message, "%u", formatCounter(countup));
    message = replaceAll(message, "%s", currentsong(context.desktop));
    // Pending events run here, so a nested expansion sees the counters already stepped.
    if (events == PendingEvents::Run) context.desktop.pumpEvents();
    message = replaceAll(message, "%m", memorystats(context.desktop));
    return message;
}

std::string lineBreakForm(std::string_view text) { return replaceAll(text, "\r\n", "<br>"); }

std::string urlMessageForm(std::string_view text) {
    // The IM client form-decodes the message, so everything that decoding or the handler's
    // quoted command line would change is escaped; all else, bytes above 127 too, goes as is.
    constexpr std::string_view titleTag = "<title>Zorvane</title>";
    constexpr std::string_view escaped = "%+&#\"\\";
    constexpr char hex[] = "0123456789ABCDEF";
    std::string result;
    result.reserve(titleTag.size() + text.size());
    for (const std::string_view part : {titleTag, text}) {
        for (const char c : part) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == ' ') {
                result += '+';
            } else if (byte < 0x20 || byte == 0x7F || escaped.find(c) != std::string_view::npos) {
                result += '%';
                result += hex[byte >> 4];
                result += hex[byte & 0x0F];
            } else {
                result += c;
            }
        }
    }
    return result;
}

std::string awayCommand(std::string_view message) {
    return "aim:goaway?message=" + std::string(message);
}

std::size_t awayCommandExcess(std::string_view message, std::size_t limit) {
    const std::size_t length = utf16Length(awayCommand(message));
    return length > limit ? length - limit : 0;
}

bool awayCommandHasRoom(std::size_t limit) {
    return utf16Length(awayCommand(urlMessageForm(""))) < limit;
}

bool goaway(Desktop& desktop, std::string_view message) {
    return desktop.openUrl(awayCommand(message));
}

Write setawaytext(Desktop& desktop, std::string_view title, std::string_view text) {
    // No title means no away dialog was found; an untitled dialog of some program is not it.
    if (title.empty()) return Write::NoWindow;
    // Our own message boxes are "#32770" windows too, possibly with the same title: skip them.
    WindowHandle dialog = 0;
    for (const WindowHandle window : desktop.findWindows("#32770", title)) {
        if (!desktop.belongsToThisProcess(window)) {
            dialog = window;
            break;
        }
    }
    // No dialog found, or no container in it: a search under no window finds nothing.
    const WindowHandle container = desktop.findChild(dialog, "WndAte32Class");
    const WindowHandle edit = desktop.findChild(container, "Ate32Class");
    if (edit == 0) return Write::NoWindow;
    return settext(desktop, edit, text);
}

Write settext(Desktop& desktop, WindowHandle window, std::string_view text) {
    return desktop.setWindowText(window, text);
}

}  // namespace zorvane
