// The character set of a cached page and a search word in it.
#include <gtest/gtest.h>

#include "core/web/charset.h"

namespace restash {
namespace {

TEST(Charset, FromTheMetaOfThePage) {
    struct Case {
        const char* page;
        const char* charset;
    };
    for (const Case& c : {
             Case{"<html><META http-equiv=\"Content-Type\" content=\"text/html; charset=ISO-8859-2\">",
                  "ISO-8859-2"},
             Case{"<meta HTTP-EQUIV='content-type' CONTENT='text/html;charset=koi8-r'>", "koi8-r"},
             Case{"<head><meta charset=\"utf-8\"/></head>", "utf-8"},
             Case{"<meta charset=windows-1251>", "windows-1251"},
             Case{"<meta name=\"description\" content=\"about charset=fake\"><meta charset=big5>", "big5"},
             Case{"<p>charset=utf-8 in the text</p>", ""},
             Case{"<meta http-equiv=\"refresh\" content=\"5\">", ""},
         })
        EXPECT_EQ(CharsetFromMeta(c.page), c.charset) << c.page;
    EXPECT_EQ(CharsetFromMeta(std::string(9000, ' ') + "<meta charset=utf-8>"), "");
}

TEST(Charset, HeadThenElementThenMetaThenLatin1) {
    const std::string page = "<meta charset=utf-8>";
    EXPECT_EQ(PageCharset("KOI8-R", "windows-1252", page), "KOI8-R");
    EXPECT_EQ(PageCharset("", "windows-1252", page), "windows-1252");
    EXPECT_EQ(PageCharset("", "", page), "utf-8");
    EXPECT_EQ(PageCharset("", "", "<p>"), "ISO-8859-1");
}

TEST(Charset, SearchWordInThePagesCharset) {
    EXPECT_EQ(ConvertFromUtf8("caf\xc3\xa9", "ISO-8859-1"), "caf\xe9");
    EXPECT_EQ(ConvertFromUtf8("caf\xc3\xa9", "utf-8"), "caf\xc3\xa9");
    EXPECT_EQ(ConvertFromUtf8("\xd0\x9c\xd0\xb8\xd1\x80", "koi8-r"), "\xed\xc9\xd2");
    EXPECT_EQ(ConvertFromUtf8("x-sjis \xe3\x81\x82", "x-sjis"), "x-sjis \x82\xa0");
    // A page labelled Latin-1 is read as windows-1252, which has the euro sign.
    EXPECT_EQ(ConvertFromUtf8("\xe2\x82\xac", "ISO-8859-1"), "\x80");
    EXPECT_EQ(ConvertFromUtf8("\xc4\x80", "ISO-8859-1"), std::nullopt);  // no A with macron
    EXPECT_EQ(ConvertFromUtf8("x", "no-such-charset"), std::nullopt);
    EXPECT_TRUE(IsAsciiCompatibleCharset("windows-1252"));
    EXPECT_FALSE(IsAsciiCompatibleCharset("UTF-16LE"));
    EXPECT_FALSE(IsAsciiCompatibleCharset("iso-2022-jp"));
}

}  // namespace
}  // namespace restash
