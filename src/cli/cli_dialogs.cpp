#include "cli/cli_dialogs.h"

namespace sigcond::cli {

Answer UnattendedDialogs::messageBox(const std::string& text, Buttons buttons, Icon,
                                     const std::string&) {
    messages_.push_back(text);
    switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::OkCancel:
        case Buttons::RetryCancel:
            return Answer::Cancel;
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::No;
        case Buttons::AbortRetryIgnore:
            return Answer::Abort;
    }
    return Answer::Cancel;
}

std::optional<std::string> UnattendedDialogs::inputBox(const std::string& prompt,
                                                       const std::string&, const std::string&,
                                                       std::optional<InputBoxPosition>) {
    messages_.push_back("input asked for: " + prompt);
    return std::nullopt;
}

void UnattendedDialogs::runModal(const std::string& windowName) {
    messages_.push_back("window asked for: " + windowName);
}

}  // namespace sigcond::cli
