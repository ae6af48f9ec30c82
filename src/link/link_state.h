// The device link's state, shared by every caller of sendCommand. Reset when the main screen
// loads; lives as long as the program.
#pragma once

#include <array>
#include <string>

namespace sigcond {

struct LinkState {
    std::string replyText;            // data of the last exchange
    int linkError = 0;                // 0 ok, 1 failed and reported, 2 port error
    bool identifyMode = false;        // on during the line-settings search
    std::string replyHead;            // first raw reply character, in identifyMode only
    bool longTimeoutOnce = false;     // next transmission waits 4 s
    int settledCount = 3;             // exchanges since the last deferred frequency reading (0..3)
    int replyTimeout = 2;             // seconds, of the exchange in progress
    int deferredPolls = 0;            // calls left over which a frequency reading is awaited
    std::string lastFrequencyReading = "     0.";
    std::string gateRegisterValue;    // register 0D, sizes the frequency deferral
    bool quickPollMode = false;       // read once without waiting (unit silent in live reading)
    bool rejected = false;            // the last reply was still "?" after the resends
    // The start-up read runs: a port that fails on the way ends it as a wrong port.
    bool readingConfiguration = false;

    // Port selection and the line-settings search.
    int portNumber = 0;                       // 1..4, 0 = none chosen
    std::array<std::string, 6> baudTable{};   // index 1..5, filled on leaving the welcome screen
    std::array<std::string, 4> parityTable{}; // index 1..3
    std::string lineSettings;                 // settings of the last attempt, e.g. "9600,O,7,1"
};

}  // namespace sigcond
