#include "qt/rendered_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "qt/control_widgets.h"
#include "qt/cp1252.h"
#include "qt/screen_renderer.h"
#include "qt/twips.h"

namespace sigcond::qt {
namespace {

std::string keyFor(const std::string& name, int index) {
    return index < 0 ? name : name + "(" + std::to_string(index) + ")";
}

// The character code a key press carries, as the core's KeyPress handlers see it; 0 for keys
// that type nothing (arrows, function keys, Delete).
int keyAsciiOf(const QKeyEvent* key) {
    switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_Delete:
            return 0;
        default:
            break;
    }
    const QString text = key->text();
    if (text.size() != 1) return 0;
    return static_cast<unsigned char>(toCp1252(text)[0]);
}

bool isOperatorFocusChange(const QFocusEvent* focus) {
    return focus->reason() != Qt::ActiveWindowFocusReason &&
           focus->reason() != Qt::PopupFocusReason;
}

}  // namespace

RenderedWindow::RenderedWindow(ScreenRenderer& renderer, std::string name)
    : renderer_(renderer), name_(std::move(name)), central_(new QWidget(this)) {
    setObjectName(QString::fromStdString(name_));
    central_->setObjectName(QStringLiteral("client"));
    central_->installEventFilter(this);
    setCentralWidget(central_);
    QFont font = this->font();
    font.setPointSize(8);
    setFont(font);
}

QWidget* RenderedWindow::control(const std::string& name, int index) const {
    const auto it = controls_.find(keyFor(name, index));
    return it == controls_.end() ? nullptr : it->second.widget.data();
}

QAction* RenderedWindow::menuAction(const std::string& name) const {
    const auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

QTimer* RenderedWindow::timer(const std::string& name) const {
    const auto it = timers_.find(name);
    return it == timers_.end() ? nullptr : it->second;
}

RenderedWindow::Entry& RenderedWindow::entryFor(const ControlView& view) {
    const std::string key = keyFor(view.name, view.index);
    Entry& entry = controls_[key];
    if (!entry.widget) {
        entry.kind = view.kind;
        entry.name = view.name;
        entry.index = view.index;
        entry.widget = createControlWidget(view.kind, central_, renderer_.customControl(view.kind));
        entry.widget->setObjectName(QString::fromStdString(key));
        keyOf_[entry.widget.data()] = key;
        entry.widget->installEventFilter(this);
        connectSignals(entry);
    }
    entry.control = view.control;
    return entry;
}

void RenderedWindow::connectSignals(Entry& entry) {
    const std::string name = entry.name;
    const int index = entry.index;
    const std::string key = keyFor(name, index);
    if (auto* button = qobject_cast<QPushButton*>(entry.widget)) {
        connect(button, &QPushButton::clicked, this, [this, name, index] {
            ScreenEvent e;
            e.control = name;
            e.index = index;
            e.kind = EventKind::Click;
            forward(e);
        });
    } else if (auto* edit = qobject_cast<QLineEdit*>(entry.widget)) {
        connect(edit, &QLineEdit::textEdited, this, [this, key, name, index](const QString& t) {
            // The text box's text is the operator's: the model follows it before its handler
            // runs, as the handler reads the control.
            Entry& e = controls_[key];
            if (e.control) e.control->caption = toCp1252(t);
            ScreenEvent event;
            event.control = name;
            event.index = index;
            event.kind = EventKind::Change;
            event.text = toCp1252(t);
            forward(event);
        });
    } else if (auto* list = qobject_cast<QListWidget*>(entry.widget)) {
        connect(list, &QListWidget::currentRowChanged, this, [this, key, name, index](int row) {
            if (drawing_ || renderer_.refreshing() || row < 0) return;
            Entry& e = controls_[key];
            if (e.control) e.control->selected = row;
            ScreenEvent event;
            event.control = name;
            event.index = index;
            event.kind = EventKind::Click;
            event.selected = row;
            forward(event);
        });
        connect(list, &QListWidget::itemDoubleClicked, this,
                [this, list, name, index](QListWidgetItem* item) {
                    ScreenEvent event;
                    event.control = name;
                    event.index = index;
                    event.kind = EventKind::DoubleClick;
                    event.selected = list->row(item);
                    forward(event);
                });
    }
}

void RenderedWindow::draw(const WindowView& view, bool showModal) {
    drawing_ = true;
    visibleFlag_ = view.visible;
    const QString title = view.title ? captionText(*view.title) : QString();
    if (windowTitle() != title) setWindowTitle(title);
    setAccessibleName(title);

    // Create every control first, then place children in their frame or picture box.
    for (const ControlView& cv : view.controls) {
        if (cv.control) entryFor(cv);
    }
    for (const ControlView& cv : view.controls) {
        if (!cv.control) continue;
        Entry& entry = controls_[keyFor(cv.name, cv.index)];
        QWidget* parent = central_;
        if (!cv.parent.empty()) {
            if (QWidget* holder = control(cv.parent)) parent = holder;
        }
        if (entry.widget->parentWidget() != parent) entry.widget->setParent(parent);
    }
    // Parents first, so that children inherit the parent's font and colours.
    for (int pass = 0; pass < 2; ++pass) {
        for (const ControlView& cv : view.controls) {
            if (!cv.control || cv.parent.empty() != (pass == 0)) continue;
            drawControl(controls_[keyFor(cv.name, cv.index)].widget, cv,
                        renderer_.customControl(cv.kind));
        }
    }
    buildMenus(view);
    drawMenus(view);
    drawTimers(view);

    if (view.widthTwips != modelWidth_ || view.heightTwips != modelHeight_) {
        modelWidth_ = view.widthTwips;
        modelHeight_ = view.heightTwips;
        const int menuHeight = view.menus.empty() ? 0 : menuBar()->sizeHint().height();
        resize(twipsToPixels(modelWidth_), twipsToPixels(modelHeight_) + menuHeight);
    }
    if (view.pointer && *view.pointer == Pointer::Hourglass) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }

    const bool wanted = view.visible && *view.visible && (!view.modal || showModal);
    if (wanted && !isVisible()) {
        setWindowModality(view.modal ? Qt::ApplicationModal : Qt::NonModal);
        if (!placed_) {
            if (const QScreen* screen = QGuiApplication::primaryScreen()) {
                const QRect area = screen->availableGeometry();
                move(area.center() - QPoint(width() / 2, height() / 2));
            }
            placed_ = true;
        }
        show();
        // The menu bar takes its full height only once shown, which can be more than its hint
        // said: the client area gets the model's height, so nothing at its bottom is cut off.
        const int shortBy = twipsToPixels(modelHeight_) - central_->height();
        if (shortBy > 0) resize(width(), height() + shortBy);
        raise();
        activateWindow();
    } else if (!wanted && isVisible()) {
        hide();
    }
    drawing_ = false;
    drawFocus(view);
}

