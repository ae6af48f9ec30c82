// The Qt side of the screen models: one top-level window per window the core describes
// (ui/window_model.h), redrawn from the models after every event, with the operator's events
// forwarded to the core by name (ui/events.h). The renderer decides nothing itself.
//
// One handler at a time: while a handler runs (a send blocks the thread by design), events that
// arrive in a nested event loop (a message box, for example) are dropped, except inside an
// open gate (Dialogs::processEvents and runModal), where the operator's events dispatch as
// usual. A timer never ticks into a window whose handler is still running.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "qt/control_widgets.h"
#include "ui/events.h"

namespace sigcond::qt {

class RenderedWindow;

// Where the renderer gets its models and sends its events: in the program these are
// windowsOf, dispatchEvent and programEnded on the Program.
struct ModelHooks {
    std::function<std::vector<WindowView>()> windows;
    std::function<void(ScreenEvent&)> dispatch;
    std::function<bool()> ended;
};

class ScreenRenderer : public QObject {
    Q_OBJECT
public:
    explicit ScreenRenderer(ModelHooks hooks, QObject* parent = nullptr);
    ~ScreenRenderer() override;

    // Redraws every window from the models.
    void refresh();
    // Runs the core's handler for an operator event, then redraws. False when the event was
    // dropped (another handler is running, or the program has ended).
    bool dispatch(ScreenEvent& event);

    // While a Gate lives, events reach the core even though a handler is running.
    class Gate {
    public:
        explicit Gate(ScreenRenderer& renderer) : renderer_(renderer) { ++renderer_.openGates_; }
        ~Gate() { --renderer_.openGates_; }
        Gate(const Gate&) = delete;
        Gate& operator=(const Gate&) = delete;

    private:
        ScreenRenderer& renderer_;
    };

    // A window shown modally by Dialogs::runModal; others with the modal flag stay hidden.
    void setModalRunning(const std::string& window, bool running);
    bool modelVisible(const std::string& window);
    bool handlerRunning() const { return !running_.empty(); }
    bool refreshing() const { return refreshing_; }
    bool ended() const { return ended_; }

    // The widgets, for the application and for tests that drive it.
    RenderedWindow* window(const std::string& name) const;
    QWidget* controlWidget(const std::string& window, const std::string& control,
                           int index = -1) const;
    std::vector<RenderedWindow*> windows() const;

    // Lets the owner of a kind the renderer does not draw (the chart) supply its widget.
    void setCustomControl(ControlKind kind, CustomControl custom);
    const CustomControl* customControl(ControlKind kind) const;

signals:
    // After every redraw.
    void refreshed();
    // Once, when the core reports that the program has ended.
    void programEnded();

private:
    ModelHooks hooks_;
    std::map<std::string, RenderedWindow*> windows_;
    std::map<ControlKind, CustomControl> custom_;
    std::set<std::string> modalRunning_;
    std::vector<std::string> running_;  // windows whose handler is on the stack
    int openGates_ = 0;
    bool refreshing_ = false;
    bool refreshAgain_ = false;
    bool ended_ = false;
};

}  // namespace sigcond::qt
