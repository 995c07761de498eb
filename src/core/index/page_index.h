#pragma once
// The single-page form of the offline index, written after a run on a
// text-form cache: HTMINDEX.HTM (one page with a numbered table of the
// domains), RESULTS.RSH, and per chosen domain n.RSH and, when it has media,
// n.RSI.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/index/index_inputs.h"

namespace restash {

// Replaces HTMINDEX.HTM and every other index file, from the run's records,
// each written completely and then renamed over the old one. A stop request
// does not interrupt it; the caller owns that flag.
void WritePageIndex(const IndexInputs& in);

// Writes number.RSI for domain listing mediaPaths and returns how many it
// lists; writes nothing and returns 0 when empty.
std::uint64_t WriteImageIndex(const IndexInputs& in, std::size_t number, const std::string& domain,
                              const std::vector<std::string>& mediaPaths);

}  // namespace restash
