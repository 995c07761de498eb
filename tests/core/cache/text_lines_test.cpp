#include "core/cache/text_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace restash {
namespace {

std::vector<std::string> AllLines(std::string_view bytes) {
    LineReader reader(bytes);
    std::vector<std::string> lines;
    while (!reader.AtEnd()) lines.emplace_back(reader.Next());
    return lines;
}

std::vector<std::string> AllFields(std::string_view line, int count) {
    std::vector<std::string> fields;
    for (int i = 0; i < count; ++i) fields.emplace_back(TakeField(line));
    return fields;
}

TEST(LineReader, KeepsTheTerminatorAndSkipsBlankLineEnds) {
    // CR LF lines, the CR CR LF of a rewritten index, a bare LF, a last line
    // without terminator.
    EXPECT_EQ(AllLines("head\r\none\r\r\ntwo\nthree"),
              (std::vector<std::string>{"head\r", "one\r", "two\n", "three"}));
    // The CR LF pair leaves its LF behind, so the final read meets the end
    // of the file and gives an empty line.
    EXPECT_EQ(AllLines("head\r\n"), (std::vector<std::string>{"head\r", ""}));
    EXPECT_EQ(AllLines("\r\n\r\nfirst"), (std::vector<std::string>{"first"}));
    LineReader empty("");
    EXPECT_TRUE(empty.AtEnd());
    EXPECT_EQ(empty.Next(), "");
}

TEST(LineReader, ReadsLongLinesWhole) {
    const std::string url = "http://www.example.com/" + std::string(3000, 'a');
    const std::string line = "1\t2\t3\tX\t" + url + "\ttext/html\t7\t8\r";
    EXPECT_EQ(AllLines("head\r\n" + line + "\nnext\r\n"),
              (std::vector<std::string>{"head\r", line, "next\r", ""}));
}

TEST(FieldSplitter, AnyRunOfNonPrintablesSeparates) {
    const std::vector<std::string> expected{"a", "b c", "d"};
    EXPECT_EQ(AllFields("a\tb c\td\r", 3), expected);
    EXPECT_EQ(AllFields("a\t\t\x01\x1f" "b c\t\x7f\x1b" "d", 3), expected);
    EXPECT_EQ(AllFields(std::string_view("a\t\0b c\t\0d", 9), 3), expected);
    EXPECT_EQ(AllFields("\t\ta\tb c\td\r", 3), expected);
}

TEST(FieldSplitter, BytesFrom128BelongToFields) {
    EXPECT_EQ(AllFields("1\thttp://a.example/caf\xe9.html\ttext/html\t\r", 3),
              (std::vector<std::string>{"1", "http://a.example/caf\xe9.html", "text/html"}));
    EXPECT_EQ(AllFields("\x80\xff\x7f\xa0 x\x9f", 2), (std::vector<std::string>{"\x80\xff", "\xa0 x\x9f"}));
}

TEST(FieldSplitter, TakesTheEndingByteAndEmptiesTheLineWhenItRunsOut) {
    std::string_view line = "one\t\ttwo";
    EXPECT_EQ(TakeField(line), "one");
    EXPECT_EQ(line, "\ttwo");  // only the one ending byte goes with the field
    EXPECT_EQ(TakeField(line), "two");
    EXPECT_TRUE(line.empty());
    EXPECT_EQ(TakeField(line), "");

    std::string_view last = "seven\r";
    EXPECT_EQ(TakeField(last), "seven");
    EXPECT_TRUE(last.empty());

    std::string_view onlyControls = "\t\r\x01";
    EXPECT_EQ(TakeField(onlyControls), "");
    EXPECT_TRUE(onlyControls.empty());
}

}  // namespace
}  // namespace restash
