// The domain tallies and the chosen-domain set answer from hash tables; these
// tests hold them to the walks they stand for on domains that collide: the
// same name in another case, exact repeats, and long names that share their
// first 50 characters.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "core/platform/text.h"
#include "core/selection/domain_tally.h"
#include "core/selection/selection.h"
#include "tests/core/selection/selection_fixture.h"

namespace restash::test {
namespace {

const std::string kLong(48, 'x');

// A domain from a small set, in a random letter case now and then; the long
// ones differ only after their 50th character.
std::string RandomDomain(std::mt19937& rng) {
    static const std::vector<std::string> names = {
        "a.example", "b.example", "www.c.example", kLong + ".example", kLong + ".elsewhere", "host.example.com"};
    std::string d = names[rng() % names.size()];
    if (rng() % 3 == 0)
        for (char& c : d)
            if (rng() % 2 && c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return d;
}

// The definition: walk the list for the tally of exactly this name (its first
// 50 characters), add one at the end when there is none.
DomainTallyList WalkTallies(const CacheEntryList& entries, std::int32_t lower, std::int32_t upper) {
    DomainTallyList tallies;
    for (const CacheEntry& e : entries) {
        if (!InAgeWindow(e.Stamp, lower, upper)) continue;
        const std::string name = e.Domain.substr(0, kDomainCapacity);
        DomainTally* found = nullptr;
        for (DomainTally& t : tallies)
            if (t.Domain == name) {
                found = &t;
                break;
            }
        if (!found) found = &tallies.emplace_back(DomainTally{name, 0, 0, 0});
        if (e.category == Category::Text) ++found->TextCount;
        if (e.category == Category::Media) ++found->MediaCount;
        if (e.category == Category::Other) ++found->OtherCount;
    }
    return tallies;
}

bool SameTallies(const DomainTallyList& a, const DomainTallyList& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].Domain != b[i].Domain || a[i].TextCount != b[i].TextCount || a[i].MediaCount != b[i].MediaCount ||
            a[i].OtherCount != b[i].OtherCount)
            return false;
    return true;
}

TEST(DomainLookups, TalliesAgreeWithTheWalkInOrderAndCounts) {
    std::mt19937 rng(3);
    CacheEntryList entries;
    for (int i = 0; i < 2000; ++i)
        entries.push_back(Entry(RandomDomain(rng), static_cast<std::int32_t>(1 + rng() % 999),
                                static_cast<Category>(rng() % 3)));
    for (auto [lower, upper] : {std::pair{0, kNoUpperLimit}, std::pair{250, 750}, std::pair{999, 1000}}) {
        const DomainTallyList fast = TallyDomains(entries, lower, upper);
        EXPECT_TRUE(SameTallies(fast, WalkTallies(entries, lower, upper))) << lower << ".." << upper;
        // Case variants are separate tallies; the long names share one.
        for (std::size_t i = 0; i < fast.size(); ++i)
            for (std::size_t j = i + 1; j < fast.size(); ++j) EXPECT_NE(fast[i].Domain, fast[j].Domain);
    }
    const DomainTallyList all = TallyDomains(entries, 0, kNoUpperLimit);
    std::uint64_t total = 0;
    for (const DomainTally& t : all) total += t.TextCount + t.MediaCount + t.OtherCount;
    EXPECT_EQ(total, entries.size());
}

TEST(DomainLookups, TheChosenSetMatchesAsTheWalkDoes) {
    std::mt19937 rng(5);
    DomainSet set;
    std::vector<std::string> added;
    for (int i = 0; i < 3; ++i) {
        const std::string d = RandomDomain(rng);
        set.Add(d);
        added.push_back(d);
    }
    set.Add(added.front());  // a repeat is listed again
    added.push_back(added.front());
    EXPECT_EQ(set.Names(), added);
    EXPECT_EQ(set.size(), added.size());

    // The definition: some chosen name equals the domain, both taken as their
    // first 50 characters, without regard to case.
    auto walk = [&](const std::string& domain) {
        for (const std::string& n : added)
            if (EqualsNoCase(Cut(n, kDomainCapacity), Cut(domain, kDomainCapacity))) return true;
        return false;
    };
    for (int i = 0; i < 500; ++i) {
        const std::string probe = RandomDomain(rng);
        ASSERT_EQ(set.Contains(probe), walk(probe)) << probe;
    }
    EXPECT_FALSE(set.Contains(""));
    set.Clear();
    EXPECT_FALSE(set.Contains(added.front()));
    EXPECT_TRUE(set.empty());
}

}  // namespace
}  // namespace restash::test
