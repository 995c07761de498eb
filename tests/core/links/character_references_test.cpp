#include "core/links/character_references.h"

#include <gtest/gtest.h>

#include <vector>

namespace restash {
namespace {

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
