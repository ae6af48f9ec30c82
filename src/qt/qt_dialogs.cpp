#include "qt/qt_dialogs.h"

#include <QApplication>
#include <QEventLoop>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include "qt/cp1252.h"
#include "qt/screen_renderer.h"
#include "qt/twips.h"

namespace sigcond::qt {
namespace {

QMessageBox::StandardButtons standardButtons(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return QMessageBox::Ok;
        case Buttons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case Buttons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case Buttons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case Buttons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case Buttons::AbortRetryIgnore:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

// The first button is the default, as the operator expects of these questions.
QMessageBox::StandardButton firstButton(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
        case Buttons::OkCancel:
            return QMessageBox::Ok;
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return QMessageBox::Yes;
        case Buttons::RetryCancel:
            return QMessageBox::Retry;
        case Buttons::AbortRetryIgnore:
            return QMessageBox::Abort;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon qtIcon(Icon icon) {
    switch (icon) {
        case Icon::None:
            return QMessageBox::NoIcon;
        case Icon::Critical:
            return QMessageBox::Critical;
        case Icon::Question:
            return QMessageBox::Question;
        case Icon::Exclamation:
            return QMessageBox::Warning;
        case Icon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// What closing the box without a button means: the cancelling answer of its buttons.
Answer escapeAnswer(Buttons buttons) {
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        case Buttons::OkCancel:
        case Buttons::YesNoCancel:
        case Buttons::RetryCancel:
            return Answer::Cancel;
        case Buttons::AbortRetryIgnore:
            return Answer::Abort;
    }
    return Answer::Cancel;
}

}  // namespace

void QtDialogs::redraw() {
    if (renderer_ && !renderer_->refreshing()) renderer_->refresh();
}

Answer QtDialogs::messageBox(const std::string& text, Buttons buttons, Icon icon,
                             const std::string& title) {
    redraw();
    QMessageBox box(qtIcon(icon), captionText(title), captionText(text), standardButtons(buttons),
                    QApplication::activeWindow());
    box.setObjectName(QStringLiteral("messageBox"));
    box.setAccessibleName(captionText(title).trimmed().isEmpty() ? captionText(text)
                                                                 : captionText(title));
    box.setAccessibleDescription(captionText(text));
    box.setDefaultButton(firstButton(buttons));
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked) return escapeAnswer(buttons);
    switch (box.standardButton(clicked)) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        case QMessageBox::Retry:
            return Answer::Retry;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Abort:
            return Answer::Abort;
        case QMessageBox::Ignore:
            return Answer::Ignore;
        default:
            return escapeAnswer(buttons);
    }
}

std::optional<std::string> QtDialogs::inputBox(const std::string& prompt,
                                                const std::string& title,
                                                const std::string& defaultText,
                                                std::optional<InputBoxPosition> position) {
    redraw();
    QInputDialog dialog(QApplication::activeWindow());
    dialog.setObjectName(QStringLiteral("inputBox"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(captionText(title));
    dialog.setLabelText(captionText(prompt));
    dialog.setTextValue(fromCp1252(defaultText));
    dialog.setAccessibleName(captionText(title).trimmed().isEmpty() ? captionText(prompt)
                                                                    : captionText(title));
    dialog.setAccessibleDescription(captionText(prompt));
    dialog.setWindowModality(Qt::ApplicationModal);
    if (position) {
        dialog.move(twipsToPixels(position->leftTwips), twipsToPixels(position->topTwips));
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return toCp1252(dialog.textValue());
}

void QtDialogs::beep() { QApplication::beep(); }

void QtDialogs::processEvents() {
    redraw();
    if (!renderer_) {
        QCoreApplication::processEvents();
        return;
    }
    ScreenRenderer::Gate gate(*renderer_);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtDialogs::runModal(const std::string& windowName) {
    if (!renderer_) return;
    renderer_->setModalRunning(windowName, true);
    renderer_->refresh();
    if (renderer_->modelVisible(windowName) && !renderer_->ended()) {
        QEventLoop loop;
        const auto connection = QObject::connect(renderer_, &ScreenRenderer::refreshed, &loop,
                                                 [this, &loop, &windowName] {
                                                     if (renderer_->ended() ||
                                                         !renderer_->modelVisible(windowName)) {
                                                         loop.quit();
                                                     }
                                                 });
        ScreenRenderer::Gate gate(*renderer_);
        loop.exec();
        QObject::disconnect(connection);
    }
    renderer_->setModalRunning(windowName, false);
    renderer_->refresh();
}

}  // namespace sigcond::qt
