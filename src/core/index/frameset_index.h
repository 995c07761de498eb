#pragma once
// The frameset form of the offline index, written after a run on a hash-form
// cache: HTMINDEX.HTM (the frameset), RESTASH.RSH, BUTTONS.RSH, RESULTS.RSH,
// DOMAINS.RSH, and per chosen domain n.RSH and, when it has media, n.RSI.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/index/index_inputs.h"

namespace restash {

// Replaces HTMINDEX.HTM and every other index file, from the run's records.
// Each file is written completely and then renamed over the old one. A stop
// request does not interrupt it; the caller owns that flag.
void WriteFramesetIndex(const IndexInputs& in);

// Writes number.RSI listing mediaPaths (sorted, as CollectMedia gives them)
// and returns how many it lists; writes nothing and returns 0 when empty.
std::uint64_t WriteFrameImageIndex(const IndexInputs& in, std::size_t number,
                                   const std::vector<std::string>& mediaPaths);

}  // namespace restash
