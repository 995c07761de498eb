#include "core/selection/selection_options.h"

#include <gtest/gtest.h>

#include "tests/core/selection/selection_fixture.h"

namespace restash::test {
namespace {

TEST(SelectionOptions, AgesAcceptExactlyTheWindowsChoices) {
    for (const char* ok : {"6h", "12h", "18h", "1d", "6d", "1w", "6w", "3D", "2W"}) EXPECT_NO_THROW(ParseAgeOption(ok)) << ok;
    for (const char* bad : {"", "h", "6", "7h", "24h", "0d", "7d", "0w", "7w", "06h", "+1d", "1x", "1.5d", "d1", " 1d"})
        EXPECT_THROW(ParseAgeOption(bad), SelectionOptionError) << bad;
    const AgeOption age = ParseAgeOption("12h");
    EXPECT_EQ(age.number, 12);
    EXPECT_EQ(age.unit, AgeUnit::Hours);
}

TEST(SelectionOptions, TypesAreACommaList) {
    const TypeOption t = ParseTypesOption("media,OTHER");
    EXPECT_FALSE(t.text);
    EXPECT_TRUE(t.media);
    EXPECT_TRUE(t.other);
    for (const char* bad : {"", "text,", "html", "text,,media", "text media"})
        EXPECT_THROW(ParseTypesOption(bad), SelectionOptionError) << bad;
}

TEST(SelectionOptions, AgeAndTypesSetTheWindowsControls) {
    SelectionFixture f({});
    const std::int32_t now = f.state.NowStamp();
    f.state.MutableEntries() = {Entry("new.com", now - 100, Category::Text), Entry("old.com", now - 200000, Category::Media),
                         Entry("other.com", now - 100, Category::Other)};
    f.state.RebuildLists();

    SelectionOptions newer;
    newer.newer = "2d";
    newer.types = "text,other";
    ApplySelectionOptions(f.state, newer);
    Selection s = f.state.Current();
    EXPECT_EQ(s.AgeLower, now - 2 * 86400);
    EXPECT_EQ(s.AgeUpper, kNoUpperLimit);
    EXPECT_TRUE(s.IncludeText);
    EXPECT_FALSE(s.IncludeMedia);
    EXPECT_TRUE(s.IncludeOther);
    EXPECT_EQ(s.Domains.Names(), (std::vector<std::string>{"new.com", "other.com"}));

    SelectionOptions older;
    older.older = "1d";
    ApplySelectionOptions(f.state, older);
    s = f.state.Current();
    EXPECT_EQ(s.AgeLower, 0);
    EXPECT_EQ(s.AgeUpper, now - 86400);
    EXPECT_EQ(s.Domains.Names(), (std::vector<std::string>{"old.com"}));

    SelectionOptions both;
    both.newer = "1d";
    both.older = "2d";
    EXPECT_THROW(ApplySelectionOptions(f.state, both), SelectionOptionError);
}

TEST(SelectionOptions, DefaultTypesAreTheBoxesTheWindowStartsWith) {
    SelectionFixture text({Entry("a.com", 5)}, IndexFormat::TextIndex);
    ApplySelectionOptions(text.state, {});
    EXPECT_FALSE(text.state.Current().IncludeOther);
    SelectionFixture hash({Entry("a.com", 5)}, IndexFormat::HashIndex);
    ApplySelectionOptions(hash.state, {});
    EXPECT_TRUE(hash.state.Current().IncludeOther);
    EXPECT_TRUE(hash.state.Current().IncludeText);
}

TEST(SelectionOptions, DomainsAreMatchedWithoutCaseAndUnknownOnesAreNamed) {
    SelectionFixture f({Entry("Alpha.com", 5), Entry("beta.org", 5), Entry("gamma.net", 5, Category::Media)});
    SelectionOptions o;
    o.domains = {"ALPHA.COM", "gamma.NET"};
    ApplySelectionOptions(f.state, o);
    EXPECT_EQ(f.state.Chosen().Names(), (std::vector<std::string>{"Alpha.com", "gamma.net"}));
    EXPECT_EQ(f.state.Available().Names(), (std::vector<std::string>{"beta.org"}));
    EXPECT_EQ(f.state.Counts().text, 1u);
    EXPECT_EQ(f.state.Counts().media, 1u);

    o.domains = {"delta.com"};
    try {
        ApplySelectionOptions(f.state, o);
        FAIL() << "no error";
    } catch (const SelectionOptionError& e) {
        const std::string text = e.what();
        EXPECT_NE(text.find("delta.com"), std::string::npos) << text;
        EXPECT_NE(text.find("Alpha.com, beta.org, gamma.net"), std::string::npos) << text;
    }
    // The failed choice changed nothing.
    EXPECT_EQ(f.state.Chosen().Names(), (std::vector<std::string>{"Alpha.com", "gamma.net"}));
}

}  // namespace
}  // namespace restash::test
