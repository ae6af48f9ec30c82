// One top-level window drawn from a WindowView: its controls (by kind, children inside their
// frame or picture box), its menus, its timers, its pointer and focus request. The window
// forwards the operator's events to the renderer.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <string>

#include "ui/events.h"

class QAction;
class QMenu;
class QTimer;

namespace sigcond::qt {

class ScreenRenderer;

class RenderedWindow : public QMainWindow {
    Q_OBJECT
public:
    RenderedWindow(ScreenRenderer& renderer, std::string name);

    const std::string& name() const { return name_; }
    // Draws the view; `showModal` shows a modal window (runModal) with application modality.
    void draw(const WindowView& view, bool showModal);
    void hideWindow();

    QWidget* control(const std::string& name, int index = -1) const;
    QAction* menuAction(const std::string& name) const;
    QTimer* timer(const std::string& name) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QPointer<QWidget> widget;
        ControlKind kind = ControlKind::Label;
        std::string name;
        int index = -1;
        Control* control = nullptr;
    };

    Entry& entryFor(const ControlView& view);
    void connectSignals(Entry& entry);
    void buildMenus(const WindowView& view);
    void drawMenus(const WindowView& view);
    void drawTimers(const WindowView& view);
    void drawFocus(const WindowView& view);
    // Forwards an event of this window; returns the event as the handler left it.
    ScreenEvent forward(ScreenEvent event);
    void forwardLater(ScreenEvent event);
    bool filterKey(Entry& entry, QKeyEvent* key);

    ScreenRenderer& renderer_;
    std::string name_;
    QWidget* central_;
    std::map<std::string, Entry> controls_;  // by "Name" or "Name(index)"
    std::map<QObject*, std::string> keyOf_;
    std::map<std::string, QAction*> actions_;
    std::string menuSignature_;
    std::map<std::string, QTimer*> timers_;
    bool drawing_ = false;
    bool bypassKeyFilter_ = false;
    int modelWidth_ = 0;
    int modelHeight_ = 0;
    bool placed_ = false;
    bool* visibleFlag_ = nullptr;
};

}  // namespace sigcond::qt
