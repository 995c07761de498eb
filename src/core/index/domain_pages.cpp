#include "core/index/domain_pages.h"

#include "core/offline/offline_names.h"
#include "core/web/url.h"

namespace restash {

std::vector<PageEntry> ReadPageEntries(const std::string& path) {
    PageListReader reader(path);
    std::vector<PageEntry> entries;
    PageRecord record;
    while (reader.Next(record)) {
        std::string domain = DomainOf(record.url);
        entries.push_back({std::move(record.url), std::move(domain), std::move(record.title),
                           std::move(record.localName)});
        record = {};
    }
    return entries;
}

PagesByDomain GroupByDomain(const std::vector<PageEntry>& entries) {
    PagesByDomain groups;
    for (const PageEntry& entry : entries) groups[entry.domain].push_back(&entry);
    return groups;
}

IndexSources LoadIndexSources(const IndexInputs& in) {
    IndexSources sources;
    sources.entries = ReadPageEntries(in.offlineDir + kIndexPage);
    sources.pages = GroupByDomain(sources.entries);
    sources.media = CollectMedia(in.localFiles);
    return sources;
}

void WriteDomainPages(const IndexInputs& in, const IndexSources& sources, const DomainPageWriter& write) {
    static const std::vector<const PageEntry*> kNoPages;
    static const std::vector<std::string> kNoMedia;
    for (std::size_t n = 0; n < in.domains.size(); ++n) {
        const auto p = sources.pages.find(in.domains[n]);
        const auto m = sources.media.find(in.domains[n]);
        ReplaceFile(in.fs, in.offlineDir + DomainPage(n), [&](OutputFile& out) {
            write(out, n, p == sources.pages.end() ? kNoPages : p->second,
                  m == sources.media.end() ? kNoMedia : m->second);
        });
    }
}

}  // namespace restash
