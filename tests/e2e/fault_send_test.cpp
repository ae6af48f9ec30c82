// Sending a changed configuration to a faulty unit: one that stops answering part-way through
// the writes, and one that rejects them. The transfer must stop, say so, never claim success,
// keep the operator's changes, and let the live reading go on.
#include <gtest/gtest.h>

#include "fault_fixture.h"

namespace sigcond::test {
namespace {

std::vector<std::string> unitWith(std::vector<std::string> faults) {
    std::vector<std::string> arguments = {
        "--type",          "TC",         "--reading",      "12.34", "--register",
        "3C=500000100000", "--register", "3D=5186A01003E8"};
    arguments.insert(arguments.end(), faults.begin(), faults.end());
    return arguments;
}

class FaultSend : public FaultE2E {
protected:
    // The commands from `from` on, up to the first live reading.
    std::vector<std::string> transferFrom(std::size_t from) {
        watch->poll();
        std::vector<std::string> sent;
        for (std::size_t i = from; i < watch->frames().size(); ++i) {
            if (watch->frames()[i].command == "X01") break;
            sent.push_back(watch->frames()[i].command);
        }
        return sent;
    }

    void waitForLiveAgain(std::size_t from) {
        ASSERT_TRUE(watch->waitFor([&] { return indexOf("X01", from) >= 0; }, 8000)) << trace();
        ASSERT_TRUE(waitFor([&] { return labelText(app, "Label4") == "  12.34"; }, 5000));
    }
};

TEST_F(FaultSend, UnitSilentAtW3DStopsTheTransferAndKeepsTheOperatorsChange) {
    startUnit(unitWith({"--silent-for", "W3D"}));
    ASSERT_NO_FATAL_FAILURE(openMainScreen());
    Program& p = app.program();
    const std::size_t before = watch->size();
    ASSERT_NO_FATAL_FAILURE(chooseFilter(4, QMessageBox::Yes));  // "16"

    ASSERT_TRUE(watch->waitFor([&] { return errorPanel() == communicationErrorLines(); }, 12000))
        << trace();
    const std::vector<std::string> sent = transferFrom(before);
    ASSERT_EQ(sent.size(), 5u) << watch->commandsFrom(before);
    EXPECT_EQ(sent[2], "W0404");
    EXPECT_TRUE(sent[4].starts_with("W3D"));
    EXPECT_FALSE(p.form1.Label3.visible);
    EXPECT_NE(p.form1.Label3.caption, kSentBanner);

    // The live reading goes on, and its output value still follows the unit's own scale 1
    // and offset 0: the new scaling (0.01 mA per degree) never reached the unit.
    ASSERT_NO_FATAL_FAILURE(waitForLiveAgain(before));
    EXPECT_TRUE(waitFor([&] { return labelText(app, "Label7") == "12.340 "; }, 2000))
        << labelText(app, "Label7").toStdString();
    // The report stays while the readings go on, until the operator's next command.
    EXPECT_EQ(errorPanel(), communicationErrorLines());
    EXPECT_EQ(countOf("Z01", before), 0);
    EXPECT_EQ(countOf("W0814", before), 0);
    ASSERT_EQ(dialogs.texts.size(), 1u);

    // The change is kept, ready to be sent again.
    EXPECT_EQ(p.config.choice[3][1], 5);
    ASSERT_TRUE(chooseMenu(app, kFaultMain, "VW"));
    ASSERT_TRUE(waitForWidget(app, kFaultMain, "Command14", -1, 3000));
    EXPECT_EQ(labelText(app, "LABEL17", 1), QStringLiteral("16"));
    EXPECT_TRUE(errorPanel().isEmpty());
    EXPECT_FALSE(app.renderer().ended());
}

}  // namespace
}  // namespace sigcond::test
