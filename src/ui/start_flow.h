// The start-up chain: splash screen -> welcome screen -> "Are you connecting SIGNAL
// CONDITIONER ?" -> port chooser (with a unit) or demo chooser (without one) -> main screen.
// Every handler takes the Program; the Qt layer calls them through dispatchEvent.
#pragma once

#include <string>

namespace sigcond {

struct Program;
struct StartWindow;

// Names of the start-up windows as the dispatch table and the Qt layer know them.
inline constexpr const char* kSplashWindow = "Form6";
inline constexpr const char* kWelcomeWindow = "Form2";
inline constexpr const char* kQuestionWindow = "Form3";
inline constexpr const char* kDemoWindow = "Form4";
inline constexpr const char* kPortChooserWindow = "Form5";

// Texts of the start-up screens.
inline constexpr const char* kQuestionText = "Are you connecting SIGNAL CONDITIONER ?";
inline constexpr const char* kExitQuestion = "Do you want to exit ?";

// Design-time state of every start-up screen, with the captions their loads set.
void initStartScreens(Program& p);
// Program start: initialises the screens and shows the splash screen.
void startProgram(Program& p);

// Shows a start-up window and starts its one-shot layout timer.
void showStartWindow(StartWindow& w);
// Shows the port chooser (its visibility is StartScreens::portChooserVisible).
void showPortChooser(Program& p);

// "&Exit" on any start-up screen: asks "Do you want to exit ?"; Yes ends the program.
void confirmExitFromStart(Program& p);
// Closes every window and ends the program.
void endProgram(Program& p);

// Splash screen (Form6).
void splashContinue(Program& p);
void splashTimer(Program& p);
// Welcome screen (Form2).
void welcomeContinue(Program& p);
void welcomePrevious(Program& p);
void welcomeTimer(Program& p);
// Question screen (Form3): answer 0 = "&Yes", 1 = "&No".
void questionAnswer(Program& p, int index);
void questionPrevious(Program& p);
void questionTimer(Program& p);
// Demo chooser (Form4): line 0..6 of List1.
void demoPick(Program& p, int line);
void demoPrevious(Program& p);
void demoTimer(Program& p);
// Port chooser (Form5): button index 0..3 opens "Com index+1".
void portPick(Program& p, int index);
void portPrevious(Program& p);
void portTimer(Program& p);

}  // namespace sigcond
