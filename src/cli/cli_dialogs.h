// The operator dialogs of a run without a screen: nobody is there to answer, so every message
// box is answered with its cautious choice (No, Cancel or Ok) and its text is kept so that the
// run can report it on standard error.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace sigcond::cli {

class UnattendedDialogs : public Dialogs {
public:
    Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                        const std::string& defaultText,
                                        std::optional<InputBoxPosition> position) override;
    void beep() override {}
    // Where a screen would let the operator cancel (the line-settings search asks before each
    // attempt), the run looks whether it must end instead.
    void processEvents() override {
        if (onProcessEvents) onProcessEvents();
    }
    std::function<void()> onProcessEvents;
    // No window is ever shown modally without a screen; asking for one is noted as an error.
    void runModal(const std::string& windowName) override;

    // Texts of the message boxes and refused requests, in order.
    const std::vector<std::string>& messages() const { return messages_; }

private:
    std::vector<std::string> messages_;
};

}  // namespace sigcond::cli