void RenderedWindow::hideWindow() {
    if (isVisible()) hide();
}

void RenderedWindow::drawFocus(const WindowView& view) {
    if (!view.focus || view.focus->empty()) return;
    // A focus request is taken once; the operator moves the focus freely afterwards.
    const std::string wanted = *view.focus;
    view.focus->clear();
    const auto it = controls_.find(wanted);
    if (it == controls_.end() || !it->second.widget) return;
    QWidget* widget = it->second.widget;
    if (isVisible() && widget->isVisibleTo(this) && widget->isEnabled()) {
        widget->setFocus(Qt::OtherFocusReason);
    }
}

void RenderedWindow::buildMenus(const WindowView& view) {
    std::string signature;
    for (const MenuView& m : view.menus) signature += m.parent + "/" + m.name + ";";
    if (signature == menuSignature_) return;
    menuSignature_ = signature;
    if (view.menus.empty()) return;
    menuBar()->clear();
    actions_.clear();
    auto clickOf = [this](const std::string& name) {
        return [this, name] {
            ScreenEvent e;
            e.control = name;
            e.kind = EventKind::Click;
            forward(e);
        };
    };
    for (const MenuView& top : view.menus) {
        if (!top.parent.empty()) continue;
        const bool hasItems = std::any_of(view.menus.begin(), view.menus.end(),
                                          [&](const MenuView& m) { return m.parent == top.name; });
        if (!hasItems) {
            QAction* action = menuBar()->addAction(QString());
            action->setObjectName(QString::fromStdString(top.name));
            connect(action, &QAction::triggered, this, clickOf(top.name));
            actions_[top.name] = action;
            continue;
        }
        QMenu* menu = menuBar()->addMenu(QString());
        menu->setObjectName(QString::fromStdString(top.name));
        menu->menuAction()->setObjectName(QString::fromStdString(top.name));
        connect(menu, &QMenu::aboutToShow, this, clickOf(top.name));
        actions_[top.name] = menu->menuAction();
        for (const MenuView& item : view.menus) {
            if (item.parent != top.name) continue;
            const bool separator = item.separator || (item.item && item.item->caption == "-");
            QAction* action = separator ? menu->addSeparator() : menu->addAction(QString());
            action->setObjectName(QString::fromStdString(item.name));
            if (!separator) connect(action, &QAction::triggered, this, clickOf(item.name));
            actions_[item.name] = action;
        }
    }
}

