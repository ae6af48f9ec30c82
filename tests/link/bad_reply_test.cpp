// Whatever the line delivers, an exchange ends, returns at most what was asked and never
// crashes.
#include <gtest/gtest.h>

#include <random>

#include "link/line_search.h"
#include "link/send_command.h"
#include "support/link_bench.h"

namespace sigcond {
namespace {

using test::LinkBench;

std::string randomBytes(std::mt19937& rng, std::size_t length) {
    std::uniform_int_distribution<int> byte(0, 255);
    std::string out(length, '\0');
    for (auto& c : out) c = static_cast<char>(byte(rng));
    return out;
}

TEST(BadReplies, RandomBytesNulsEighthBitAndHugeRepliesAreHandled) {
    std::mt19937 rng(20261208);
    std::vector<std::string> replies = {
        std::string(5, '\0'),
        std::string("R03\0\0\r", 6),
        "\xff\xfe\x80\xb0R0329\r",
        "R0329",                 // no carriage return
        std::string(5000, 'R'),  // thousands of characters, no carriage return
        std::string(4000, '?') + "\r",
        "?",
        "\r",
        "X",
        "U",
    };
    for (int i = 0; i < 200; ++i) replies.push_back(randomBytes(rng, rng() % 64));
    for (int i = 0; i < 5; ++i) replies.push_back(randomBytes(rng, 3000 + rng() % 3000));

    struct Mode {
        const char* type;
        bool identify;
        int liveStep;
    };
    const Mode modes[] = {{"TC", false, 0}, {"FP", false, 0}, {"FP", true, 0}, {"TC", false, 1}};
    const std::pair<const char*, int> commands[] = {
        {"R03", 2}, {"R3C", 12}, {"X01", 7}, {"U01", 2}, {"W0129", 0}};
    for (const auto& mode : modes) {
        for (const auto& [command, length] : commands) {
            LinkBench b;
            b.p.config.inputType = mode.type;
            b.p.link.identifyMode = mode.identify;
            b.p.link.gateRegisterValue = "14";
            for (const auto& reply : replies) {
                b.p.live.liveStep = mode.liveStep;
                b.port.reply(reply);
                b.port.reply(reply);
                b.port.reply(reply);
                sendCommand(b.p, command, length);
                b.port.script.clear();
                b.port.readAll();
                if (std::string(command) != "X01") {
                    EXPECT_LE(b.p.link.replyText.size(), static_cast<std::size_t>(length));
                }
                EXPECT_TRUE(b.p.link.linkError == 0 || b.p.link.linkError == 1);
                EXPECT_LE(b.p.link.replyHead.size(), 1u);
            }
        }
    }
}

TEST(BadReplies, SearchAgainstGarbageEndsAsAFailure) {
    std::mt19937 rng(7);
    LinkBench b;
    b.port.close();
    b.p.link.portNumber = 1;
    // Garbage that never starts with "U" or "?" at any setting.
    b.port.responder = [&](const std::string&, const std::string&) {
        std::string text = randomBytes(rng, rng() % 40);
        if (!text.empty() && (text[0] == 'U' || text[0] == '?')) text[0] = '#';
        return std::optional{test::ScriptedReply::text(text, 0.01)};
    };
    EXPECT_FALSE(connectToUnit(b.p));
    EXPECT_EQ(b.port.frames.size(), 15u);
    EXPECT_EQ(b.p.link.linkError, 1);
}

}  // namespace
}  // namespace sigcond
