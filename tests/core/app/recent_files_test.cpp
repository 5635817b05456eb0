// The recent-file list: newest first, four at most, kept in the store.
#include <gtest/gtest.h>

#include "app/recent_files.h"

namespace tarn {
namespace {

TEST(RecentFiles, NewestFirstFourAtMostStoredAsTheFrameworkKeepsThem) {
    struct Step {
        char op;  // 'a' add, 'r' remove
        const char* path;
        std::vector<std::string> after;
    };
    const std::vector<Step> steps = {
        {'a', "/m/a.md2", {"/m/a.md2"}},
        {'a', "/m/b.md2", {"/m/b.md2", "/m/a.md2"}},
        {'a', "/m/a.md2", {"/m/a.md2", "/m/b.md2"}},  // listed again: moves up, not twice
        {'a', "/m/c.md2", {"/m/c.md2", "/m/a.md2", "/m/b.md2"}},
        {'a', "/m/d.md2", {"/m/d.md2", "/m/c.md2", "/m/a.md2", "/m/b.md2"}},
        {'a', "/m/e.md2", {"/m/e.md2", "/m/d.md2", "/m/c.md2", "/m/a.md2"}},  // the oldest falls off
        {'r', "/m/d.md2", {"/m/e.md2", "/m/c.md2", "/m/a.md2"}},
        {'r', "/m/x.md2", {"/m/e.md2", "/m/c.md2", "/m/a.md2"}},
        {'a', "", {"/m/e.md2", "/m/c.md2", "/m/a.md2"}},
    };
    MemorySettings settings;
    RecentFiles list;
    list.load(settings);
    EXPECT_TRUE(list.entries().empty());
    for (const Step& s : steps) {
        if (s.op == 'a')
            list.add(settings, s.path);
        else
            list.remove(settings, s.path);
        EXPECT_EQ(list.entries(), s.after) << s.op << " " << s.path;
        RecentFiles reread;
        reread.load(settings);
        EXPECT_EQ(reread.entries(), s.after) << "stored after " << s.op << " " << s.path;
    }
    EXPECT_EQ(settings.getString(kRecentFileSection, "File1", ""), "/m/e.md2");
    EXPECT_EQ(settings.getString(kRecentFileSection, "File4", "?"), "");
    EXPECT_EQ(recentFileMenuText(1, "/m/c.md2"), "&2 /m/c.md2");
}

}  // namespace
}  // namespace tarn
