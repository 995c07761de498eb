#include "core/platform/paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

TEST(ExistingPathIgnoringCase, FindsTheIndexWhateverTheCaseOfItsNames) {
    TempDir dir;
    std::filesystem::create_directories(dir / "Cache/sub");
    WriteBytes(dir / "Cache/fat.db", "x");
    struct Case {
        std::string asked, found;
    };
    for (const Case& c : std::vector<Case>{
             {dir / "Cache/fat.db", dir / "Cache/fat.db"},
             {dir / "Cache/FAT.DB", dir / "Cache/fat.db"},
             {dir / "CACHE/Fat.Db", dir / "Cache/fat.db"},
             {dir / "CACHE/SUB", dir / "Cache/sub"},
             {dir / "Cache/NONE.DB", dir / "Cache/NONE.DB"},  // nothing like it: as asked
             {"", ""},
         })
        EXPECT_EQ(ExistingPathIgnoringCase(c.asked), c.found) << c.asked;
}

}  // namespace
}  // namespace restash::test
