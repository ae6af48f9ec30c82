// The printed report through QPrinter into a PDF file, read back with pdftotext -bbox: the
// texts and their horizontal positions on the page.
#include <unistd.h>

#include <QString>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "config/option_catalogue.h"
#include "program.h"
#include "qt/records_printer.h"
#include "records/print_report.h"
#include "sim/model/virtual_clock.h"
#include "startup_qt_app.h"
#include "support/scripted_dialogs.h"
#include "support/scripted_port.h"

namespace sigcond {
namespace {

struct Word {
    double xMin = 0;
    double yMin = 0;
    std::string text;
};

std::string run(const std::string& command) {
    std::string out;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
        ::pclose(pipe);
    }
    return out;
}

std::vector<Word> wordsOf(const std::string& pdf) {
    const std::string html = run("pdftotext -bbox '" + pdf + "' - 2>/dev/null");
    std::vector<Word> words;
    const std::regex word(R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)"[^>]*>([^<]*)</word>)re");
    for (auto it = std::sregex_iterator(html.begin(), html.end(), word);
         it != std::sregex_iterator(); ++it) {
        std::string text = (*it)[3];
        for (const auto& [entity, plain] : {std::pair<std::string, std::string>{"&apos;", "'"},
                                            {"&quot;", "\""},
                                            {"&lt;", "<"},
                                            {"&gt;", ">"},
                                            {"&amp;", "&"}}) {
            for (std::size_t at; (at = text.find(entity)) != std::string::npos;) {
                text.replace(at, entity.size(), plain);
            }
        }
        words.push_back({std::stod((*it)[1]), std::stod((*it)[2]), text});
    }
    return words;
}

// The text's words, blanks collapsed.
std::vector<std::string> split(const std::string& text) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while ((i = text.find_first_not_of(' ', i)) != std::string::npos) {
        const std::size_t end = text.find(' ', i);
        parts.push_back(text.substr(i, end - i));
        i = end;
    }
    return parts;
}

struct PrintedPage {
    sim::VirtualClock clock;
    test::ScriptedPort port{clock};
    test::ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};
    std::string pdf;
    std::vector<Word> words;

    PrintedPage(const std::string& type, void (*setUp)(Program&) = nullptr) {
        test::qtApplication();
        p.config.inputType = type;
        buildOptionCatalogue(p);
        if (setUp) setUp(p);
        pdf = (std::filesystem::temp_directory_path() /
               ("report-" + type + "-" + std::to_string(::getpid()) + ".pdf"))
                  .string();
        auto printer = qt::QtPrinter::toPdfFile(QString::fromStdString(pdf));
        p.printer = printer.get();
        printConfigurationReport(p);
        p.printer = nullptr;
        words = wordsOf(pdf);
        if (!::getenv("SIGCOND_KEEP_REPORT")) std::filesystem::remove(pdf);
    }

    // The first word of a printed text (words are split at blanks), on the line of `after`.
    const Word* find(const std::string& text, const Word* sameLineAs = nullptr) const {
        for (const Word& w : words) {
            if (w.text != text) continue;
            if (sameLineAs && std::abs(w.yMin - sameLineAs->yMin) > 2) continue;
            return &w;
        }
        return nullptr;
    }
    // The first word of the first place where the text's words follow each other on a line.
    const Word* findText(const std::string& text) const {
        const std::vector<std::string> parts = split(text);
        if (parts.empty()) return nullptr;
        for (std::size_t i = 0; i + parts.size() <= words.size(); ++i) {
            bool all = true;
            for (std::size_t k = 0; k < parts.size() && all; ++k) {
                all = words[i + k].text == parts[k] &&
                      std::abs(words[i + k].yMin - words[i].yMin) < 2;
            }
            if (all) return &words[i];
        }
        return nullptr;
    }
    // The left margin in points: where x = 0 twips lies, taken from the header at 4000.
    double margin() const { return words.empty() ? 0 : words.front().xMin - 200.0; }
    // x of the word in twips from the printable area's left edge.
    double twips(const Word& w) const { return (w.xMin - margin()) * 20.0; }
};

std::string firstWord(const std::string& text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string::npos) return "";
    return text.substr(start, text.find(' ', start) - start);
}

constexpr double kTolerance = 40;  // twips (2 points)

