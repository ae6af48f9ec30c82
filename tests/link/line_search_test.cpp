#include "link/line_search.h"

#include <gtest/gtest.h>

#include "link/command_set.h"
#include "support/link_bench.h"

namespace sigcond {
namespace {

using test::ScriptedReply;
using Settings = std::vector<std::string>;

// A freshly loaded main screen for a connected unit: tables filled, port chosen, not open.
struct SearchBench {
    test::LinkBench b;
    SearchBench() {
        b.port.close();
        b.p.link.portNumber = 3;
        b.port.setLineSettings("");
        b.p.form1.Command5.visible = false;
        b.p.form1.Picture1.visible = false;
    }
    // The unit answers "U01" with the type code only at one setting, garbage or nothing
    // elsewhere.
    void unitAt(const std::string& settings, const std::string& code = "03",
                const std::string& elsewhere = "") {
        b.port.responder = [=](const std::string& command, const std::string& now) {
            if (now == settings) return std::optional{ScriptedReply::text(command + code + "\r")};
            if (elsewhere.empty()) return std::optional<ScriptedReply>{};
            return std::optional{ScriptedReply::text(elsewhere)};
        };
    }
    Settings tried() const {
        Settings out;
        for (const auto& f : b.port.frames) out.push_back(f.lineSettings);
        return out;
    }
};

TEST(LineSearch, FindsAUnitAt4800EvenAtTheEighthAttempt) {
    SearchBench s;
    s.unitAt("4800,E,7,1", "05");
    const double start = s.b.now();
    EXPECT_TRUE(connectToUnit(s.b.p));
    EXPECT_EQ(s.tried(), (Settings{"9600,O,7,1", "9600,E,7,1", "9600,N,7,2", "19200,O,7,1",
                                   "19200,E,7,1", "19200,N,7,2", "4800,O,7,1", "4800,E,7,1"}));
    for (const auto& f : s.b.port.frames) EXPECT_EQ(f.text, "*U01\r");
    EXPECT_NEAR(s.b.now() - start, 14.0, 0.01);  // seven silent attempts of two seconds
    EXPECT_EQ(s.b.port.portNumber, 3);
    EXPECT_TRUE(s.b.port.isOpen());
    EXPECT_EQ(s.b.port.lineSettings, "4800,E,7,1");
    EXPECT_EQ(s.b.p.link.lineSettings, "4800,E,7,1");
    EXPECT_EQ(s.b.dialogs.eventRuns, 8);  // once per attempt
    EXPECT_EQ(s.b.p.link.linkError, 0);
    EXPECT_FALSE(s.b.p.link.identifyMode);
    EXPECT_EQ(s.b.p.transfer.unitIdentified, 1);
    EXPECT_EQ(s.b.p.link.replyText, "05");
    EXPECT_FALSE(s.b.p.form1.Picture1.visible);
    EXPECT_EQ(s.b.dialogs.beeps, 0);
}

TEST(LineSearch, RejectionRestartsTheParitiesAtTheSameBaudRate) {
    SearchBench s;
    int rejections = 0;
    s.b.port.responder = [&](const std::string&, const std::string& now) {
        if (now == "19200,E,7,1" && rejections++ == 0)
            return std::optional{ScriptedReply::text("?\r")};
        if (now == "19200,N,7,2") return std::optional{ScriptedReply::text("U0100\r")};
        return std::optional<ScriptedReply>{};
    };
    EXPECT_TRUE(connectToUnit(s.b.p));
    EXPECT_EQ(s.tried(), (Settings{"9600,O,7,1", "9600,E,7,1", "9600,N,7,2", "19200,O,7,1",
                                   "19200,E,7,1", "19200,O,7,1", "19200,E,7,1", "19200,N,7,2"}));
    EXPECT_EQ(s.b.p.link.replyText, "00");
}

TEST(LineSearch, CancelStopsTheSearchWithoutAMessage) {
    SearchBench s;
    s.b.dialogs.atEventRun(3, [&] { s.b.p.start.portChooserVisible = true; });
    EXPECT_FALSE(connectToUnit(s.b.p));
    EXPECT_EQ(s.b.port.frames.size(), 2u);
    EXPECT_EQ(s.b.p.link.linkError, 1);
    EXPECT_FALSE(s.b.p.form1.Picture1.visible);
    EXPECT_EQ(s.b.dialogs.beeps, 0);
    EXPECT_EQ(s.b.p.transfer.unitIdentified, 0);
}

TEST(LineSearch, PortThatCannotBeOpenedIsReportedAsWrongPort) {
    SearchBench s;
    s.b.port.failOpen = true;
    s.unitAt("9600,O,7,1");
    EXPECT_FALSE(connectToUnit(s.b.p));
    EXPECT_TRUE(s.b.port.frames.empty());
    EXPECT_EQ(s.b.p.link.linkError, 2);
    EXPECT_TRUE(s.b.p.form1.Command5.visible);
    EXPECT_TRUE(s.b.p.form1.Picture1.visible);
    EXPECT_EQ(s.b.p.form1.Picture1.lines, (Settings{"            Communication error !", "",
                                                    "      You have chosen a wrong  SERIAL PORT",
                                                    "      Please reenter  SERIAL PORT  again."}));
}

TEST(LineSearch, SearchWithoutAnIdentificationIsAFailure) {
    // Nothing answers anywhere: fifteen attempts of two seconds each.
    SearchBench silent;
    const double start = silent.b.now();
    EXPECT_FALSE(connectToUnit(silent.b.p));
    EXPECT_EQ(silent.b.port.frames.size(), 15u);
    EXPECT_EQ(silent.tried().back(), "1200,N,7,2");
    EXPECT_NEAR(silent.b.now() - start, 30.0, 0.01);
    EXPECT_EQ(silent.b.p.link.linkError, 1);
    EXPECT_TRUE(silent.b.p.link.identifyMode);
    EXPECT_TRUE(silent.b.p.form1.Command5.visible);
    EXPECT_EQ(silent.b.p.form1.Picture1.lines.size(), 8u);  // with the serial-port lines
    EXPECT_EQ(silent.b.p.form1.Picture1.lines[6], "        Make sure the  SERIAL PORT  chosen");
    EXPECT_FALSE(silent.b.p.form1.Command8.enabled);
    EXPECT_EQ(silent.b.p.transfer.unitIdentified, 0);

    // Garbage with data characters at every setting, the last attempt included, is no
    // identification either.
    SearchBench garbage;
    garbage.unitAt("none", "",
                   "#\x8f"
                   "0342\r");
    EXPECT_FALSE(connectToUnit(garbage.b.p));
    EXPECT_EQ(garbage.b.port.frames.size(), 15u);
    EXPECT_EQ(garbage.b.p.link.linkError, 1);
    EXPECT_EQ(garbage.b.p.transfer.unitIdentified, 0);
    EXPECT_TRUE(garbage.b.p.form1.Picture1.visible);
}

TEST(LineSearch, SearchFromTheStartAfterAReload) {
    SearchBench s;
    s.unitAt("2400,O,7,1");
    ASSERT_TRUE(connectToUnit(s.b.p));
    EXPECT_EQ(s.b.port.frames.size(), 10u);
    // The main screen is reloaded for another port: the search starts over at 9600,O.
    s.b.port.frames.clear();
    s.b.p.link.portNumber = 2;
    resetLinkState(s.b.p);
    s.unitAt("9600,O,7,1");
    ASSERT_TRUE(connectToUnit(s.b.p));
    EXPECT_EQ(s.tried(), (Settings{"9600,O,7,1"}));
    EXPECT_EQ(s.b.port.portNumber, 2);
}

}  // namespace
}  // namespace sigcond
