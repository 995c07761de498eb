#include "core/selection/selection_model.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>


#include "core/platform/error.h"
#include "tests/core/selection/selection_fixture.h"

namespace restash::test {
namespace {

std::vector<std::string> Names(const NameList& list) { return list.Names(); }

std::vector<std::string> Panels(const SelectionModel& m) {
    return {m.NumTextPanel().text, m.NumMediaPanel().text, m.NumOtherPanel().text};
}

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

TEST(SelectionWindow, ShowingTheWindowResetsEveryControlForItsIndexForm) {
    FixedZone zone;
    RecordingMessages messages;
    RecordingProgress progress;
    SelectionModel m(messages, progress);

    m.FormShow(IndexFormat::TextIndex, FixedClock(900000000), 2);
    EXPECT_EQ(m.NowStamp(), 900000000 - 5 * 3600 - 2 * 3600);
    EXPECT_EQ(m.OldNewShown(), AgeMode::AllAges);
    EXPECT_TRUE(m.OldNewEnabled());
    EXPECT_EQ(m.AgeBoxItems(), (std::vector<std::string>{"6", "12", "18"}));
    EXPECT_EQ(m.AgeBoxIndex(), 0);
    EXPECT_EQ(m.HDWShown(), AgeUnit::Hours);
    EXPECT_FALSE(m.AgeControlsEnabled());
    EXPECT_TRUE(m.TextBox().checked);
    EXPECT_TRUE(m.MediaBox().checked);
    EXPECT_FALSE(m.OthersBox().checked);
    EXPECT_FALSE(m.NumTextPanel().grey);
    EXPECT_FALSE(m.NumMediaPanel().grey);
    EXPECT_TRUE(m.NumOtherPanel().grey);
    EXPECT_EQ(Panels(m), (std::vector<std::string>{"0", "0", "0"}));
    EXPECT_TRUE(m.DeleteButtonEnabled());
    EXPECT_FALSE(m.IncludeBtnEnabled());
    EXPECT_FALSE(m.ExAllBtnEnabled());
    EXPECT_EQ(m.AgeUpper(), kNoUpperLimit);

    // A hash index counts from 65,536 seconds earlier and starts with
    // "Other Files" checked.
    m.OldNewBoxChange(AgeMode::NewerThan);
    m.FormShow(IndexFormat::HashIndex, FixedClock(900000000), 2);
    EXPECT_EQ(m.NowStamp(), 900000000 - 5 * 3600 - 2 * 3600 - 65536);
    EXPECT_EQ(m.OldNewShown(), AgeMode::AllAges);
    EXPECT_TRUE(m.OthersBox().checked);
    EXPECT_FALSE(m.NumOtherPanel().grey);
}

TEST(SelectionWindow, AnEmptyCacheOrOneOutsideTheWindowListsNothingAndHasNothingToUncache) {
    for (const CacheEntryList& entries :
         {CacheEntryList{}, CacheEntryList{Entry("a.com", 0), Entry("b.com", -5), Entry("c.com", kNoUpperLimit),
                                           Entry("d.com", 2147483647)}}) {
        ModelFixture f(entries);
        EXPECT_TRUE(f.model.SrcList().empty());
        EXPECT_TRUE(f.model.DstList().empty());
        EXPECT_EQ(Panels(f.model), (std::vector<std::string>{"0", "0", "0"}));
        EXPECT_FALSE(f.model.IncludeBtnEnabled());
        EXPECT_FALSE(f.model.IncAllBtnEnabled());
        EXPECT_FALSE(f.model.ExcludeBtnEnabled());
        EXPECT_FALSE(f.model.ExAllBtnEnabled());
        EXPECT_FALSE(f.model.UncacheButtonClick([] { return false; }));
        ASSERT_EQ(f.messages.shown.size(), 1u);
        EXPECT_EQ(f.messages.shown[0].text, "No Files To Uncache.");
        EXPECT_EQ(f.messages.shown[0].kind, MessageKind::Warning);
        EXPECT_EQ(f.messages.shown[0].buttons, Buttons::OkHelp);
        EXPECT_EQ(f.messages.shown[0].helpContext, 11);
    }
}

TEST(SelectionWindow, TheAgeWindowIsStrictAtBothEndsInEveryMode) {
    for (AgeMode mode : {AgeMode::AllAges, AgeMode::NewerThan, AgeMode::OlderThan}) {
        ModelFixture f({});
        f.model.OldNewBoxChange(mode);
        const std::int32_t lo = f.model.AgeLower(), hi = f.model.AgeUpper();
        CacheEntryList entries = {Entry("lower.edge", lo),        Entry("upper.edge", hi),
                                  Entry("zero", 0),               Entry("negative", -1),
                                  Entry("limit", kNoUpperLimit),  Entry("beyond", kNoUpperLimit + 1),
                                  Entry("inside.low", lo + 1),    Entry("inside.high", hi - 1)};
        f.model.Entries() = entries;
        f.model.RebuildDomainLists();
        std::vector<std::string> expected = {"inside.high", "inside.low"};
        EXPECT_EQ(Names(f.model.DstList()), expected) << kAgeModeTexts[static_cast<int>(mode)];
    }
}

TEST(SelectionWindow, AgeChoicesMeasureFromNowStamp) {
    for (IndexFormat format : {IndexFormat::TextIndex, IndexFormat::HashIndex}) {
        ModelFixture f({}, format);
        const std::int32_t now = f.model.NowStamp();
        f.model.OldNewBoxChange(AgeMode::OlderThan);
        EXPECT_EQ(f.model.AgeLower(), 0);
        EXPECT_EQ(f.model.AgeUpper(), now - 21600);
        EXPECT_TRUE(f.model.AgeControlsEnabled());

        f.model.OldNewBoxChange(AgeMode::NewerThan);
        f.model.HDWBoxChange(AgeUnit::Weeks);
        f.model.AgeBoxChange(1);
        EXPECT_EQ(f.model.AgeBoxItems()[1], "2");
        EXPECT_EQ(f.model.AgeLower(), now - 1209600);
        EXPECT_EQ(f.model.AgeUpper(), kNoUpperLimit);

        f.model.OldNewBoxChange(AgeMode::AllAges);
        EXPECT_EQ(f.model.AgeLower(), 0);
        EXPECT_EQ(f.model.AgeUpper(), kNoUpperLimit);
        EXPECT_FALSE(f.model.AgeControlsEnabled());
    }
    // The same moment gives a hash index a NowStamp 65,536 seconds earlier.
    ModelFixture text({}, IndexFormat::TextIndex), hash({}, IndexFormat::HashIndex);
    EXPECT_EQ(text.model.NowStamp() - hash.model.NowStamp(), 65536);
}

TEST(SelectionWindow, ChoosingDaysRefillsTheAgeBoxAndRebuildsTheLists) {
    ModelFixture f({});
    const std::int32_t now = f.model.NowStamp();
    f.model.Entries() = {Entry("old.com", now - 90000), Entry("new.com", now - 80000)};
    f.model.OldNewBoxChange(AgeMode::NewerThan);
    EXPECT_TRUE(f.model.DstList().empty());  // both are older than 6 hours
    f.model.HDWBoxChange(AgeUnit::Days);
    EXPECT_EQ(f.model.AgeBoxItems(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(f.model.AgeBoxIndex(), 0);
    EXPECT_EQ(f.model.AgeLower(), now - 86400);
    EXPECT_EQ(Names(f.model.DstList()), (std::vector<std::string>{"new.com"}));
}

TEST(SelectionWindow, MovingDomainsKeepsBothListsSortedAndSelectsTheNextItem) {
    ModelFixture f({Entry("e.com", 5), Entry("B.com", 5), Entry("a.com", 5), Entry("D.com", 5), Entry("c.com", 5)});
    SelectionModel& m = f.model;
    EXPECT_EQ(Names(m.DstList()), (std::vector<std::string>{"a.com", "B.com", "c.com", "D.com", "e.com"}));
    m.ExcAllBtnClick();
    EXPECT_EQ(Names(m.SrcList()), (std::vector<std::string>{"a.com", "B.com", "c.com", "D.com", "e.com"}));
    EXPECT_TRUE(m.IncludeBtnEnabled());
    EXPECT_FALSE(m.ExcludeBtnEnabled());

    // The second and fourth of five: both move, and the item now second in
    // "Available Domains" is selected.
    m.SelectItem(ListId::Src, 1);
    m.SelectItem(ListId::Src, 3);
    EXPECT_EQ(m.GetFirstSelection(ListId::Src), 1);
    m.IncludeBtnClick();
    EXPECT_EQ(Names(m.DstList()), (std::vector<std::string>{"B.com", "D.com"}));
    EXPECT_EQ(Names(m.SrcList()), (std::vector<std::string>{"a.com", "c.com", "e.com"}));
    EXPECT_EQ(m.GetFirstSelection(ListId::Src), 1);
    EXPECT_FALSE(m.SrcList().IsSelected(0));
    EXPECT_FALSE(m.SrcList().IsSelected(2));
    EXPECT_EQ(m.Focus(), ListId::Src);
    EXPECT_EQ(Panels(m)[0], "2");
    EXPECT_TRUE(m.IncludeBtnEnabled());
    EXPECT_TRUE(m.ExcludeBtnEnabled());

    // Moving the last item back selects the item now last.
    m.ClearSelection(ListId::Src);
    m.SelectItem(ListId::Dst, 1);
    m.ExcludeBtnClick();
    EXPECT_EQ(Names(m.SrcList()), (std::vector<std::string>{"a.com", "c.com", "D.com", "e.com"}));
    EXPECT_EQ(Names(m.DstList()), (std::vector<std::string>{"B.com"}));
    EXPECT_TRUE(m.DstList().IsSelected(0));
    EXPECT_EQ(m.Focus(), ListId::Dst);

    // Nothing selected: nothing moves, the first item gets the selection.
    m.ClearSelection(ListId::Src);
    m.IncludeBtnClick();
    EXPECT_EQ(m.SrcList().size(), 4u);
    EXPECT_TRUE(m.SrcList().IsSelected(0));

    // ">>" then "<<" leaves everything available and nothing to uncache.
    m.IncAllBtnClick();
    EXPECT_TRUE(m.SrcList().empty());
    EXPECT_EQ(m.DstList().size(), 5u);
    m.ExcAllBtnClick();
    EXPECT_EQ(m.SrcList().size(), 5u);
    EXPECT_FALSE(m.ExcludeBtnEnabled());
    EXPECT_FALSE(m.ExAllBtnEnabled());
    EXPECT_EQ(Panels(m), (std::vector<std::string>{"0", "0", "0"}));
    EXPECT_FALSE(m.UncacheButtonClick([] { return false; }));
    EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{"No Files To Uncache."}));
}

TEST(SelectionWindow, NamesEqualButForCaseKeepTheOrderInWhichTheyCame) {
    ModelFixture f({Entry("x.org", 5), Entry("Site.com", 5), Entry("SITE.com", 5), Entry("site.com", 5)});
    SelectionModel& m = f.model;
    // Tally order among equals.
    EXPECT_EQ(Names(m.DstList()), (std::vector<std::string>{"Site.com", "SITE.com", "site.com", "x.org"}));
    // ">>" and "<<" add in list order; a move adds from the last selected
    // item to the first.
    m.ExcAllBtnClick();
    EXPECT_EQ(Names(m.SrcList()), (std::vector<std::string>{"Site.com", "SITE.com", "site.com", "x.org"}));
    m.SelectItem(ListId::Src, 0);
    m.SelectItem(ListId::Src, 2);
    m.IncludeBtnClick();
    EXPECT_EQ(Names(m.DstList()), (std::vector<std::string>{"site.com", "Site.com"}));
    m.SelectItem(ListId::Src, 0);
    m.IncludeBtnClick();
    EXPECT_EQ(Names(m.DstList()), (std::vector<std::string>{"site.com", "Site.com", "SITE.com"}));
}

TEST(SelectionWindow, CountsFollowTheChosenDomainsNotTheTypeBoxes) {
    CacheEntryList entries = {Entry("a.com", 5, Category::Text),  Entry("a.com", 6, Category::Media),
                              Entry("A.COM", 7, Category::Other), Entry("b.com", 8, Category::Text),
                              Entry("b.com", 9, Category::Text)};
    ModelFixture f(entries);
    SelectionModel& m = f.model;
    EXPECT_EQ(Panels(m), (std::vector<std::string>{"3", "1", "1"}));

    // Domains differing only in case: two tallies, both counted while either
    // name is chosen.
    ASSERT_EQ(m.Tallies().size(), 3u);
    m.ExcAllBtnClick();
    m.SelectItem(ListId::Src, 1);  // A.COM (sorted after a.com, which came first)
    ASSERT_EQ(m.SrcList().Name(1), "A.COM");
    m.IncludeBtnClick();
    EXPECT_EQ(Panels(m), (std::vector<std::string>{"1", "1", "1"}));

    // Type boxes change colours only; with all unchecked nothing is uncached.
    m.TextBoxClick(false);
    m.MediaBoxClick(false);
    EXPECT_TRUE(m.NumTextPanel().grey);
    EXPECT_TRUE(m.NumMediaPanel().grey);
    EXPECT_EQ(Panels(m), (std::vector<std::string>{"1", "1", "1"}));
    EXPECT_FALSE(m.UncacheButtonClick([] { return false; }));
    EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{"No Files To Uncache."}));
    m.OthersBoxClick(true);
    EXPECT_FALSE(m.NumOtherPanel().grey);
    EXPECT_TRUE(m.UncacheButtonClick([] { return false; }));
    EXPECT_EQ(f.messages.shown.size(), 1u);

