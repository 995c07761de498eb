#pragma once
// The media files of each domain, for its image index page: the paths of the
// copied files whose extension is one of the media extensions, sorted with
// ASCII letters compared without regard to case, no two equal.
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/offline/copied_files.h"
#include "core/web/file_kind.h"

namespace restash {

using MediaByDomain = std::unordered_map<std::string, std::vector<std::string>>;

// One pass over the copied files, grouped by the exact domain of each.
MediaByDomain CollectMedia(const CopiedFiles& files);

}  // namespace restash
