// Operator dialogs: the modal message box and input box, the beep, and letting pending screen
// events run. Implemented by the Qt layer and by scripted test doubles.
#pragma once

#include <optional>
#include <string>

namespace sigcond {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Icon { None, Critical, Question, Exclamation, Information };
enum class Answer { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

struct InputBoxPosition {
    int leftTwips = 0;
    int topTwips = 0;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal message box; the title " " (one blank) is the program's usual title.
    virtual Answer messageBox(const std::string& text, Buttons buttons, Icon icon,
                              const std::string& title) = 0;
    // A modal input box. Returns the typed text, or nothing when the operator cancels.
    virtual std::optional<std::string> inputBox(const std::string& prompt, const std::string& title,
                                                 const std::string& defaultText,
                                                 std::optional<InputBoxPosition> position) = 0;
    virtual void beep() = 0;
    // Lets pending screen events (clicks, repaints) run; used only where the core must stay
    // responsive inside a long sequence (the line-settings search).
    virtual void processEvents() = 0;
    // Shows the named window (a screen model, see ui/window_model.h) modally and returns when
    // its model is no longer visible. Handlers run from its events in the meantime.
    virtual void runModal(const std::string& windowName) = 0;
};

}  // namespace sigcond
