// Drives the core directly for the benchmark script: times what has no
// command of its own (the selection window's operations) and breaks a whole
// command down into its steps when a ratio needs explaining.
//
//   bench_core read INDEX [RUNS]            folder listing and index read, ms each
//   bench_core selection INDEX [RUNS]       a filter change and a move of half the domains, ms each
//   bench_core copied INDEX                 the cache files a run over every entry copies, one a line
//   bench_core uncache INDEX PARENT         a run over every entry into PARENT + "OFFLINE/"
//   bench_core search PARENT TEXT           a search of the pages of that run
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <locale>
#include <string>
#include <utility>
#include <vector>

#include "core/app/settings.h"
#include "core/cache/cache_folder.h"
#include "core/cache/netscape_source.h"
#include "core/platform/clock.h"
#include "core/platform/file_system.h"
#include "core/platform/messages.h"
#include "core/platform/paths.h"
#include "core/platform/progress.h"
#include "core/search/offline_search.h"
#include "core/selection/domain_tally.h"
#include "core/selection/cache_selection.h"
#include "core/uncache/uncache_run.h"

namespace restash::bench {
namespace {

// Answers every question with No, so a run never asks to open a browser.
class QuietMessages final : public Messages {
public:
    Answer Show(MessageKind kind, std::string_view text, Buttons buttons, int) override {
        if (kind == MessageKind::Error || kind == MessageKind::Warning)
            std::fprintf(stderr, "%s: %.*s\n", CaptionOf(kind), static_cast<int>(text.size()), text.data());
        return buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel ? Answer::No : Answer::Ok;
    }
};

double MedianMs(int runs, const std::function<void()>& work) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        work();
        times.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

CacheEntryList ReadAll(const std::string& index, IndexFormat& format) {
    const auto source = OpenCacheSource(index);
    format = source->Traits().format;
    CacheEntryList entries;
    NullProgress progress;
    source->Read(entries, progress);
    return entries;
}

int Read(const std::string& index, int runs) {
    NullProgress progress;
    const auto source = OpenCacheSource(index);
    std::size_t count = 0;
    const double listing = MedianMs(runs, [&] { CacheFolder folder(DirPart(index)); });
    const double read = MedianMs(runs, [&] {
        CacheEntryList entries;
        source->Read(entries, progress);
        count = entries.size();
    });
    std::printf("entries %zu\nfolder_ms %.1f\nread_ms %.1f\n", count, listing, read);
    return 0;
}

int SelectionTimes(const std::string& index, int runs) {
    NullProgress progress;
    CacheSelection model(progress);
    const std::shared_ptr<const CacheSource> source = OpenCacheSource(index);
    IndexFormat format;
    const CacheEntryList all = ReadAll(index, format);
    // "Now" just after the newest entry, so the age filters split the cache.
    std::int32_t newest = 0;
    for (const CacheEntry& e : all) newest = std::max(newest, e.Stamp);
    const FixedClock clock(static_cast<std::int64_t>(newest) + (format == IndexFormat::HashIndex ? 65'536 : 0));
    model.Reset(source->Traits(), clock, 0);
    model.Load(source);

    // A filter change rebuilds both lists and the counts; the modes alternate
    // so that each change does real work.
    int flip = 0;
    const double rebuild = MedianMs(runs, [&] {
        model.SetAgeMode(++flip % 2 ? AgeMode::OlderThan : AgeMode::AllAges);
    });
    model.SetAgeMode(AgeMode::AllAges);
    const std::size_t domains = model.Chosen().size();

    // Every other domain of the chosen list moves back to the available list.
    const double move = MedianMs(runs, [&] {
        model.ChooseAll();
        for (std::size_t i = 0; i < model.Chosen().size(); i += 2) model.Mark(DomainList::Chosen, i);
        model.UnchooseMarked();
    });
    const double incAll = MedianMs(runs, [&] { model.ChooseAll(); });
    std::printf("entries %zu\ndomains %zu\nrebuild_ms %.2f\nmove_ms %.2f\nmove_ms_less_include_all %.2f\n",
                model.Entries().size(), domains, rebuild, move, std::max(0.0, move - incAll));
    return 0;
}

Selection Everything(const CacheEntryList& entries) {
    Selection s;
    for (const DomainTally& t : TallyDomains(entries, 0, kNoUpperLimit)) s.Domains.Add(t.Domain);
    s.IncludeText = s.IncludeMedia = s.IncludeOther = true;
    return s;
}

int Copied(const std::string& index) {
    IndexFormat format;
    const CacheEntryList entries = ReadAll(index, format);
    const auto bodies = OpenCacheSource(index)->Bodies();
    // Every entry of every domain and type is in the run, so every cache
    // file that is there is copied.
    for (const CacheEntry& e : entries)
        if (const auto body = bodies->Find(e)) std::printf("%s\n", body->Label().c_str());
    return 0;
}

int Uncache(const std::string& index, const std::string& parent) {
    IndexFormat format;
    const CacheEntryList entries = ReadAll(index, format);
    const auto source = OpenCacheSource(index);
    Settings settings;
    settings.ProgramDir = WithTrailingSeparator(parent);
    settings.CacheDir = DirPart(index);
    settings.FatName = FilePart(index);
    settings.OfflineDir = WithTrailingSeparator(parent) + kOfflineFolder;
    QuietMessages messages;
    NullProgress progress;
    const FixedClock clock(900'000'000);
    RunServices services{RealFileSystem(), progress, messages, clock, std::locale::classic()};
    const RunOutcome outcome = RunUncache(settings, *source, entries, Everything(entries), services);
    std::printf("files_copied %llu\npages_converted %llu\n", static_cast<unsigned long long>(outcome.filesCopied),
                static_cast<unsigned long long>(outcome.pagesConverted));
    return 0;
}

int Search(const std::string& parent, const std::string& text) {
    QuietMessages messages;
    NullProgress progress;
    const SearchResult result = SearchOfflinePages(WithTrailingSeparator(parent) + kOfflineFolder, text,
                                                   SearchServices{RealFileSystem(), progress, messages});
    std::printf("pages_read %llu\npages_found %llu\n", static_cast<unsigned long long>(result.pagesRead),
                static_cast<unsigned long long>(result.pagesFound));
    return 0;
}

int Usage() {
    std::fprintf(stderr,
                 "usage: bench_core read INDEX [RUNS] | selection INDEX [RUNS] | copied INDEX |\n"
                 "       uncache INDEX PARENT | search PARENT TEXT\n");
    return 2;
}

}  // namespace
}  // namespace restash::bench

int main(int argc, char** argv) {
    using namespace restash::bench;
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    const int runs = argc > 3 ? std::atoi(argv[3]) : 5;
    try {
        if (command == "read") return Read(argv[2], std::max(1, runs));
        if (command == "selection") return SelectionTimes(argv[2], std::max(1, runs));
        if (command == "copied") return Copied(argv[2]);
        if (command == "uncache" && argc == 4) return Uncache(argv[2], argv[3]);
        if (command == "search" && argc == 4) return Search(argv[2], argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_core: %s\n", e.what());
        return 1;
    }
    return Usage();
}
