#include "core/index/domain_pages.h"

#include "core/offline/offline_names.h"

namespace restash {

PagesByDomain GroupPagesByDomain(const CopiedFiles& files) {
    PagesByDomain groups;
    for (const CopiedFile& file : files.records())
        if (file.listed) groups[file.domain].push_back(&file);
    return groups;
}

IndexSources GroupIndexSources(const IndexInputs& in) { return {GroupPagesByDomain(in.files), CollectMedia(in.files)}; }

void WriteDomainPages(const IndexInputs& in, const IndexSources& sources, const DomainPageWriter& write) {
    static const std::vector<const CopiedFile*> kNoPages;
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

TitleCharset TitlesOf(const std::vector<const CopiedFile*>& pages) {
    std::vector<std::string_view> titles;
    titles.reserve(pages.size());
    for (const CopiedFile* page : pages) titles.push_back(page->title);
    return TitleCharset(titles);
}

}  // namespace restash
