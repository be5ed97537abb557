// Template expansion with fuzzed templates, counter texts, song title, memory figures and
// separator. A reference replays the four replacement steps, tracing where inserted text
// landed: the program's text must equal it, every token left in it must have been brought in
// by an insertion at or after its own step, and the counters must step as the rules say.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "check.h"
#include "messages/awaymessage.h"
#include "platform/model/model_controls.h"
#include "platform/model/model_desktop.h"
#include "reference_counter.h"
#include "text/utf.h"

using namespace zorvane;

namespace {

// For each character, the step that last put something right before it (0: never).
struct Traced {
    std::string text;
    std::vector<int> joined;
};

void replaceTraced(Traced& traced, std::string_view token, std::string_view value, int step) {
    Traced out;
    bool afterInsertion = false;
    for (std::size_t i = 0; i < traced.text.size();) {
        if (std::string_view(traced.text).substr(i).starts_with(token)) {
            out.text += value;
            out.joined.insert(out.joined.end(), value.size(), step);
            afterInsertion = true;
            i += token.size();
        } else {
            out.text += traced.text[i];
            out.joined.push_back(afterInsertion ? step : traced.joined[i]);
            afterInsertion = false;
            ++i;
        }
    }
    traced = std::move(out);
}

// The four steps in order; a token may remain only where an insertion of its own step or a
// later one formed it.
std::string referenceExpansion(const std::string& message, const std::string (&values)[4]) {
    constexpr std::string_view tokens[] = {"%c", "%u", "%s", "%m"};
    Traced traced{message, std::vector<int>(message.size(), 0)};
    for (int step = 1; step <= 4; ++step)
        replaceTraced(traced, tokens[step - 1], values[step - 1], step);
    for (int step = 1; step <= 4; ++step) {
        for (auto at = traced.text.find(tokens[step - 1]); at != std::string::npos;
             at = traced.text.find(tokens[step - 1], at + 1)) {
            require(traced.joined[at + 1] >= step, "no token left that its step should replace");
        }
    }
    return traced.text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    ModelDesktop desktop;
    const std::string separator(input.PickValueInArray(separators));
    desktop.setDecimalSeparator(separator);
    const auto total = input.ConsumeIntegral<std::uint64_t>();
    desktop.setMemory({total, input.ConsumeIntegral<std::uint64_t>()});
    if (input.ConsumeBool()) desktop.addWindow("Winamp v1.x", input.ConsumeRandomLengthString(300));
    const std::string down = input.ConsumeRandomLengthString(16);
    const std::string up = input.ConsumeRandomLengthString(16);
    const std::string message = input.ConsumeRemainingBytesAsString();
    ModelTextControl countdown(down), countup(up);

    const std::string song = currentsong(desktop);
    require(utf16Length(song) <= 127, "the song title is cut to the player's buffer");
    const std::string memory = memorystats(desktop);
    const auto result = expandmessage(message, {countdown, countup, desktop});

    // The counters, by the rules: count-down steps toward zero and rests there untouched,
    // count-up always steps; a failing box stays as it was, an earlier write stays.
    using Counter = ExpandError::Counter;
    const auto failed = [&](Counter counter, CounterError kind) {
        return !result && result.error().counter == counter && result.error().kind == kind;
    };
    const auto downBefore = referenceCounter(down, separator);
    if (!downBefore || *downBefore == INT16_MIN) {
        const auto kind = downBefore ? CounterError::OutOfRange : downBefore.error();
        require(failed(Counter::CountDown, kind), "count-down failure reported");
        require(countdown.text() == down && countup.text() == up, "failing count-down: no write");
        return 0;
    }
    const int downAfter = *downBefore == 0 ? 0 : *downBefore - 1;
    require(countdown.text() == (*downBefore == 0 ? down : std::to_string(downAfter)),
            "count-down stepped, or left alone at zero");
    const auto upBefore = referenceCounter(up, separator);
    if (!upBefore || *upBefore == INT16_MAX) {
        const auto kind = upBefore ? CounterError::OutOfRange : upBefore.error();
        require(failed(Counter::CountUp, kind), "count-up failure reported");
        require(countup.text() == up, "failing count-up: no write");
        return 0;
    }
    require(countup.text() == std::to_string(*upBefore + 1), "count-up stepped");
    require(result.has_value(), "valid counters expand");

    const std::string values[] = {std::to_string(downAfter), std::to_string(*upBefore + 1), song,
                                  memory};
    require(*result == referenceExpansion(message, values), "the text the four steps give");
    return 0;
}
