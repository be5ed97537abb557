#include "platform/model/model_desktop.h"

#include <algorithm>
#include <memory>
#include <ranges>
#include <utility>

#include "text/utf.h"

namespace zorvane {
namespace {

class ModelBrowser : public Browser {
  public:
    explicit ModelBrowser(std::vector<std::string>& log) : log_(log) {}
    void navigate(std::string_view url) override { log_.push_back("navigate " + std::string(url)); }
    void setVisible(bool visible) override { log_.emplace_back(visible ? "show" : "hide"); }

  private:
    std::vector<std::string>& log_;
};

}  // namespace

class ModelDesktop::ModelAlarm final : public Alarm {
  public:
    ModelAlarm(ModelDesktop& desktop, int id) : desktop_(desktop), id_(id) {}
    ~ModelAlarm() override { desktop_.alarms_.erase(id_); }
    ModelAlarm(const ModelAlarm&) = delete;
    ModelAlarm& operator=(const ModelAlarm&) = delete;

  private:
    ModelDesktop& desktop_;
    int id_;
};

WindowHandle ModelDesktop::addWindow(std::string className, std::string title, WindowHandle parent,
                                     bool ownProcess) {
    WindowHandle handle = nextHandle_;
    if (reuseHandles && !closed_.empty()) {
        handle = closed_.back();
        closed_.pop_back();
    } else {
        nextHandle_ += 4;
    }
    windows_.push_back({handle, std::move(className), std::move(title), parent, ownProcess});
    byHandle_[handle] = std::prev(windows_.end());
    if (parent == 0) report(WindowReport::Created, handle);
    return handle;
}

void ModelDesktop::removeWindow(WindowHandle window) {
    if (window == 0) return;  // as the system's: no window, nothing to close
    std::vector<WindowHandle> gone{window};
    for (std::size_t i = 0; i < gone.size(); ++i) {
        for (const auto& w : windows_) {
            if (w.parent == gone[i]) gone.push_back(w.handle);
        }
    }
    // The deepest children first, so that the closed window's own handle is the next reused.
    for (const WindowHandle handle : std::views::reverse(gone)) {
        if (const auto it = byHandle_.find(handle); it != byHandle_.end()) {
            windows_.erase(it->second);
            byHandle_.erase(it);
            if (reuseHandles) closed_.push_back(handle);
            // A window made later with its handle is another's: it neither has these rights
            // nor gets the texts still on their way to this one, which the system drops.
            elevated.erase(handle);
            std::erase_if(landing_, [&](const TextWrite& w) { return w.window == handle; });
            report(WindowReport::Destroyed, handle);
        }
    }
}

void ModelDesktop::bringToFront(WindowHandle window) {
    const auto it = byHandle_.find(window);
    if (it != byHandle_.end()) windows_.splice(windows_.begin(), windows_, it->second);
}

ModelWindow* ModelDesktop::find(WindowHandle handle) {
    const auto it = byHandle_.find(handle);
    return it == byHandle_.end() ? nullptr : &*it->second;
}

void ModelDesktop::countQuery() {
    if (++queries_ == hookAt_ && hook_) std::exchange(hook_, nullptr)();
}

void ModelDesktop::postAt(double atSeconds, std::function<void()> event) {
    events_.push_back({atSeconds, std::move(event)});
}

std::vector<WindowHandle> ModelDesktop::findWindows(std::string_view className,
                                                    std::string_view title) {
    std::vector<WindowHandle> found;
    for (const auto& w : windows_) {
        if (w.parent == 0 && w.className == className && w.title == title) {
            found.push_back(w.handle);
        }
    }
    return found;
}

WindowHandle ModelDesktop::findWindowByClass(std::string_view className) {
    for (const auto& w : windows_) {
        if (w.parent == 0 && w.className == className) return w.handle;
    }
    return 0;
}

WindowHandle ModelDesktop::findChild(WindowHandle parent, std::string_view className) {
    if (parent == 0) return 0;
    for (const auto& w : windows_) {
        if (w.parent == parent && w.className == className) return w.handle;
    }
    return 0;
}

bool ModelDesktop::belongsToThisProcess(WindowHandle window) {
    const ModelWindow* w = find(window);
    return w != nullptr && w->ownProcess;
}

std::vector<WindowHandle> ModelDesktop::topLevelWindows() {
    countQuery();
    std::vector<WindowHandle> found;
    for (const auto& w : windows_) {
        if (w.parent == 0) found.push_back(w.handle);
    }
    return found;
}

std::string ModelDesktop::className(WindowHandle window, std::size_t maxUtf16Units) {
    countQuery();
    const ModelWindow* w = find(window);
    if (w == nullptr) return {};
    return toUtf8(firstUtf16Units(toUtf16(w->className), maxUtf16Units));
}

std::vector<WindowReport> ModelDesktop::takeWindowReports() { return std::exchange(reports_, {}); }

void ModelDesktop::renameWindow(WindowHandle window, std::string title) {
    ModelWindow* w = find(window);
    if (w == nullptr) return;
    w->title = std::move(title);
    if (w->parent == 0) report(WindowReport::Renamed, window);
}

std::string ModelDesktop::windowText(WindowHandle window, std::size_t maxUtf16Units) {
    countQuery();
    const ModelWindow* w = find(window);
    if (w == nullptr) return {};
    return toUtf8(firstUtf16Units(toUtf16(w->title), maxUtf16Units));
}

Write ModelDesktop::setWindowText(WindowHandle window, std::string_view text) {
    ModelWindow* w = find(window);
    if (w == nullptr) return Write::NoWindow;
    if (elevated.contains(window)) return Write::Refused;
    if (clientHangs) return Write::NotAnswering;  // the system tells at once
    const double done = std::max(now_, clientBusyUntil_) + writeSeconds;
    clientBusyUntil_ = done;
    landing_.push_back({window, std::string(text), done});
    // Nothing runs while the program waits for the client; past the limit it waits no more.
    now_ = std::min(done, now_ + maxPeerWriteSeconds);
    land();
    return Write::Made;
}

void ModelDesktop::report(WindowReport::Kind kind, WindowHandle window) {
    if (!reportChanges) return;
    if (reports_.size() >= maxReports) {
        reports_.erase(reports_.begin(),
                       reports_.begin() + static_cast<std::ptrdiff_t>(maxReports / 2));
        reports_.push_back({WindowReport::Lost, 0});
    }
    reports_.push_back({kind, window});
}

void ModelDesktop::land() {
    // A client that hangs takes none, however long they have waited.
    while (!clientHangs && !landing_.empty() && landing_.front().at <= now_) {
        const TextWrite write = std::move(landing_.front());
        landing_.pop_front();
        ModelWindow* w = find(write.window);
        w->title = write.text;
        if (w->parent == 0) report(WindowReport::Renamed, write.window);
        writes_.push_back(write);
    }
}

bool ModelDesktop::openUrl(std::string_view url) {
    passTime(std::min(urlSeconds, 2.0));
    if (urlHandler) urls_.emplace_back(url);
    return urlHandler;
}

std::optional<std::string> ModelDesktop::urlSchemeCommand(std::string_view scheme) {
    const auto found = schemeCommands.find(scheme);
    if (found == schemeCommands.end()) return std::nullopt;
    return found->second;
}

std::expected<std::unique_ptr<Browser>, NoBrowser> ModelDesktop::createBrowser() {
    if (noBrowser) return std::unexpected(*noBrowser);
    browserLog.emplace_back("new browser");
    return std::make_unique<ModelBrowser>(browserLog);
}

void ModelDesktop::openInDefaultBrowser(std::string_view url) {
    browserLog.push_back("default browser " + std::string(url));
}

void ModelDesktop::pumpEvents() {
    ++pumps_;
    now_ += pumpStep;
    land();
    // Only what is already due runs; events posted by these handlers wait for the next pump.
    std::vector<Event> due;
    auto notDue =
        std::ranges::stable_partition(events_, [&](const Event& e) { return e.at > now_; });
    due.assign(std::make_move_iterator(notDue.begin()), std::make_move_iterator(notDue.end()));
    events_.erase(notDue.begin(), notDue.end());
    std::ranges::stable_sort(due, {}, &Event::at);
    for (auto& event : due)
        event.run();
    ringAlarms();
}

std::unique_ptr<Alarm> ModelDesktop::setAlarm(double atSeconds, std::function<void()> alarm) {
    const int id = nextAlarm_++;
    alarms_.emplace(id, AlarmEntry{atSeconds, std::move(alarm)});
    return std::make_unique<ModelAlarm>(*this, id);
}

void ModelDesktop::passTime(double seconds) {
    const double end = now_ + seconds;
    for (;;) {
        const auto next =
            std::ranges::min_element(alarms_, {}, [](const auto& a) { return a.second.at; });
        if (next == alarms_.end() || next->second.at > end) break;
        now_ = std::max(now_, next->second.at);
        land();
        ringAlarms();
    }
    now_ = std::max(now_, end);
}

void ModelDesktop::ringAlarms() {
    for (;;) {
        auto due = alarms_.end();
        for (auto it = alarms_.begin(); it != alarms_.end(); ++it) {
            if (it->second.at <= now_ && (due == alarms_.end() || it->second.at < due->second.at))
                due = it;
        }
        if (due == alarms_.end()) return;
        // Rings once; the one who set it may cancel it meanwhile, so it rings from a copy.
        const std::function<void()> ring = std::move(due->second.ring);
        alarms_.erase(due);
        ring();
    }
}

}  // namespace zorvane
