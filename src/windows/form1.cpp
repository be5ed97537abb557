#include "windows/form1.h"

#include <cstdint>

#include "messages/counters.h"
#include "windows/control_ids.h"
#include "windows/form1_layout.h"

namespace zorvane {
namespace {

constexpr std::string_view appTitle = "Zorvane";
// The IM client titles its away dialog after the <title> of our away command.
constexpr std::string_view awayDialogTitle = "Zorvane";

constexpr std::string_view countDownProblem =
    "Count Down must be a whole number from -32767 to 32767.";
constexpr std::string_view countUpTooHigh =
    "Count Up cannot go past 32767. Set Back and Set Away again to restart it.";
constexpr std::string_view countUpNotANumber =
    "Count Up is not a whole number any more. Set Back and Set Away again to restart it.";
constexpr std::string_view noHandlerProblem =
    "No program for aim: links could be started: the IM client did not get the away message.";
constexpr std::string_view noDialogProblem =
    "The IM client's away dialog (titled \"Zorvane\") was not open: the IM client did not get "
    "the away message.";
constexpr std::string_view accessProblem =
    "Zorvane cannot write into the IM client's away dialog because the IM client runs with "
    "higher rights (as administrator). Start Zorvane the same way.";
constexpr std::string_view notAnsweringProblem =
    "The IM client is not answering: it did not get the away message.";

// The count is of the message as it would be sent, which is not quite the text the user sees.
std::string tooLongProblem(std::size_t excess) {
    return "The away message is " + std::to_string(excess) +
           (excess == 1 ? " character" : " characters") +
           " too long to hand to the IM client. It is counted as it would be sent, with %c, %u, "
           "%s and %m filled in; each line break counts as 4 characters, and each of % + & # \" "
           "\\ as 3.";
}
constexpr std::string_view noRoomProblem =
    "The IM client's command for aim: links is so long that this system cannot hand it any "
    "away message. Install the IM client in a folder with a shorter path, or use Wine 8.17 or "
    "later.";

// A refresh re-sends only a message whose text can change.
bool isDynamic(std::string_view message) {
    for (const std::string_view token : {"%u", "%c", "%m", "%s"}) {
        if (message.find(token) != std::string_view::npos) return true;
    }
    return false;
}

}  // namespace

Form1::Refusal Form1::problemWith(const ExpandError& error) {
    if (error.counter == ExpandError::Counter::CountDown)
        return {Problem::CountDown, std::string(countDownProblem)};
    return {Problem::CountUp, std::string(error.kind == CounterError::NotANumber ? countUpNotANumber
                                                                                 : countUpTooHigh)};
}

Form1::Form1(Ui& ui, Desktop& desktop)
    : ui_(ui),
      desktop_(desktop),
      form_(ui.createForm(form1Layout())),
      awaym_(form_->textControl(ids::awaym)),
      countdown_(form_->textControl(ids::countdown)),
      countup_(form_->textControl(ids::countup)),
      Text1_(form_->textControl(ids::Text1)),
      vp_(form_->checkBox(ids::vp)),
      Label8_(form_->textControl(ids::Label8)),
      Timer1_(form_->timer(ids::Timer1)),
      Timer2_(form_->timer(ids::Timer2)),
      responder_(desktop, Text1_, {countdown_, countup_, desktop}, {awaytemplate_, lastSent_},
                 [this] {
                     // The lists are the Extra window's; while it does not exist, nothing waits.
                     return extra_ ? std::optional<BuddyLists>(
                                         {extra_->List1(), extra_->List2(), extra_->waiting()})
                                   : std::nullopt;
                 }) {
    responder_.onAccessDenied = [this] { tellOnce(Problem::Access, accessProblem); };
    responder_.onExpansionFailed = [this](const ExpandError& error) {
        tellOnce(problemWith(error));
    };
    form_->onClick(ids::Label8, [this] {
        if (Label8_.text() == "Set Back") {
            setBack();
        } else {
            setAway();
        }
    });
    form_->onClick(ids::Label9, [this] { extra().show(); });
    form_->onClick(ids::Label2, [this] { about().show(); });
    form_->onTimer(ids::Timer1, [this] { refresh(); });
    form_->onTimer(ids::Timer2, [this] { responder_.scanwindows(); });
    form_->onClose([this] { ui_.exitProcess(); });
}

void Form1::setAway() {
    // A count-down the expansion cannot step would fail after the away state is entered.
    const auto countdown = parseCounter(countdown_.text(), desktop_.decimalSeparator());
    if (!countdown || *countdown == INT16_MIN) {
        form_->messageBox(countDownProblem, appTitle);
        return;
    }

    // The caption and timers come first: the expansion and the Pause run pending events, and a
    // click there must find the away state already entered.
    countup_.setText("0");
    Label8_.setText("Set Back");
    Timer1_.setEnabled(true);
    Timer2_.setEnabled(true);
    awaytemplate_ = lineBreakForm(awaym_.text());
    told_.clear();

    // Hidden mode sends a placeholder and, once the IM client has opened its away dialog,
    // writes the text there: half a second later, whatever the user opens meanwhile.
    if (vp_.value() == 1) {
        if (!goaway(desktop_, placeholderMessage)) tellOnce(Problem::Handler, noHandlerProblem);
        return Pause(0.5, [this] { deliverHidden(); });
    }
    deliverAway();
}

void Form1::deliverAway() {
    const std::string countdownBefore = countdown_.text();
    const auto expanded = expand(awaym_.text());
    if (!expanded) return refuse(countdownBefore, problemWith(expanded.error()).text);
    if (const auto refused = sendAway(lineBreakForm(*expanded)))
        refuse(countdownBefore, refused->text);
}

// The end of the Pause: nothing else runs before the text goes in.
void Form1::deliverHidden() {
    const std::string countdownBefore = countdown_.text();
    const auto expanded = expand(awaym_.text(), PendingEvents::Held);
    if (!expanded) return refuse(countdownBefore, problemWith(expanded.error()).text);
    writeHidden(lineBreakForm(*expanded));
}

std::optional<Form1::Refusal> Form1::sendAway(std::string_view text) {
    const std::string message = urlMessageForm(text);
    const std::size_t limit =
        awayCommandLimit(desktop_.wineVersion(), desktop_.urlSchemeCommand("aim"));
    if (const std::size_t excess = awayCommandExcess(message, limit)) {
        return Refusal{Problem::TooLong, awayCommandHasRoom(limit) ? tooLongProblem(excess)
                                                                   : std::string(noRoomProblem)};
    }
    if (!goaway(desktop_, message)) return Refusal{Problem::Handler, std::string(noHandlerProblem)};
    lastSent_ = text;
    return std::nullopt;
}

void Form1::writeHidden(std::string_view text) {
    switch (setawaytext(desktop_, awayDialogTitle, text)) {
        case Write::Made:
            lastSent_ = text;
            break;
        case Write::NoWindow:
            tellOnce(Problem::NoDialog, noDialogProblem);
            break;
        case Write::Refused:
            tellOnce(Problem::Access, accessProblem);
            break;
        case Write::NotAnswering:
            tellOnce(Problem::NotAnswering, notAnsweringProblem);
            break;
    }
}

void Form1::setBack() {
    Label8_.setText("Set Away");
    Timer1_.setEnabled(false);
    Timer2_.setEnabled(false);
    countup_.setText("0");
}

void Form1::refresh() {
    std::string message = awaytemplate_;
    if (!isDynamic(message)) return;
    const bool hidden = vp_.value() == 1;
    const auto expanded = expand(std::move(message));
    if (!expanded) return tellOnce(problemWith(expanded.error()));
    if (hidden) return writeHidden(*expanded);
    if (const auto refused = sendAway(*expanded)) tellOnce(*refused);
}

std::expected<std::string, ExpandError> Form1::expand(std::string message, PendingEvents events) {
    return expandmessage(std::move(message), {countdown_, countup_, desktop_}, events);
}

void Form1::refuse(const std::string& countdownBefore, std::string_view problem) {
    setBack();
    countdown_.setText(countdownBefore);
    form_->messageBox(problem, appTitle);
}

Form2& Form1::extra() {
    if (!extra_) extra_ = std::make_unique<Form2>(ui_, [this] { extra_.reset(); });
    return *extra_;
}

Form3& Form1::about() {
    if (!about_) about_ = std::make_unique<Form3>(ui_, desktop_, [this] { about_.reset(); });
    return *about_;
}

void Form1::tellOnce(Problem kind, std::string_view problem) {
    // Marked before the box: its modal loop runs the next ticks.
    if (!told_.insert(kind).second) return;
    form_->messageBox(problem, appTitle);
}

}  // namespace zorvane
