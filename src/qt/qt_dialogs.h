// The operator dialogs on Qt: message box, input box, beep, letting screen events run, and
// showing a screen-model window modally. The dialogs carry object names ("messageBox",
// "inputBox") so that automated tests can find and answer them.
#pragma once

#include "platform/dialogs.h"

namespace sigcond::qt {

class ScreenRenderer;

class QtDialogs : public Dialogs {
public:
    // The renderer is attached after the Program exists (the Program needs the dialogs first).
    void attach(ScreenRenderer& renderer) { renderer_ = &renderer; }

    Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                         const std::string& defaultText,
                                         std::optional<InputBoxPosition> position) override;
    void beep() override;
    void processEvents() override;
    void runModal(const std::string& windowName) override;

private:
    // Draws the models before a dialog appears, so the operator sees the state it talks about.
    void redraw();

    ScreenRenderer* renderer_ = nullptr;
};

}  // namespace sigcond::qt
