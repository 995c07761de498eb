// Exports every entry of a cache to a web archive, for benchmarks and for
// looking at an export by hand (the command line's export command chooses by
// domain, age and type; this takes everything):
//
//   export_cache --cache DIR/FAT.DB [--warc OUT.warc.gz] [--wacz OUT.wacz]
//                [--cdxj OUT.cdxj] [--manifest OUT.csv|OUT.json] [--created SECONDS]
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "core/cache/netscape_source.h"
#include "core/export/export_archive.h"
#include "core/platform/paths.h"

#include "tools/tool_help.h"

int main(int argc, char** argv) {
    if (restash::tools::AnswersHelp(argc, argv,
                                    "Usage: export_cache --cache DIR/FAT.DB [--warc OUT.warc.gz] [--wacz OUT.wacz]\n"
                                    "                    [--cdxj OUT.cdxj] [--manifest OUT.csv|OUT.json] "
                                    "[--created SECONDS]\n"
                                    "Exports every entry of a cache to a web archive.\n"))
        return 0;
    using namespace restash;
    try {
        std::string cache;
        ExportOptions options;
        for (int i = 1; i + 1 < argc; i += 2) {
            const std::string arg = argv[i], value = argv[i + 1];
            if (arg == "--cache") cache = value;
            else if (arg == "--warc") options.warcPath = value;
            else if (arg == "--wacz") options.waczPath = value;
            else if (arg == "--cdxj") options.cdxjPath = value;
            else if (arg == "--manifest") options.manifestPath = value;
            else if (arg == "--created") options.createdAt = std::stoll(value);
            else throw std::invalid_argument("unknown option " + arg);
        }
        if (cache.empty() || (options.warcPath.empty() && !options.waczPath))
            throw std::invalid_argument("--cache and --warc or --wacz are required");
        options.sourceCacheName = cache;

        NullProgress quiet;
        CacheEntryList entries;
        const auto source = OpenCacheSource(cache);
        source->Read(entries, quiet);
        Selection everything;
        for (const CacheEntry& e : entries) everything.Domains.Add(e.Domain);
        everything.IncludeOther = true;
        const ExportReport s = ExportArchive(entries, everything, *source, options, quiet, RealFileSystem());
        std::printf("%llu selected, %llu archived (%llu bytes), %llu missing, %zu failed\n",
                    static_cast<unsigned long long>(s.selected), static_cast<unsigned long long>(s.archived),
                    static_cast<unsigned long long>(s.bytes), static_cast<unsigned long long>(s.missing),
                    s.failures.size());
        for (const ExportFailure& f : s.failures) std::fprintf(stderr, "export_cache: %s\n", f.what.c_str());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "export_cache: %s\n", e.what());
        return 1;
    }
}
