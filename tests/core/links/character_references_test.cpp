#include "core/links/character_references.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/links/tag_scanner.h"

namespace restash {
namespace {

TEST(TagScanner, ValuesMayBeSingleQuotedAndHoldLatin1Bytes) {
    struct Case {
        std::string tag;
        std::string value;  // the value after the first word
        char next;          // where the scan rests: the closing quote, a blank, the ">"
    };
    const std::vector<Case> cases{
        {"A HREF='a b.html'>", "a", ' '},  // a blank ends it, as in a double-quoted value
        {"A HREF='x=1&y'>", "x=1&y", '\''},
        {"A HREF=''>", "", '\''},
        {"A HREF='\"q\"'>", "", '"'},
        {"A HREF=\"it's\">", "it's", '"'},
        {"A HREF=caf\xe9.html\xa0X>", "caf\xe9.html\xa0X", '>'},
        {"A HREF=\xff\x80\x7f", "\xff\x80", '\x7f'},  // DEL still separates
    };
    for (const Case& c : cases) {
        std::size_t position = 0;
        NextWord(c.tag, position);
        ASSERT_EQ(NextWord(c.tag, position), "HREF") << c.tag;
        EXPECT_EQ(NextValue(c.tag, position), c.value) << c.tag;
        EXPECT_EQ(c.tag[position - 1], c.next) << c.tag;
    }
}

TEST(CharacterReferences, DecodesTheOnesAddressesUseAndLeavesTheRest) {
    struct Case {
        std::string written;
        std::string decoded;  // empty: stays as written, nothing decoded
    };
    const std::vector<Case> cases{
        {"q=a&amp;page=2", "q=a&page=2"},
        {"&#38;&#x26;&#X26;&#0038;", "&&&&"},
        {"caf&eacute;&Eacute;&nbsp;&yuml;&iexcl;", "caf\xe9\xc9\xa0\xff\xa1"},
        {"&lt;&gt;&quot;&#32;&#126;&#160;", "<>\" ~\xa0"},
        {"&&amp;;", "&&;"},
        {"a=1&copy=2&amp", ""},              // no ";": an address's own "&"
        {"&EACUTE;&unknown;&;&#;&#x;", ""},  // names are case-sensitive
        {"&#0;&#31;&#127;&#150;&#256;&#-38;&#38x;&#x000000026;", ""},
    };
    for (const Case& c : cases) {
        const DecodedValue d = DecodeCharacterReferences(c.written);
        EXPECT_EQ(d.text, c.decoded.empty() ? c.written : c.decoded) << c.written;
        EXPECT_EQ(d.hadReferences, !c.decoded.empty()) << c.written;
    }
    // What is written with references reads back as it was.
    for (const std::string text : {"a&b<c>d\"e'f g", "&amp;", "caf\xe9&#38;"}) {
        const std::string written = WithCharacterReferences(text);
        EXPECT_EQ(written.find_first_of("<>\"' "), std::string::npos) << written;
        EXPECT_EQ(DecodeCharacterReferences(written).text, text);
    }
}

}  // namespace
}  // namespace restash
