// Test double for the operator dialogs: answers come from a queue, everything shown is kept.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace sigcond::test {

struct ShownMessage {
    std::string text;
    Buttons buttons;
    Icon icon;
    std::string title;
};

struct ShownInputBox {
    std::string prompt;
    std::string title;
    std::string defaultText;
    std::optional<InputBoxPosition> position;
};

class ScriptedDialogs : public Dialogs {
public:
    // Answers for the next message boxes, in order; when empty, Ok/Yes is answered.
    std::deque<Answer> answers;
    // Texts for the next input boxes; nullopt stands for Cancel. When empty, Cancel.
    std::deque<std::optional<std::string>> inputs;

    std::vector<ShownMessage> messages;
    std::vector<ShownInputBox> inputBoxes;
    int beeps = 0;
    int eventRuns = 0;

    Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                      const std::string& title) override;
    std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                         const std::string& defaultText,
                                         std::optional<InputBoxPosition> position) override;
    void beep() override { ++beeps; }
    void processEvents() override;
    // Runs the action queued for the window (it plays the operator's part and must hide the
    // window's model); without one, the call is only recorded.
    void runModal(const std::string& windowName) override;
    std::deque<std::function<void()>> modalActions;
    std::vector<std::string> modalWindows;

    // Lets a test run code at the n-th processEvents() call (1-based).
    void atEventRun(int n, std::function<void()> action);

private:
    std::vector<std::pair<int, std::function<void()>>> eventActions_;
};

}  // namespace sigcond::test