void RenderedWindow::drawMenus(const WindowView& view) {
    for (const MenuView& m : view.menus) {
        QAction* action = menuAction(m.name);
        if (!action || !m.item) continue;
        if (!action->isSeparator()) {
            const QString text = captionText(m.item->caption);
            if (action->text() != text) action->setText(text);
        }
        if (action->isVisible() != m.item->visible) action->setVisible(m.item->visible);
        if (action->isEnabled() != m.item->enabled) action->setEnabled(m.item->enabled);
    }
}

void RenderedWindow::drawTimers(const WindowView& view) {
    for (const TimerView& t : view.timers) {
        if (!t.timer) continue;
        QTimer*& timer = timers_[t.name];
        if (!timer) {
            timer = new QTimer(this);
            timer->setObjectName(QString::fromStdString(t.name));
            connect(timer, &QTimer::timeout, this, [this, name = t.name] {
                ScreenEvent e;
                e.control = name;
                e.kind = EventKind::Tick;
                forward(e);
            });
        }
        const bool run = t.timer->enabled && t.timer->intervalMs > 0;
        if (run && (!timer->isActive() || timer->interval() != t.timer->intervalMs)) {
            timer->start(t.timer->intervalMs);
        } else if (!run && timer->isActive()) {
            timer->stop();
        }
    }
}

ScreenEvent RenderedWindow::forward(ScreenEvent event) {
    event.window = name_;
    if (!renderer_.dispatch(event)) event.accepted = false;
    return event;
}

void RenderedWindow::forwardLater(ScreenEvent event) {
    QTimer::singleShot(0, this, [this, event] { forward(event); });
}

void RenderedWindow::closeEvent(QCloseEvent* event) {
    if (renderer_.ended()) {
        event->accept();
        return;
    }
    // The model decides: the window goes when the handler lets it and the model hides it.
    event->ignore();
    ScreenEvent request;
    request.kind = EventKind::CloseRequest;
    request.window = name_;
    if (!renderer_.dispatch(request)) return;
    if (request.accepted && visibleFlag_ && *visibleFlag_) {
        *visibleFlag_ = false;
        renderer_.refresh();
    }
}

bool RenderedWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == central_) {
        if (event->type() == QEvent::Resize && isVisible() && !drawing_) {
            const int w = pixelsToTwips(central_->width());
            const int h = pixelsToTwips(central_->height());
            if (std::abs(w - modelWidth_) > 20 || std::abs(h - modelHeight_) > 20) {
                ScreenEvent e;
                e.kind = EventKind::Resize;
                e.widthTwips = w;
                e.heightTwips = h;
                forwardLater(e);
            }
        }
        return false;
    }
    const auto found = keyOf_.find(watched);
    if (found == keyOf_.end()) return false;
    Entry& entry = controls_[found->second];
    if (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut) {
        if (!isOperatorFocusChange(static_cast<QFocusEvent*>(event))) return false;
        ScreenEvent e;
        e.control = entry.name;
        e.index = entry.index;
        e.kind = event->type() == QEvent::FocusIn ? EventKind::GotFocus : EventKind::LostFocus;
        if (drawing_ || renderer_.refreshing()) {
            forwardLater(e);
        } else {
            forward(e);
        }
        return false;
    }
    if (event->type() == QEvent::KeyPress && entry.kind == ControlKind::TextBox) {
        return filterKey(entry, static_cast<QKeyEvent*>(event));
    }
    return false;
}

bool RenderedWindow::filterKey(Entry& entry, QKeyEvent* key) {
    if (bypassKeyFilter_) return false;
    const int ascii = keyAsciiOf(key);
    if (ascii == 0) return false;
    ScreenEvent e;
    e.control = entry.name;
    e.index = entry.index;
    e.kind = EventKind::KeyPress;
    e.keyAscii = ascii;
    e.window = name_;
    if (!renderer_.dispatch(e)) return true;  // no handler may see it now: the key is lost
    if (e.keyAscii == 0) return true;         // the handler rejected the key
    if (e.keyAscii == ascii) return false;
    // The handler replaced the key: type the replacement instead.
    const int code = e.keyAscii & 0xFF;
    const int qtKey = code == 8 ? Qt::Key_Backspace : code == 13 ? Qt::Key_Return : 0;
    QKeyEvent replacement(QEvent::KeyPress, qtKey, Qt::NoModifier,
                          fromCp1252(std::string(1, static_cast<char>(code))));
    bypassKeyFilter_ = true;
    if (entry.widget) QCoreApplication::sendEvent(entry.widget, &replacement);
    bypassKeyFilter_ = false;
    return true;
}

}  // namespace sigcond::qt
