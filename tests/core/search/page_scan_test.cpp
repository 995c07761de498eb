// The page scan finds exactly what a scan of 1023-character windows of the
// tag-folded text finds, whatever size of chunk it reads.
#include "core/search/page_scan.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "core/platform/text.h"

namespace restash::test {
namespace {

bool Scan(const std::string& page, const std::string& upperText, std::size_t chunk = 64 * 1024) {
    std::istringstream in(page);
    return TextContains(in, upperText, chunk);
}

// The scan as the search describes it, character by character: a tag stands
// as its ">" (or the last character read when the page ends inside it); the
// buffer is tested whenever it holds 1023 characters, then keeps its last
// (length - 1); the rest is tested at the end.
bool WindowScan(const std::string& page, const std::string& text) {
    std::string buffer;
    std::size_t i = 0;
    while (i < page.size()) {
        char c = page[i++];
        if (c == '<')
            while (i < page.size()) {
                c = page[i++];
                if (c == '>') break;
            }
        buffer += c;
        if (buffer.size() == 1023) {
            buffer = ToUpperAscii(buffer);
            if (buffer.find(text) != std::string::npos) return true;
            buffer.erase(0, buffer.size() - (text.size() - 1));
        }
    }
    if (buffer.size() == 1023) return false;
    return ToUpperAscii(buffer).find(text) != std::string::npos;
}

TEST(PageScan, TagsStandAsOneGreaterThanSign) {
    EXPECT_TRUE(Scan("<HTML><BODY>Hello<B>World</B></BODY>", "HELLO>WORLD"));
    // The blank of "hello >world" must be in the text: before the tag.
    EXPECT_FALSE(Scan("Hello<B>World", "HELLO >WORLD"));
    EXPECT_TRUE(Scan("Hello <B>World", "HELLO >WORLD"));
    EXPECT_FALSE(Scan("Hello <B>World", "HELLO WORLD"));
    EXPECT_FALSE(Scan("<A HREF=offline.html>elsewhere</A><IMG ALT=offline>", "OFFLINE"));
    EXPECT_TRUE(Scan("<A HREF=x>Offline</A>", "OFFLINE"));
    // A tag that holds a "<" still ends at the first ">".
    EXPECT_TRUE(Scan("a<b<c>d", "A>D"));
}

TEST(PageScan, ComparesAsciiLettersOnlyWithoutCaseAndKeepsLineBreaks) {
    EXPECT_TRUE(Scan("Browse the web oFfLiNe.", "OFFLINE"));
    EXPECT_FALSE(Scan("caf\xe9", "CAF\xc9"));
    EXPECT_TRUE(Scan("caf\xe9", "CAF\xe9"));
    EXPECT_FALSE(Scan("two\r\nlines", "TWO LINES"));
    EXPECT_TRUE(Scan("two\r\nlines", "TWO\r\nLINES"));
}

TEST(PageScan, AnOpenTagAtTheEndStandsAsItsLastCharacter) {
    EXPECT_TRUE(Scan("end <b", "END B"));
    EXPECT_TRUE(Scan("end <", "END <"));
    EXPECT_FALSE(Scan("end <bold", "END BOLD"));
}

TEST(PageScan, FindsAStringAcrossTheBoundaryOfTheFirstWindow) {
    // ">" plus 1019 letters, then the word over characters 1021 to 1026.
    const std::string page = "<P>" + std::string(1019, 'a') + "Needle and more text";
    EXPECT_TRUE(WindowScan(page, "NEEDLE"));
    for (std::size_t chunk : {1u, 5u, 1022u, 1023u, 1024u, 65536u}) EXPECT_TRUE(Scan(page, "NEEDLE", chunk)) << chunk;
    EXPECT_FALSE(Scan(page, "NEEDLES"));
}

TEST(PageScan, AgreesWithTheWindowScanOnRandomPages) {
    std::mt19937 random(20240607);
    const std::string alphabet = "aAbB<> \rx";
    auto pick = [&](std::size_t n) {
        std::string s;
        for (std::size_t i = 0; i < n; ++i) s += alphabet[random() % alphabet.size()];
        return s;
    };
    int found = 0;
    for (int round = 0; round < 400; ++round) {
        const std::string page = pick(random() % 5000);
        std::string text = ToUpperAscii(pick(2 + random() % 7));
        // Half of the strings are taken from the page so that many are found.
        if (round % 2 == 0 && page.size() > 10) {
            const std::size_t at = random() % (page.size() - 8);
            std::string piece;
            for (char c : page.substr(at, 2 + random() % 6))
                if (c != '<') piece += UpperAscii(c);
            if (piece.size() >= 2) text = piece;
        }
        const bool expected = WindowScan(page, text);
        found += expected;
        for (std::size_t chunk : {1u, 3u, 64u, 1023u, 4096u})
            ASSERT_EQ(Scan(page, text, chunk), expected) << "round " << round << " chunk " << chunk;
    }
    EXPECT_GT(found, 50);  // the comparison covered both answers
    EXPECT_LT(found, 400);
}

}  // namespace
}  // namespace restash::test
