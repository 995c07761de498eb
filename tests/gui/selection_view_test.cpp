// The selection window's widget state, worked out from the selection state:
// what a window shows after each operation, without a window.
#include <QtTest>

#include "gui/selection_view.h"
#include "tests/support/memory_cache.h"
#include "tests/support/recorders.h"

using namespace restash;

namespace {

CacheEntry At(const std::string& domain, std::int32_t stamp, const char* mime = "text/html") {
    return test::MemoryEntry("http://" + domain + "/", mime, stamp, domain + std::to_string(stamp));
}

std::shared_ptr<test::MemoryCache> Cache(const CacheEntryList& entries, IndexFormat format) {
    auto cache = std::make_shared<test::MemoryCache>(entries, format);
    for (const CacheEntry& e : entries) cache->bodies[e.Body.Name] = "";
    return cache;
}

}  // namespace

class SelectionViewTest : public QObject {
    Q_OBJECT
private slots:
    void startsForTheFormOfTheCache();
    void buttonsFollowTheListsAndFocusTheListMovedFrom();
    void ageControlsOnlyWithALimit();
    void busyPanelHoldsTheLastCaption();
};

void SelectionViewTest::startsForTheFormOfTheCache() {
    for (const IndexFormat format : {IndexFormat::TextIndex, IndexFormat::HashIndex}) {
        test::RecordingProgress progress;
        CacheSelection state(progress);
        SelectionView view(state);
        state.Reset(NetscapeTraits(format), FixedClock(900000000), 0);
        // A text index starts without the other files, drawn grey.
        const bool hash = format == IndexFormat::HashIndex;
        QCOMPARE(view.Panel(Category::Other).grey, !hash);
        QVERIFY(!view.Panel(Category::Text).grey);
        QCOMPARE(view.Panel(Category::Media).text, std::string("0"));
        QVERIFY(!view.IncludeEnabled());
        QVERIFY(!view.ExcludeEnabled());
        QVERIFY(!view.AgeControlsEnabled());
        QCOMPARE(view.AgeNumberItems(), (std::vector<std::string>{"6", "12", "18"}));
        QCOMPARE(view.AgeModeIndex(), 0);
    }
    QCOMPARE(SelectionView::AgeUnitItems(), (std::vector<std::string>{"Hour(s)", "Day(s)", "Week(s)"}));
}

void SelectionViewTest::buttonsFollowTheListsAndFocusTheListMovedFrom() {
    test::RecordingProgress progress;
    CacheSelection state(progress);
    SelectionView view(state);
    state.Reset(NetscapeTraits(IndexFormat::TextIndex), FixedClock(900000000), 0);
    state.Load(Cache({At("a.com", 5), At("b.com", 6), At("b.com", 7, "image/gif")}, IndexFormat::TextIndex));
    QVERIFY(!view.IncludeEnabled());
    QVERIFY(view.ExcludeEnabled());
    QCOMPARE(view.Panel(Category::Text).text, std::string("2"));

    state.Mark(DomainList::Chosen, 1);
    state.UnchooseMarked();
    view.MovedFrom(DomainList::Chosen);
    QVERIFY(view.IncludeEnabled());
    QVERIFY(view.ExcludeEnabled());
    QCOMPARE(view.Focus(), DomainList::Chosen);
    QCOMPARE(view.Panel(Category::Media).text, std::string("0"));

    state.UnchooseAll();
    QVERIFY(!view.ExcludeEnabled());
    state.SetTypeIncluded(Category::Text, false);
    QVERIFY(view.Panel(Category::Text).grey);
    QCOMPARE(view.Panel(Category::Text).text, std::string("0"));
}

void SelectionViewTest::ageControlsOnlyWithALimit() {
    test::RecordingProgress progress;
    CacheSelection state(progress);
    SelectionView view(state);
    state.Reset(NetscapeTraits(IndexFormat::HashIndex), FixedClock(900000000), 0);
    state.SetAgeMode(AgeMode::OlderThan);
    QVERIFY(view.AgeControlsEnabled());
    state.SetAgeUnit(AgeUnit::Weeks);
    QCOMPARE(view.AgeUnitIndex(), 2);
    QCOMPARE(view.AgeNumberItems().size(), std::size_t{6});
    state.SetAgeMode(AgeMode::AllAges);
    QVERIFY(!view.AgeControlsEnabled());
}

void SelectionViewTest::busyPanelHoldsTheLastCaption() {
    test::RecordingProgress progress;
    CacheSelection state(progress);
    SelectionView view(state);
    QCOMPARE(view.BusyCaption(), std::string(kReadingCaption));
    QVERIFY(view.ControlsEnabled(false));
    view.SetBusy(true, "Deleting Selection From Fat...");
    QVERIFY(view.BusyShown());
    QVERIFY(!view.ControlsEnabled(false));
    view.SetBusy(false, kReadingCaption);
    QVERIFY(!view.BusyShown());
    QCOMPARE(view.BusyCaption(), std::string(kReadingCaption));
    QVERIFY(!view.ControlsEnabled(true));
}

QTEST_MAIN(SelectionViewTest)
#include "selection_view_test.moc"
