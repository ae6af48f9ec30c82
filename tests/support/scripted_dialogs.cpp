#include "support/scripted_dialogs.h"

namespace sigcond::test {

Answer ScriptedDialogs::messageBox(const std::string& text, Buttons buttons, Icon icon,
                                   const std::string& title) {
    messages.push_back({text, buttons, icon, title});
    if (!answers.empty()) {
        const Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::Yes : Answer::Ok;
}

std::optional<std::string> ScriptedDialogs::inputBox(const std::string& prompt,
                                                      const std::string& title,
                                                      const std::string& defaultText,
                                                      std::optional<InputBoxPosition> position) {
    inputBoxes.push_back({prompt, title, defaultText, position});
    if (inputs.empty()) return std::nullopt;
    auto text = inputs.front();
    inputs.pop_front();
    return text;
}

void ScriptedDialogs::processEvents() {
    ++eventRuns;
    for (auto& [n, action] : eventActions_) {
        if (n == eventRuns && action) action();
    }
}

void ScriptedDialogs::runModal(const std::string& windowName) {
    modalWindows.push_back(windowName);
    if (modalActions.empty()) return;
    auto action = std::move(modalActions.front());
    modalActions.pop_front();
    if (action) action();
}

void ScriptedDialogs::atEventRun(int n, std::function<void()> action) {
    eventActions_.emplace_back(n, std::move(action));
}

}  // namespace sigcond::test