    // Netscape running: its own message only, no run.
    bool asked = false;
    EXPECT_FALSE(m.UncacheButtonClick([&] { return asked = true; }));
    EXPECT_TRUE(asked);
    EXPECT_EQ(f.messages.shown.size(), 1u);
}

TEST(SelectionWindow, CountsDoNotWrapAt65536) {
    CacheEntryList entries(65536 + 3, Entry("big.com", 5, Category::Text));
    ModelFixture f(entries);
    EXPECT_EQ(f.model.NumTextPanel().text, "65539");
    EXPECT_EQ(f.model.CheckedTotal(), 65539u);
    EXPECT_TRUE(f.model.UncacheButtonClick([] { return false; }));
}

TEST(SelectionWindow, AFilterChangeChoosesEveryDomainOfTheNewWindowAgain) {
    ModelFixture f({Entry("a.com", 5), Entry("b.com", 5), Entry("c.com", 5)});
    SelectionModel& m = f.model;
    auto moveOneOut = [&] {
        m.SelectItem(ListId::Dst, 0);
        m.ExcludeBtnClick();
        ASSERT_EQ(m.SrcList().size(), 1u);
    };
    moveOneOut();
    m.OldNewBoxChange(AgeMode::OlderThan);
    EXPECT_TRUE(m.SrcList().empty());
    EXPECT_EQ(m.DstList().size(), 3u);
    moveOneOut();
    m.AgeBoxChange(2);
    EXPECT_EQ(m.AgeUpper(), m.NowStamp() - 18 * 3600);
    EXPECT_TRUE(m.SrcList().empty());
    moveOneOut();
    m.HDWBoxChange(AgeUnit::Weeks);
    EXPECT_TRUE(m.SrcList().empty());
    EXPECT_EQ(m.DstList().size(), 3u);
    EXPECT_EQ(Panels(m)[0], "3");
}

