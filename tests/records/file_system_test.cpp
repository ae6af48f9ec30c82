// The per-system file calls as both systems must have them.
#include "records/file_system.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "records/config_file.h"
#include "records_bench.h"

namespace sigcond {
namespace {

namespace fs = std::filesystem;
using test::RecordsBench;

TEST(FileSystem, AReplaceLeavesTheOldFileOrTheWholeNewOneAndNothingElse) {
    RecordsBench b;
    test::writeText(b.path("OLD.CFG"), "old old old\r\n");
    test::writeText(b.path("LOCKED.CFG"), "kept\r\n");
    fs::permissions(b.path("LOCKED.CFG"), fs::perms::owner_read | fs::perms::group_read |
                                              fs::perms::others_read);
    fs::create_directory(b.folder / "DIR.CFG");
    const struct {
        std::string name;
        int error;
        std::string after;  // the file's text afterwards
    } cases[] = {
        {"OLD.CFG", 0, "new\r\n"},  // shorter than the old text: nothing of it is left
        {"NEW.CFG", 0, "new\r\n"},
        {"LOCKED.CFG", EACCES, "kept\r\n"},
        {"DIR.CFG", EISDIR, ""},
        {"no/such/A.CFG", ENOENT, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(writeFileReplacing(b.path(c.name), "new\r\n"), c.error) << c.name;
        if (!c.after.empty()) {
            EXPECT_EQ(test::fileText(b.path(c.name)), c.after) << c.name;
        }
    }
    // No temporary file stays behind.
    EXPECT_EQ(std::distance(fs::directory_iterator(b.folder), fs::directory_iterator()), 4);
    fs::permissions(b.path("LOCKED.CFG"), fs::perms::owner_all);
}

TEST(FileSystem, AnOpenFileIsWrittenAsBytesAndMayBeRemovedMeanwhile) {
    RecordsBench b;
    std::FILE* file = openFile(b.path("RUN.DAT"), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("a\r\nb\n", file);
    std::fflush(file);
    EXPECT_EQ(test::fileText(b.path("RUN.DAT")), "a\r\nb\n");  // no line-end translation
    std::error_code ec;
    EXPECT_TRUE(fs::remove(b.path("RUN.DAT"), ec)) << ec.message();
    std::fclose(file);
    errno = 0;
    EXPECT_EQ(openFile(b.path("no/RUN.DAT"), "wb"), nullptr);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(systemVolumes().empty());
}

}  // namespace
}  // namespace sigcond
