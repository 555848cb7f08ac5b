#include "reference/tsp_command_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text.h"

namespace tamvel {
namespace {

// One group of the list: its heading (none for the first group), the width its names are
// padded to, and its command names in list order.
struct Group {
    const char* heading;
    std::size_t field;
    std::vector<std::string_view> names;
};

const std::vector<Group>& Groups() {
    static const std::vector<Group> groups = {
        {nullptr,
         9,
         {"AR1", "BJEST", "BJIDENT", "CORR", "COVA", "HIST", "INST", "KALMAN", "LAD", "LIML", "LMS",
          "MOMENT", "MSD", "OLSQ", "PANEL", "PRIN", "VAR", "PDL"}},
        {"非線形推定と公式の操作",
         8,
         {"3SLS", "ARCH", "CONST", "DIFFER", "EQSUB", "FIML", "FORM", "FRML", "GMM", "IDENT", "LSQ",
          "PARAM", "SUR", "Nonlinear"}},
        {"質的変数と一般最尤推定",
         8,
         {"LOGIT", "ML", "NEGBIN", "ORDPROB", "POISSON", "PROBIT", "SAMPSEL", "TOBIT"}},
        {"予測とモデルシミュレーション",
         8,
         {"ACTFIT", "BJFRCST", "FORCST", "MODEL", "SIML", "SOLVE"}},
        {"データ変換",
         8,
         {"CAPITL", "CONVERT", "COPY", "DELETE", "DIVIND", "DUMMY", "GENR", "LENGTH", "LIST",
          "NORMAL", "RANDOM", "RENAME", "SAMA", "SET", "SORT", "TREND"}},
        {"データのファイル間の移動",
         8,
         {"CLOSE",   "DBCOMP", "DBCONV", "DBCOPY",   "DBDEL", "DBDUMP", "DBLIST", "DBPRINT",
          "FETCH",   "IN",     "INPUT",  "KEEP",     "OUT",   "OUTPUT", "READ",   "RECOVER",
          "RESTORE", "SAVE",   "STORE",  "TERMINAL", "WRITE", "Format"}},
        {"コントロールの流れ",
         8,
         {"CLEAR", "COLLECT", "DO", "DOT", "ELSE", "END", "ENDDO", "ENDDOT", "ENDPROC", "EXEC",
          "EXIT", "GOTO", "IF", "LOCAL", "PROC", "QUIT", "STOP", "THEN"}},
        {"コマンドまたはデータの編集", 8, {"ADD", "DROP", "EDIT", "ENTER", "RETRY", "UPDATE"}},
        {"表示と診断", 8, {"ASMBUG", "COMPRESS", "DATE",   "DEBUG", "DIR",    "DOC",  "DUMP",
                           "FIND",   "GRAPH",    "GRAPH",  "HELP",  "HIST",   "NAME", "NOPAUSE",
                           "PAGE",   "PAUSE",    "PLOT",   "PLOT",  "REVIEW", "SHOW", "SYMTAB",
                           "SYSTEM", "TITLE",    "TSTATS", "USER"}},
        {"オプション",
         8,
         {"FREQ", "NOPLOTS", "NOPRINT", "NOSUPRES", "OPTIONS", "PLOTS", "SELECT", "SMPL", "SMPLIF",
          "SUPRES"}},
        {"行列演算", 8, {"MATRIX", "MFORM", "MMAKE", "ORTHON", "UNMAKE", "YLDFAC"}},
        {"仮説検定", 8, {"ANALYZ", "CDF", "COINT", "REGOPT"}},
    };
    return groups;
}

// What a line of the list must be, laid out from the groups above.
struct ExpectedLine {
    std::string heading;    // CP932; empty for a command line
    std::string_view name;  // empty for a heading or line 0
    std::size_t field = 0;
};

std::vector<ExpectedLine> ExpectedLines() {
    std::vector<ExpectedLine> lines(1);
    for (const Group& group : Groups()) {
        if (group.heading != nullptr) lines.push_back({Cp932(group.heading), {}, 0});
        for (std::string_view name : group.names) lines.push_back({{}, name, group.field});
    }
    return lines;
}

// The two sub-entries close their groups with a spacing of their own.
constexpr std::size_t kSubEntryBlanks = 5;
bool IsSubEntry(std::string_view name) { return name == "Nonlinear" || name == "Format"; }

// Empty when `line` follows the field rule for `name`, else what is wrong with it.
std::string FieldRuleFault(std::string_view line, std::string_view name, std::size_t field) {
    if (!line.starts_with(name)) return "does not start with its command name";
    const std::size_t descriptionAt =
        IsSubEntry(name) ? name.size() + kSubEntryBlanks : std::max(name.size(), field);
    if (name.size() > field && !IsSubEntry(name)) return "name is wider than the field";
    if (line.size() <= descriptionAt) return "has no description";
    for (std::size_t i = name.size(); i < descriptionAt; ++i) {
        if (line[i] != ' ') return "is not padded with blanks up to its description";
    }
    if (line[descriptionAt] == ' ') return "has more blanks than its field";
    return {};
}

TEST(TspCommandList, HoldsTheLinesOfEveryGroupInOrderWithTheirFieldRule) {
    const auto lines = TspCommandLines();
    const std::vector<ExpectedLine> expected = ExpectedLines();
    ASSERT_EQ(expected.size(), kTspCommandLineCount);
    ASSERT_EQ(lines.size(), kTspCommandLineCount);
    EXPECT_EQ(lines[0], "");

    for (std::size_t i = 1; i < lines.size(); ++i) {
        SCOPED_TRACE("line " + std::to_string(i) + ": " + Cp932ToUtf8(lines[i]).value_or("?"));
        ASSERT_TRUE(Cp932ToUtf8(lines[i]).has_value()) << "not valid CP932";
        if (!expected[i].heading.empty()) {
            EXPECT_EQ(lines[i], expected[i].heading);
            EXPECT_NE(lines[i].front(), ' ');
        } else {
            EXPECT_EQ(FieldRuleFault(lines[i], expected[i].name, expected[i].field), "");
        }
    }
}

TEST(TspCommandList, EightLetterNamesRunIntoTheirDescription) {
    const auto lines = TspCommandLines();
    for (std::size_t i : {87u, 118u, 146u}) {
        SCOPED_TRACE(i);
        EXPECT_NE(lines[i][8], ' ');
        EXPECT_TRUE(IsCp932LeadByte(static_cast<unsigned char>(lines[i][8])));
    }
    EXPECT_TRUE(lines[87].starts_with("TERMINAL"));
    EXPECT_TRUE(lines[118].starts_with("COMPRESS"));
    EXPECT_TRUE(lines[146].starts_with("NOSUPRES"));
}

TEST(TspCommandList, QuotedLinesStandByteForByte) {
    struct Case {
        std::size_t line;
        const char* text;
    };
    const Case cases[] = {
        {1, "AR1      AR(1)(自己相関)誤差を修正した回帰"},
        {6, "HIST     系列のヒストグラム(度数分布)のプリント"},
        {13, "MSD      系列リストに対する平均, 標準偏差, 最小, 最大, 合計, 分散, 歪度, 尖度の計算"},
        {14, "OLSQ     通常の最小２乗法(線形回帰)の推定"},
        {15, "PANEL    パネルデータ推定(総計, 要素内, 要素間, 分散要素)"},
        {20, "3SLS    3段階最小2乗法"},
        {33, "Nonlinear     非線形オプション"},
        {38, "ORDPROB 順序プロビットモデルの推定"},
        {82, "READ    データをファイルまたはコマンド群から入力"},
        {87, "TERMINALアウトプットをファイルからスクリーンに出力する"},
        {89, "Format     READ/WRITE (Fortran 形式)に対するフォーマット"},
        {96, "END     TSP プログラム、あるいはデータセクションの終了"},
        {106, "QUIT    TSP の終了"},
        {107, "STOP    TSP の終了"},
        {125, "GRAPH   1つの変数のもう1つの変数に対する散布図"},
        {126, "GRAPH   1つの変数のもう1つの変数に対する散布図 (PC/Mac)"},
        {128, "HIST    系列のヒストグラム(度数分布)の作成"},
        {133, "PLOT    複数系列の時間に対するプロット"},
        {134, "PLOT    複数系列の時間に対するプロット (PC/Mac)"},
        {143, "FREQ    TSP の実行時に期種を設定"},
        {150, "SMPL    処理する観測値の標本のセット"},
        {154, "MATRIX  行列演算"},
        {164, "REGOPT  回帰診断のプリントと保存の制御"},
    };
    const auto lines = TspCommandLines();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(lines[c.line], Cp932(c.text));
    }
}

// Position of every line that starts with `name` followed by a blank or its description.
std::vector<std::size_t> LinesOf(std::string_view name) {
    std::vector<std::size_t> found;
    const auto lines = TspCommandLines();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        if (line.starts_with(name) && line.size() > name.size() && line[name.size()] == ' ') {
            found.push_back(i);
        }
    }
    return found;
}

TEST(TspCommandList, RepeatsGraphPlotAndHistAtTheirPlaces) {
    EXPECT_EQ(LinesOf("GRAPH"), (std::vector<std::size_t>{125, 126}));
    EXPECT_EQ(LinesOf("PLOT"), (std::vector<std::size_t>{133, 134}));
    EXPECT_EQ(LinesOf("HIST"), (std::vector<std::size_t>{6, 128}));
    EXPECT_EQ(LinesOf("PDL"), (std::vector<std::size_t>{18}));
    EXPECT_EQ(LinesOf("VAR"), (std::vector<std::size_t>{17}));

    const auto lines = TspCommandLines();
    EXPECT_EQ(lines[106].substr(8), lines[107].substr(8)) << "QUIT and STOP share a description";
    EXPECT_NE(lines[6].substr(9), lines[128].substr(8)) << "the two HIST lines differ";
}

}  // namespace
}  // namespace tamvel