TEST(SelectionWindow, ALongDomainIsListedCountedAndSelectedAsItsFirst50Characters) {
    const std::string longName = std::string(60, 'w') + ".com";
    const std::string shown = longName.substr(0, 50);
    CacheEntry a = Entry(longName, 5), b = Entry(std::string(50, 'w') + ".net", 6);
    ModelFixture f({a, b});
    EXPECT_EQ(Names(f.model.DstList()), (std::vector<std::string>{shown}));
    EXPECT_EQ(f.model.NumTextPanel().text, "2");
    const Selection s = f.model.CurrentSelection();
    EXPECT_TRUE(IsSelected(a, s));
    EXPECT_TRUE(IsSelected(b, s));
}

TEST(SelectionWindow, AFailedReadShowsTheErrorAndLeavesTheListsEmpty) {
    RecordingMessages messages;
    RecordingProgress progress;
    SelectionModel m(messages, progress);
    m.FormShow(IndexFormat::TextIndex, FixedClock(900000000), 0);
    bool pending = true;
    int reads = 0;
    auto failing = [&](CacheEntryList& out) {
        ++reads;
        out.push_back(Entry("half.com", 5));
        throw FileError("/cache/FAT", "File not found");
    };
    EXPECT_TRUE(m.FormPaint(pending, failing));
    EXPECT_FALSE(pending);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"/cache/FAT: File not found"}));
    EXPECT_TRUE(m.DstList().empty());
    EXPECT_EQ(m.NumTextPanel().text, "0");
    // Later paints do nothing.
    EXPECT_FALSE(m.FormPaint(pending, failing));
    EXPECT_EQ(reads, 1);
}

TEST(SelectionWindow, IsSelectedNeedsTheWindowTheDomainAndTheType) {
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
