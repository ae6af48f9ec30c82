#include "qt/screen_renderer.h"

#include <algorithm>

#include "qt/rendered_window.h"

namespace sigcond::qt {

ScreenRenderer::ScreenRenderer(ModelHooks hooks, QObject* parent)
    : QObject(parent), hooks_(std::move(hooks)) {}

ScreenRenderer::~ScreenRenderer() {
    for (auto& [name, window] : windows_) delete window;
}

void ScreenRenderer::refresh() {
    if (refreshing_) {
        refreshAgain_ = true;
        return;
    }
    refreshing_ = true;
    do {
        refreshAgain_ = false;
        const std::vector<WindowView> views = hooks_.windows();
        std::set<std::string> seen;
        for (const WindowView& view : views) {
            seen.insert(view.name);
            RenderedWindow*& window = windows_[view.name];
            if (!window) window = new RenderedWindow(*this, view.name);
            window->draw(view, modalRunning_.count(view.name) > 0);
        }
        for (auto& [name, window] : windows_) {
            if (!seen.count(name)) window->hideWindow();
        }
    } while (refreshAgain_);
    refreshing_ = false;
    if (!ended_ && hooks_.ended && hooks_.ended()) {
        ended_ = true;
        emit programEnded();
    }
    emit refreshed();
}

bool ScreenRenderer::dispatch(ScreenEvent& event) {
    if (ended_ || refreshing_) return false;
    if (!running_.empty()) {
        if (openGates_ == 0) return false;
        const bool ownWindowBusy =
            std::find(running_.begin(), running_.end(), event.window) != running_.end();
        if (event.kind == EventKind::Tick && ownWindowBusy) return false;
    }
    running_.push_back(event.window);
    struct Pop {
        std::vector<std::string>& stack;
        ~Pop() { stack.pop_back(); }
    } pop{running_};
    hooks_.dispatch(event);
    refresh();
    return true;
}

void ScreenRenderer::setModalRunning(const std::string& window, bool running) {
    if (running) {
        modalRunning_.insert(window);
    } else {
        modalRunning_.erase(window);
    }
}

bool ScreenRenderer::modelVisible(const std::string& window) {
    for (const WindowView& view : hooks_.windows()) {
        if (view.name == window) return view.visible && *view.visible;
    }
    return false;
}

RenderedWindow* ScreenRenderer::window(const std::string& name) const {
    const auto it = windows_.find(name);
    return it == windows_.end() ? nullptr : it->second;
}

QWidget* ScreenRenderer::controlWidget(const std::string& window, const std::string& control,
                                       int index) const {
    const RenderedWindow* w = this->window(window);
    return w ? w->control(control, index) : nullptr;
}

std::vector<RenderedWindow*> ScreenRenderer::windows() const {
    std::vector<RenderedWindow*> result;
    for (const auto& [name, window] : windows_) result.push_back(window);
    return result;
}

void ScreenRenderer::setCustomControl(ControlKind kind, CustomControl custom) {
    custom_[kind] = std::move(custom);
}

const CustomControl* ScreenRenderer::customControl(ControlKind kind) const {
    const auto it = custom_.find(kind);
    return it == custom_.end() ? nullptr : &it->second;
}

}  // namespace sigcond::qt
