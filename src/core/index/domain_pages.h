#pragma once
// What both index forms work from, and the loop that replaces each chosen
// domain's page n.RSH. The run's records are walked once to group the listed
// pages by domain and once to group the media, so the work grows with the
// records, not with the records times the domains.
#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/index/index_inputs.h"
#include "core/index/media_lists.h"
#include "core/index/title_charset.h"

namespace restash {

// The listed pages of each exact domain (letter case included), in list order.
using PagesByDomain = std::unordered_map<std::string, std::vector<const CopiedFile*>>;
PagesByDomain GroupPagesByDomain(const CopiedFiles& files);

struct IndexSources {
    PagesByDomain pages;  // points into the run's records
    MediaByDomain media;
};

IndexSources GroupIndexSources(const IndexInputs& in);

using DomainPageWriter = std::function<void(OutputFile& out, std::size_t number,
                                            const std::vector<const CopiedFile*>& pages,
                                            const std::vector<std::string>& media)>;

// Replaces n.RSH of every chosen domain n with what write puts in it.
void WriteDomainPages(const IndexInputs& in, const IndexSources& sources, const DomainPageWriter& write);

// The charset a domain page writes the titles of its pages in.
TitleCharset TitlesOf(const std::vector<const CopiedFile*>& pages);

}  // namespace restash