TEST(RecordsReport, ThermocouplePageHasTheHeaderModelGroupsScalingAndResolution) {
    PrintedPage page("TC");
    ASSERT_GT(page.words.size(), 20u);
    EXPECT_TRUE(page.dialogs.messages.empty());
    EXPECT_EQ(page.words.front().text, firstWord(kReportHeader[0]));
    EXPECT_GE(page.margin(), 0.0);
    EXPECT_LT(page.margin(), 80.0);
    const Word* model = page.find("MODEL");
    ASSERT_NE(model, nullptr);
    EXPECT_NEAR(page.twips(*model), 4000, kTolerance);
    const Word* name = page.find("THERMOCOUPLE", model);
    ASSERT_NE(name, nullptr);

    const OptionCatalogue& cat = page.p.config.catalogue;
    const Word* caption = page.findText(cat.itemCaption[1][1]);
    ASSERT_NE(caption, nullptr);
    EXPECT_NEAR(page.twips(*caption), 2000, kTolerance);
    EXPECT_GT(caption->yMin - model->yMin, 700 / 20.0);
    const Word* value = page.find(firstWord(cat.optionCaption[1][1][1]), caption);
    ASSERT_NE(value, nullptr);
    EXPECT_GT(page.twips(*value), 7000);  // after the caption's own leading blanks
    EXPECT_LT(page.twips(*value), 7300);

    const Word* input1 = page.find("Input");
    ASSERT_NE(input1, nullptr);
    EXPECT_NEAR(page.twips(*input1), 2000, kTolerance);
    const Word* output = page.find("mA");
    ASSERT_NE(output, nullptr);
    const Word* outputValue = nullptr;
    for (const Word& w : page.words) {
        if (std::abs(w.yMin - output->yMin) < 2 && w.text == "00.0000" && page.twips(w) > 4000) {
            outputValue = &w;
        }
    }
    ASSERT_NE(outputValue, nullptr);
    EXPECT_NEAR(page.twips(*outputValue), 4740, kTolerance);

    const Word* resolution = page.findText(cat.itemCaption[7][1]);
    ASSERT_NE(resolution, nullptr);
    const Word* resolutionValue = page.find(
        firstWord(cat.optionCaption[7][1][page.p.config.choice[7][1]]), resolution);
    ASSERT_NE(resolutionValue, nullptr);
    EXPECT_GT(page.twips(*resolutionValue), 5700);  // after its eight leading blanks
    EXPECT_LT(page.twips(*resolutionValue), 7000);
}

TEST(RecordsReport, RtdTenOhmFrequencyAndAcVoltPages) {
    {
        PrintedPage page("RTD", [](Program& p) { p.config.choice[1][1] = 1; });
        int notApplicable = 0;
        for (const Word& w : page.words) {
            if (w.text == "N/A") {
                ++notApplicable;
                EXPECT_GT(page.twips(w), 7000);  // "  N/A": two blanks first
                EXPECT_LT(page.twips(w), 7300);
            }
        }
        EXPECT_EQ(notApplicable, 2);
    }
    {
        PrintedPage page("FP");
        const OptionCatalogue& cat = page.p.config.catalogue;
        const Word* gate = page.findText(cat.itemCaption[5][1]);
        const Word* debounce = page.findText(cat.itemCaption[6][1]);
        ASSERT_NE(gate, nullptr);
        ASSERT_NE(debounce, nullptr);
        const Word* gateValue = page.find("000", gate);
        const Word* debounceValue = page.find("001", debounce);
        ASSERT_NE(gateValue, nullptr);
        ASSERT_NE(debounceValue, nullptr);
        EXPECT_GT(page.twips(*gateValue), 7000);
        EXPECT_LT(page.twips(*gateValue), 7400);
        EXPECT_NEAR(page.twips(*debounceValue), page.twips(*gateValue), kTolerance);
        EXPECT_NE(page.find("FREQUENCY/PULSE"), nullptr);
    }
    {
        PrintedPage page("ACV");
        EXPECT_NE(page.find("VOLT"), nullptr);
        EXPECT_EQ(page.findText(page.p.config.catalogue.itemCaption[7][1]), nullptr);
        EXPECT_NE(page.find("Desired"), nullptr);
    }
}

TEST(RecordsReport, UnwritablePdfIsReportedWithoutEndingTheProgram) {
    test::qtApplication();
    sim::VirtualClock clock;
    test::ScriptedPort port{clock};
    test::ScriptedDialogs dialogs;
    Program p{port, clock, dialogs};
    p.config.inputType = "TC";
    buildOptionCatalogue(p);
    auto printer = qt::QtPrinter::toPdfFile(QStringLiteral("/no/such/folder/report.pdf"));
    p.printer = printer.get();
    p.form1.Label3.visible = true;
    printConfigurationReport(p);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text.rfind("The configuration report could not be printed.", 0),
              0u);
    EXPECT_FALSE(p.form1.Label3.visible);
}

}  // namespace
}  // namespace sigcond
