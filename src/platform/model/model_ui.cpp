#include "platform/model/model_ui.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace zorvane {
namespace {

// A handler may replace itself or destroy its window, so it runs from a copy.
void run(const std::map<int, Form::Handler>& handlers, int id) {
    const auto it = handlers.find(id);
    if (it == handlers.end() || !it->second) return;
    const Form::Handler handler = it->second;
    handler();
}

}  // namespace

ModelForm::ModelForm(ModelUi& ui, const FormLayout& layout) : ui_(ui), caption_(layout.caption) {
    for (const ControlLayout& c : layout.controls) {
        Control control;
        switch (c.kind) {
            case ControlKind::CheckBox:
                control = ModelCheckBox();
                break;
            case ControlKind::ListBox:
                control = ModelListBox();
                break;
            case ControlKind::Timer:
                control = ModelTimer();
                break;
            default:
                control = ModelTextControl(std::string(c.text));
                break;
        }
        if (!controls_.try_emplace(c.id, std::move(control)).second) {
            throw std::logic_error("duplicate control id " + std::to_string(c.id));
        }
    }
    ui_.forms_.push_back(this);
}

ModelForm::~ModelForm() { std::erase(ui_.forms_, this); }

void ModelForm::click(int id) {
    if (auto* box = std::get_if<ModelCheckBox>(&controls_.at(id))) {
        box->setValue(box->value() == 1 ? 0 : 1);
    }
    run(clicks_, id);
}

void ModelForm::doubleClick(int id) { run(doubleClicks_, id); }

void ModelForm::tick(int id) {
    if (control<ModelTimer>(id).enabled()) run(ticks_, id);
}

void ModelForm::close() {
    const Handler handler = close_;  // it may destroy this form
    if (handler) handler();
}

void ModelForm::messageBox(std::string_view text, std::string_view title) {
    ui_.messageBoxes_.push_back({this, std::string(text), std::string(title)});
    ui_.stayOpen(ui_.whileMessageBoxOpen);
}

std::string ModelForm::prompt(std::string_view text, std::string_view title) {
    ui_.prompts_.push_back({this, std::string(text), std::string(title)});
    ui_.stayOpen(ui_.whilePromptOpen);
    if (ui_.promptAnswers.empty()) throw std::logic_error("no scripted answer for the prompt");
    std::string answer = std::move(ui_.promptAnswers.front());
    ui_.promptAnswers.pop_front();
    return answer;
}

void ModelUi::stayOpen(std::function<void()>& hook) {
    ++openModals_;
    const struct Closed {
        int& open;
        ~Closed() { --open; }
    } closed{openModals_};
    if (auto once = std::exchange(hook, nullptr)) once();
    for (const double end = desktop_.now() + modalSeconds; desktop_.now() < end;)
        desktop_.pumpEvents();
}

ModelForm& ModelUi::form(std::string_view caption) const {
    const auto it = std::ranges::find(forms_, caption, &ModelForm::caption);
    if (it == forms_.end()) throw std::out_of_range("no window \"" + std::string(caption) + "\"");
    return **it;
}

std::unique_ptr<Form> ModelUi::createForm(const FormLayout& layout) {
    return std::make_unique<ModelForm>(*this, layout);
}

}  // namespace zorvane
