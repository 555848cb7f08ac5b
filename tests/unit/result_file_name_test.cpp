#include "panel/result_file_name.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace tamvel {
namespace {

TEST(ResultFileName, ReplacesWhatFollowsTheLastDotAnywhereInThePath) {
    struct Case {
        const char* tspFile;
        const char* resultFile;
    };
    const Case cases[] = {
        {"C:\\work\\model.tsp", "C:\\work\\model.out"},
        {"C:\\work\\model.TSP", "C:\\work\\model.out"},
        {"C:\\work\\model.txt", "C:\\work\\model.out"},
        {"C:\\work\\model", "C:\\work\\model.out"},
        {"C:\\work\\model.", "C:\\work\\model.out"},
        {"C:\\work\\model.tsp.bak", "C:\\work\\model.tsp.out"},
        {"C:\\data.old\\model", "C:\\data.out"},
        {"C:\\my.dir\\a", "C:\\my.out"},
        {"model.tsp", "model.out"},
        {".tsp", ".out"},
        {"", ".out"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakeResultFileName(c.tspFile), c.resultFile) << c.tspFile;
    }
}

TEST(ResultFileName, CountsOnlyRealDotsInJapanesePaths) {
    // "ー" is 0x81 0x5B and "．" (full-width dot) 0x81 0x44: neither holds a real '.'.
    EXPECT_EQ(MakeResultFileName(Cp932("C:\\データ\\モデル．tsp")),
              Cp932("C:\\データ\\モデル．tsp.out"));
    EXPECT_EQ(MakeResultFileName(Cp932("C:\\表.d\\モデル")), Cp932("C:\\表.out"));
}

}  // namespace
}  // namespace tamvel
