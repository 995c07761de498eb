#include "core/selection/cache_selection.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include "core/platform/error.h"
#include "tests/core/selection/selection_fixture.h"

namespace restash::test {
namespace {

std::vector<std::string> Names(const NameList& list) { return list.Names(); }

std::vector<std::uint64_t> Counts(const CacheSelection& m) { return {m.Counts().text, m.Counts().media, m.Counts().other}; }

// Runs a test body in a fixed time zone (five hours west of UTC).
class FixedZone {
public:
    FixedZone() {
        const char* old = getenv("TZ");
        if (old) saved_ = old, hadOld_ = true;
        setenv("TZ", "EST5", 1);
        tzset();
    }
    ~FixedZone() {
        if (hadOld_) setenv("TZ", saved_.c_str(), 1);
        else unsetenv("TZ");
        tzset();
    }

private:
    std::string saved_;
    bool hadOld_ = false;
};

TEST(CacheSelection, ResetStartsOverForTheTraitsOfTheCache) {
    FixedZone zone;
    RecordingProgress progress;
    CacheSelection m(progress);

    m.Reset(NetscapeTraits(IndexFormat::TextIndex), FixedClock(900000000), 2);
    EXPECT_EQ(m.NowStamp(), 900000000 - 5 * 3600 - 2 * 3600);
    EXPECT_EQ(m.Mode(), AgeMode::AllAges);
    EXPECT_EQ(m.AgeNumbers(), (std::vector<std::string>{"6", "12", "18"}));
    EXPECT_EQ(m.AgeNumberIndex(), 0);
    EXPECT_EQ(m.Unit(), AgeUnit::Hours);
    EXPECT_TRUE(m.TypeIncluded(Category::Text));
    EXPECT_TRUE(m.TypeIncluded(Category::Media));
    EXPECT_FALSE(m.TypeIncluded(Category::Other));
    EXPECT_EQ(Counts(m), (std::vector<std::uint64_t>{0, 0, 0}));
    EXPECT_EQ(m.AgeUpper(), kNoUpperLimit);

    // A hash index counts from 65,536 seconds earlier and starts with the
    // other files taken.
    m.SetAgeMode(AgeMode::NewerThan);
    m.Reset(NetscapeTraits(IndexFormat::HashIndex), FixedClock(900000000), 2);
    EXPECT_EQ(m.NowStamp(), 900000000 - 5 * 3600 - 2 * 3600 - 65536);
    EXPECT_EQ(m.Mode(), AgeMode::AllAges);
    EXPECT_TRUE(m.TypeIncluded(Category::Other));

    // A cache whose stamps count UTC seconds (the later browsers') measures
    // from the clock's UTC time: neither the zone nor the adjustment applies.
    CacheTraits utc = NetscapeTraits(IndexFormat::HashIndex);
    utc.stampShift = 0;
    utc.utcStamps = true;
    m.Reset(utc, FixedClock(900000000), 2);
    EXPECT_EQ(m.NowStamp(), 900000000);
}

TEST(CacheSelection, AnEmptyCacheOrOneOutsideTheWindowListsNothingAndHasNothingChosen) {
    for (const CacheEntryList& entries :
         {CacheEntryList{}, CacheEntryList{Entry("a.com", 0), Entry("b.com", -5), Entry("c.com", kNoUpperLimit),
                                           Entry("d.com", 2147483647)}}) {
        SelectionFixture f(entries);
        EXPECT_TRUE(f.state.Available().empty());
        EXPECT_TRUE(f.state.Chosen().empty());
        EXPECT_EQ(Counts(f.state), (std::vector<std::uint64_t>{0, 0, 0}));
        EXPECT_FALSE(f.state.HasSomethingChosen());
    }
}

TEST(CacheSelection, TheAgeWindowIsStrictAtBothEndsInEveryMode) {
    for (AgeMode mode : {AgeMode::AllAges, AgeMode::NewerThan, AgeMode::OlderThan}) {
        SelectionFixture f({});
        f.state.SetAgeMode(mode);
        const std::int32_t lo = f.state.AgeLower(), hi = f.state.AgeUpper();
        CacheEntryList entries = {Entry("lower.edge", lo),        Entry("upper.edge", hi),
                                  Entry("zero", 0),               Entry("negative", -1),
                                  Entry("limit", kNoUpperLimit),  Entry("beyond", kNoUpperLimit + 1),
                                  Entry("inside.low", lo + 1),    Entry("inside.high", hi - 1)};
        f.state.MutableEntries() = entries;
        f.state.RebuildLists();
        std::vector<std::string> expected = {"inside.high", "inside.low"};
        EXPECT_EQ(Names(f.state.Chosen()), expected) << static_cast<int>(mode);
    }
}

TEST(CacheSelection, AgeChoicesMeasureFromNowStamp) {
    for (IndexFormat format : {IndexFormat::TextIndex, IndexFormat::HashIndex}) {
        SelectionFixture f({}, format);
        const std::int32_t now = f.state.NowStamp();
        f.state.SetAgeMode(AgeMode::OlderThan);
        EXPECT_EQ(f.state.AgeLower(), 0);
        EXPECT_EQ(f.state.AgeUpper(), now - 21600);

        f.state.SetAgeMode(AgeMode::NewerThan);
        f.state.SetAgeUnit(AgeUnit::Weeks);
        f.state.SetAgeNumber(1);
        EXPECT_EQ(f.state.AgeNumbers()[1], "2");
        EXPECT_EQ(f.state.AgeLower(), now - 1209600);
        EXPECT_EQ(f.state.AgeUpper(), kNoUpperLimit);

        f.state.SetAgeMode(AgeMode::AllAges);
        EXPECT_EQ(f.state.AgeLower(), 0);
        EXPECT_EQ(f.state.AgeUpper(), kNoUpperLimit);
    }
    // The same moment gives a hash index a NowStamp 65,536 seconds earlier.
    SelectionFixture text({}, IndexFormat::TextIndex), hash({}, IndexFormat::HashIndex);
    EXPECT_EQ(text.state.NowStamp() - hash.state.NowStamp(), 65536);
}

TEST(CacheSelection, ChoosingDaysOffersTheirNumbersAndRebuildsTheLists) {
    SelectionFixture f({});
    const std::int32_t now = f.state.NowStamp();
    f.state.MutableEntries() = {Entry("old.com", now - 90000), Entry("new.com", now - 80000)};
    f.state.SetAgeMode(AgeMode::NewerThan);
    EXPECT_TRUE(f.state.Chosen().empty());  // both are older than 6 hours
    f.state.SetAgeUnit(AgeUnit::Days);
    EXPECT_EQ(f.state.AgeNumbers(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(f.state.AgeNumberIndex(), 0);
    EXPECT_EQ(f.state.AgeLower(), now - 86400);
    EXPECT_EQ(Names(f.state.Chosen()), (std::vector<std::string>{"new.com"}));
}

TEST(CacheSelection, MovingDomainsKeepsBothListsSortedAndMarksTheNextOne) {
    SelectionFixture f({Entry("e.com", 5), Entry("B.com", 5), Entry("a.com", 5), Entry("D.com", 5), Entry("c.com", 5)});
    CacheSelection& m = f.state;
    EXPECT_EQ(Names(m.Chosen()), (std::vector<std::string>{"a.com", "B.com", "c.com", "D.com", "e.com"}));
    m.UnchooseAll();
    EXPECT_EQ(Names(m.Available()), (std::vector<std::string>{"a.com", "B.com", "c.com", "D.com", "e.com"}));

    // The second and fourth of five: both move, and the domain now second
    // among the available ones is marked.
    m.Mark(DomainList::Available, 1);
    m.Mark(DomainList::Available, 3);
    m.ChooseMarked();
    EXPECT_EQ(Names(m.Chosen()), (std::vector<std::string>{"B.com", "D.com"}));
    EXPECT_EQ(Names(m.Available()), (std::vector<std::string>{"a.com", "c.com", "e.com"}));
    EXPECT_EQ(m.Available().FirstSelected(), 1);
    EXPECT_FALSE(m.Available().IsSelected(0));
    EXPECT_FALSE(m.Available().IsSelected(2));
    EXPECT_EQ(m.Counts().text, 2u);

    // Moving the last one back marks the one now last.
    m.ClearMarks(DomainList::Available);
    m.Mark(DomainList::Chosen, 1);
    m.UnchooseMarked();
    EXPECT_EQ(Names(m.Available()), (std::vector<std::string>{"a.com", "c.com", "D.com", "e.com"}));
    EXPECT_EQ(Names(m.Chosen()), (std::vector<std::string>{"B.com"}));
    EXPECT_TRUE(m.Chosen().IsSelected(0));

    // Nothing marked: nothing moves, the first one gets the mark.
    m.ClearMarks(DomainList::Available);
    m.ChooseMarked();
    EXPECT_EQ(m.Available().size(), 4u);
    EXPECT_TRUE(m.Available().IsSelected(0));

    // Everything chosen, then nothing: nothing to take.
    m.ChooseAll();
    EXPECT_TRUE(m.Available().empty());
    EXPECT_EQ(m.Chosen().size(), 5u);
    m.UnchooseAll();
    EXPECT_EQ(m.Available().size(), 5u);
    EXPECT_EQ(Counts(m), (std::vector<std::uint64_t>{0, 0, 0}));
    EXPECT_FALSE(m.HasSomethingChosen());
}

TEST(CacheSelection, NamesEqualButForCaseKeepTheOrderInWhichTheyCame) {
    SelectionFixture f({Entry("x.org", 5), Entry("Site.com", 5), Entry("SITE.com", 5), Entry("site.com", 5)});
    CacheSelection& m = f.state;
    // Tally order among equals.
    EXPECT_EQ(Names(m.Chosen()), (std::vector<std::string>{"Site.com", "SITE.com", "site.com", "x.org"}));
    // All at once adds in list order; a move of marked ones adds from the
    // last marked to the first.
    m.UnchooseAll();
    EXPECT_EQ(Names(m.Available()), (std::vector<std::string>{"Site.com", "SITE.com", "site.com", "x.org"}));
    m.Mark(DomainList::Available, 0);
    m.Mark(DomainList::Available, 2);
    m.ChooseMarked();
    EXPECT_EQ(Names(m.Chosen()), (std::vector<std::string>{"site.com", "Site.com"}));
    m.Mark(DomainList::Available, 0);
    m.ChooseMarked();
    EXPECT_EQ(Names(m.Chosen()), (std::vector<std::string>{"site.com", "Site.com", "SITE.com"}));
}

TEST(CacheSelection, CountsFollowTheChosenDomainsAndTotalsTheTypesTaken) {
    CacheEntryList entries = {Entry("a.com", 5, Category::Text),  Entry("a.com", 6, Category::Media),
                              Entry("A.COM", 7, Category::Other), Entry("b.com", 8, Category::Text),
                              Entry("b.com", 9, Category::Text)};
    SelectionFixture f(entries);
    CacheSelection& m = f.state;
    EXPECT_EQ(Counts(m), (std::vector<std::uint64_t>{3, 1, 1}));
    EXPECT_EQ(m.CheckedTotal(), 4u);  // the other files are not taken from a text index at first
    EXPECT_EQ(m.AllTotal(), 5u);

    // Domains differing only in case: two tallies, both counted while either
    // name is chosen.
    ASSERT_EQ(m.Tallies().size(), 3u);
    m.UnchooseAll();
    m.Mark(DomainList::Available, 1);  // A.COM (sorted after a.com, which came first)
    ASSERT_EQ(m.Available().Name(1), "A.COM");
    m.ChooseMarked();
    EXPECT_EQ(Counts(m), (std::vector<std::uint64_t>{1, 1, 1}));

    // Types change the total, not the counts.
    m.SetTypeIncluded(Category::Text, false);
    m.SetTypeIncluded(Category::Media, false);
    EXPECT_EQ(Counts(m), (std::vector<std::uint64_t>{1, 1, 1}));
    EXPECT_FALSE(m.HasSomethingChosen());
    m.SetTypeIncluded(Category::Other, true);
    EXPECT_TRUE(m.HasSomethingChosen());
    EXPECT_FALSE(m.ChoosesWholeCache()) << "b.com is left out";
    m.ChooseAll();
    EXPECT_FALSE(m.ChoosesWholeCache()) << "text and media are not taken";
    for (const Category c : {Category::Text, Category::Media}) m.SetTypeIncluded(c, true);
    EXPECT_TRUE(m.ChoosesWholeCache());
    m.SetAgeMode(AgeMode::OlderThan);
    EXPECT_FALSE(m.ChoosesWholeCache()) << "an age limit is never the whole cache";
}

TEST(CacheSelection, CountsDoNotWrapAt65536) {
    CacheEntryList entries(65536 + 3, Entry("big.com", 5, Category::Text));
    SelectionFixture f(entries);
    EXPECT_EQ(f.state.Counts().text, 65539u);
    EXPECT_EQ(f.state.CheckedTotal(), 65539u);
    EXPECT_TRUE(f.state.HasSomethingChosen());
}

TEST(CacheSelection, AnAgeChangeChoosesEveryDomainOfTheNewWindowAgain) {
    SelectionFixture f({Entry("a.com", 5), Entry("b.com", 5), Entry("c.com", 5)});
    CacheSelection& m = f.state;
    auto moveOneOut = [&] {
        m.Mark(DomainList::Chosen, 0);
        m.UnchooseMarked();
        ASSERT_EQ(m.Available().size(), 1u);
    };
    moveOneOut();
    m.SetAgeMode(AgeMode::OlderThan);
    EXPECT_TRUE(m.Available().empty());
    EXPECT_EQ(m.Chosen().size(), 3u);
    moveOneOut();
    m.SetAgeNumber(2);
    EXPECT_EQ(m.AgeUpper(), m.NowStamp() - 18 * 3600);
    EXPECT_TRUE(m.Available().empty());
    moveOneOut();
    m.SetAgeUnit(AgeUnit::Weeks);
    EXPECT_TRUE(m.Available().empty());
    EXPECT_EQ(m.Chosen().size(), 3u);
    EXPECT_EQ(m.Counts().text, 3u);
}

TEST(CacheSelection, ALongDomainIsListedCountedAndSelectedAsItsFirst50Characters) {
    const std::string longName = std::string(60, 'w') + ".com";
    const std::string shown = longName.substr(0, 50);
    CacheEntry a = Entry(longName, 5), b = Entry(std::string(50, 'w') + ".net", 6);
    SelectionFixture f({a, b});
    EXPECT_EQ(Names(f.state.Chosen()), (std::vector<std::string>{shown}));
    EXPECT_EQ(f.state.Counts().text, 2u);
    const Selection s = f.state.Current();
    EXPECT_TRUE(IsSelected(a, s));
    EXPECT_TRUE(IsSelected(b, s));
}

TEST(CacheSelection, AFailedReadPropagatesAndLeavesTheListsEmpty) {
    RecordingProgress progress;
    CacheSelection m(progress);
    m.Reset(NetscapeTraits(IndexFormat::TextIndex), FixedClock(900000000), 0);
    auto cache = CacheOf({Entry("half.com", 5)}, IndexFormat::TextIndex);
    cache->readError = "File not found";
    EXPECT_THROW(m.Load(cache), FileError);
    EXPECT_TRUE(m.Chosen().empty());
    EXPECT_EQ(m.Counts().text, 0u);
    // A reload after a failed read fails the same way and empties the entries.
    EXPECT_THROW(m.Reload(), FileError);
    EXPECT_TRUE(m.Entries().empty());
}

TEST(CacheSelection, ALoadPassesOnWhatTheReadWarnedOf) {
    RecordingProgress progress;
    CacheSelection m(progress);
    auto cache = CacheOf({Entry("a.com", 5)}, IndexFormat::TextIndex);
    cache->warnings = {FileWarning(WarningCode::EntryDamaged, "FAT", "a line passed over")};
    const CacheRead read = m.Load(cache);
    ASSERT_EQ(read.warnings.size(), 1u);
    EXPECT_EQ(read.warnings[0].text, "FAT: a line passed over");
    EXPECT_EQ(m.Reload().warnings.size(), 1u);
}

TEST(CacheSelection, OnlyEntriesWhoseBodyIsThereAreCounted) {
    CacheEntry gone = Entry("gone.com", 5);
    gone.Body.Present = false;
    const DomainTallyList tallies = TallyDomains({Entry("here.com", 5), gone}, 0, kNoUpperLimit);
    ASSERT_EQ(tallies.size(), 1u);
    EXPECT_EQ(tallies[0].Domain, "here.com");
}

TEST(CacheSelection, IsSelectedNeedsTheWindowTheDomainAndTheType) {
    Selection s;
    s.Domains = DomainSet({"Example.COM"});
    s.AgeLower = 100;
    s.AgeUpper = 200;
    s.IncludeText = true;
    s.IncludeMedia = false;
    s.IncludeOther = true;
    EXPECT_TRUE(IsSelected(Entry("example.com", 150, Category::Text), s));
    EXPECT_TRUE(IsSelected(Entry("EXAMPLE.com", 199, Category::Other), s));
    EXPECT_FALSE(IsSelected(Entry("example.com", 150, Category::Media), s));
    EXPECT_FALSE(IsSelected(Entry("example.com", 100, Category::Text), s));
    EXPECT_FALSE(IsSelected(Entry("example.com", 200, Category::Text), s));
    EXPECT_FALSE(IsSelected(Entry("example.co", 150, Category::Text), s));
    EXPECT_FALSE(IsSelected(Entry("www.example.com", 150, Category::Text), s));
}

}  // namespace
}  // namespace restash::test
