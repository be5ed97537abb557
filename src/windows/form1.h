#pragma once
// The main window: the away-message template and its counters, Set Away / Set Back, and the
// minute refresh that keeps a dynamic message current while away.

#include <expected>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "messages/awaymessage.h"
#include "platform/desktop.h"
#include "platform/form.h"
#include "responder/responder.h"
#include "waits/waits.h"
#include "windows/form2.h"
#include "windows/form3.h"

namespace zorvane {

class Form1 {
  public:
    // Builds the window, hidden, with its design values.
    Form1(Ui& ui, Desktop& desktop);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    void show() { form_->show(); }

    // Makes `then` once `interval` seconds have passed, whatever runs meanwhile, and returns
    // after it, running pending events meanwhile.
    void Pause(double interval, const std::function<void()>& then) {
        pauseseconds(desktop_, interval, then);
    }

    // The template in line-break form, as taken at the last Set Away.
    const std::string& awaytemplate() const { return awaytemplate_; }

  private:
    // What the user is told at most once an away period, each kind on its own so that none
    // hides another.
    enum class Problem { Handler, CountDown, CountUp, TooLong, NoDialog, Access, NotAnswering };
    struct Refusal {
        Problem problem;
        std::string text;
    };
    static Refusal problemWith(const ExpandError& error);

    void setAway();
    // Set Away's last steps: the template expanded and handed to the IM client, as the away
    // command or, in hidden mode, as the away dialog's text.
    void deliverAway();
    void deliverHidden();
    // Issues the away command for the text (in dialog form); what kept it from going, if
    // anything.
    std::optional<Refusal> sendAway(std::string_view text);
    // Writes the text into the away dialog, as hidden mode delivers.
    void writeHidden(std::string_view text);
    void setBack();
    void refresh();

    std::expected<std::string, ExpandError> expand(std::string message,
                                                   PendingEvents events = PendingEvents::Run);
    // Refuses a Set Away that cannot deliver: back to idle, the count-down as it was.
    void refuse(const std::string& countdownBefore, std::string_view problem);
    // Shows the problem unless the user has been told one of its kind this away period.
    void tellOnce(Problem kind, std::string_view problem);
    void tellOnce(const Refusal& refusal) { tellOnce(refusal.problem, refusal.text); }
    // The Extra window, created on first use and again after the user closed it.
    Form2& extra();
    // The About window, likewise.
    Form3& about();

    Ui& ui_;
    Desktop& desktop_;
    std::unique_ptr<Form> form_;
    TextBox& awaym_;
    TextBox& countdown_;
    TextBox& countup_;
    TextBox& Text1_;
    CheckBox& vp_;
    Label& Label8_;
    Timer& Timer1_;
    Timer& Timer2_;
    std::string awaytemplate_;
    // The general message as last handed to the IM client, in dialog form.
    std::string lastSent_;
    std::set<Problem> told_;  // this away period
    std::unique_ptr<Form2> extra_;
    std::unique_ptr<Form3> about_;
    Responder responder_;
};

}  // namespace zorvane
