// The option catalogue of every input type against its known answers: tests/config/known/ holds
// one file per type, written down from the unit's own tables (captions with their padding,
// option counts, list slots, units, frame layout, range factors), and common.txt for what all
// types share. Every difference names the type, group, item and field.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "config/option_catalogue.h"
#include "support/link_bench.h"

namespace sigcond {
namespace {

struct Token {
    std::string text;
    bool quoted = false;
};

struct KnownItem {
    std::string caption;
    int list = 0;
    int offers = 0;
    std::vector<std::string> options;
};

struct KnownType {
    std::string code, name, number;
    std::array<FrameLayout, 3> frame{};
    std::array<std::string, 3> title{};
    std::map<std::pair<int, int>, KnownItem> items;
    std::vector<std::string> units;
    std::vector<double> factors;
};

// Words and quoted texts of a file, comment lines (#) left out. The files are UTF-8; the degree
// sign stands for the unit's character 176.
std::vector<Token> tokensOf(const std::string& name) {
    std::ifstream in(std::string(SIGCOND_KNOWN_ANSWERS_DIR) + "/" + name);
    EXPECT_TRUE(in) << "cannot read " << name;
    std::vector<Token> tokens;
    std::string line;
    while (std::getline(in, line)) {
        for (std::size_t at; (at = line.find("\xC2\xB0")) != std::string::npos;)
            line.replace(at, 2, "\xB0");
        std::size_t n = line.find_first_not_of(' ');
        if (n == std::string::npos || line[n] == '#') continue;
        while (n < line.size()) {
            if (line[n] == ' ') {
                ++n;
            } else if (line[n] == '"') {
                const std::size_t end = line.find('"', n + 1);
                tokens.push_back({line.substr(n + 1, end - n - 1), true});
                n = end == std::string::npos ? line.size() : end + 1;
            } else {
                const std::size_t end = std::min(line.find(' ', n), line.size());
                tokens.push_back({line.substr(n, end - n), false});
                n = end;
            }
        }
    }
    return tokens;
}

void readKnown(const std::string& name, KnownType& known) {
    const std::vector<Token> t = tokensOf(name);
    std::size_t n = 0;
    const auto next = [&]() -> const std::string& {
        static const std::string none;
        return n < t.size() ? t[n++].text : none;
    };
    const auto number = [&] { return std::stoi(next()); };
    const auto quotedRun = [&](std::vector<std::string>& into) {
        while (n < t.size() && t[n].quoted) into.push_back(t[n++].text);
    };
    while (n < t.size()) {
        const std::string key = next();
        if (key == "type") {
            known.code = next();
            known.name = next();
            next();  // "number"
            known.number = next();
        } else if (key == "title") {
            const int g = number();
            known.title[g] = next();
        } else if (key == "frame") {
            const int g = number();
            known.frame[g].left = number();
            known.frame[g].width = number();
            known.frame[g].height = number();
        } else if (key == "item") {
            const int g = number(), i = number();
            KnownItem& item = known.items[{g, i}];
            next();  // "list"
            item.list = number();
            next();  // "offers"
            item.offers = number();
            item.caption = next();
            quotedRun(item.options);
        } else if (key == "units") {
            quotedRun(known.units);
        } else if (key == "factors") {
            while (n < t.size() && !t[n].quoted && t[n].text != "none" &&
                   std::isdigit(static_cast<unsigned char>(t[n].text[0])))
                known.factors.push_back(std::stod(next()));
            if (n < t.size() && t[n].text == "none") ++n;
        } else {
            ADD_FAILURE() << name << ": unknown line \"" << key << "\"";
            return;
        }
    }
}

template <typename T>
void expectField(const T& built, const T& known, const std::string& where) {
    EXPECT_EQ(built, known) << where;
}

void expectCatalogue(const KnownType& known, test::LinkBench& b) {
    const std::string& type = known.code;
    b.p.config.inputType = type;
    buildOptionCatalogue(b.p);
    const OptionCatalogue& cat = b.p.config.catalogue;

    expectField(inputTypeForNumber(known.number), type, type + " type number " + known.number);
    expectField(std::string(longTypeName(type)), known.name, type + " long name");
    expectField(b.p.config.inputTypeName, known.name, type + " inputTypeName after the build");
    for (int g = 1; g <= 2; ++g) {
        const std::string frame = type + " group " + std::to_string(g) + " frame ";
        expectField(cat.groupTitle[g], known.title[g], frame + "title");
        expectField(cat.frame[g].left, known.frame[g].left, frame + "left");
        expectField(cat.frame[g].width, known.frame[g].width, frame + "width");
        expectField(cat.frame[g].height, known.frame[g].height, frame + "height");
    }
    for (int g = 1; g <= kGroupCount; ++g) {
        int items = 0;
        while (known.items.count({g, items + 1})) ++items;
        const std::string group = type + " group " + std::to_string(g);
        expectField(cat.itemCount[g], items, group + " item count");
        for (int i = 1; i <= kMaxItems; ++i) {
            const auto found = known.items.find({g, i});
            const KnownItem none;
            const KnownItem& item = found == known.items.end() ? none : found->second;
            const std::string where = group + " item " + std::to_string(i);
            expectField(cat.itemCaption[g][i], item.caption, where + " caption");
            expectField(cat.choiceCount[g][i], item.offers, where + " options offered");
            if (found != known.items.end())
                expectField(cat.listSlot[g][i], item.list, where + " list slot");
            for (int k = 1; k <= kMaxOptions; ++k) {
                const std::size_t at = static_cast<std::size_t>(k - 1);
                expectField(cat.optionCaption[g][i][k],
                            at < item.options.size() ? item.options[at] : std::string(),
                            where + " option " + std::to_string(k) + " caption");
            }
        }
    }
    for (int k = 1; k <= kMaxOptions; ++k) {
        const std::size_t at = static_cast<std::size_t>(k - 1);
        expectField(cat.rangeUnit[k], at < known.units.size() ? known.units[at] : std::string(),
                    type + " group 1 item 1 option " + std::to_string(k) + " range unit");
    }
    const int ranges = cat.choiceCount[1][1];
    for (int k = 1; k <= ranges; ++k) {
        b.p.config.choice[1][1] = k;
        const std::string where = type + " group 1 item 1 option " + std::to_string(k);
        const std::optional<double> factor = rangeFactor(b.p);
        const std::size_t at = static_cast<std::size_t>(k - 1);
        if (at < known.factors.size()) {
            ASSERT_TRUE(factor.has_value()) << where << " range factor missing";
            EXPECT_DOUBLE_EQ(*factor, known.factors[at]) << where << " range factor";
        } else {
            EXPECT_FALSE(factor.has_value()) << where << " range factor: none expected";
        }
    }
}

TEST(OptionCatalogue, EveryTypeMatchesItsKnownAnswers) {
    test::LinkBench b;
    for (std::string_view code : kDemoTypeOrder) {
        KnownType known;
        readKnown("common.txt", known);
        readKnown(std::string(code) + ".txt", known);
        ASSERT_EQ(known.code, code) << "known answers of " << code;
        expectCatalogue(known, b);
    }
}

}  // namespace
}  // namespace sigcond
