// The live-reading cycle feeding the trend buffer and the data log, on a scripted unit.
#include <gtest/gtest.h>

#include "measure/live_bench.h"
#include "records/data_log.h"
#include "records/graph_window.h"
#include "records_bench.h"

namespace sigcond {
namespace {

TEST(LiveRecords, CycleStoresEverySecondGoodReadingAndLogsAtTheInterval) {
    test::LiveBench b("TC");
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("live-records-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    b.p.files.lastDirectory = folder.string();
    b.p.form1.Label13.caption = "  \xB0" "C ";
    b.dialogs.modalActions.push_back([&b] {
        b.p.form8.Text1.caption = "RUN";
        fileChooserOk(b.p);
    });
    b.dialogs.modalActions.push_back([&b] { samplingOk(b.p); });  // "0", "0", "1"
    startLogging(b.p);
    ASSERT_EQ(b.p.log.loggingOn, 1);

    b.clock.setTimeOfDay(8 * 3600);
    b.tickWith("  20.10");
    b.tickSilent();  // no reading: nothing counted
    b.tickWith("  20.20");
    b.tickWith("  20.30");
    b.tickWith("?+99999");  // over range on a record's cycle, the blank phase of the blink:
    b.tickWith("  20.50");  // logged with the out-of-range text; the trend skips it
    b.tickWith("  20.60");

    EXPECT_EQ(b.p.trend.trendCount, 3);
    EXPECT_DOUBLE_EQ(b.p.trend.trendValues[1], 20.1);
    EXPECT_DOUBLE_EQ(b.p.trend.trendValues[2], 20.3);
    EXPECT_DOUBLE_EQ(b.p.trend.trendValues[3], 20.6);

    const std::string text = test::fileText((folder / "RUN.DAT").string());
    std::vector<std::string> lines;
    for (std::size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos;
         at = end + 2) {
        lines.push_back(text.substr(at, end - at));
    }
    ASSERT_EQ(lines.size(), 3u) << text;
    EXPECT_EQ(lines[0].substr(0, 12), "  20.20  \xB0" "C ");
    EXPECT_EQ(lines[1].substr(0, 11), "+99999  \xB0" "C ");
    EXPECT_EQ(lines[0].substr(22, 6), "08:00:");
    EXPECT_EQ(lines[0].substr(42), "12-08-2026");
    b.p.log.logFile.close();  // an open file keeps its folder on Windows
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace sigcond
