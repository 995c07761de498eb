#include "core/index/media_lists.h"

#include <algorithm>

#include "core/platform/text.h"

namespace restash {

MediaByDomain CollectMedia(const CopiedFiles& files) {
    MediaByDomain media;
    for (const CopiedFile& file : files.records())
        if (IsMediaPath(file.path)) media[file.domain].push_back(file.path);
    // A sorted list that refuses a name equal to one it holds keeps the
    // first one added: a stable sort, then the first of each equal run.
    for (auto& [domain, paths] : media) {
        std::stable_sort(paths.begin(), paths.end(),
                         [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) < 0; });
        paths.erase(std::unique(paths.begin(), paths.end(),
                                [](const std::string& a, const std::string& b) { return CompareNoCase(a, b) == 0; }),
                    paths.end());
    }
    return media;
}

}  // namespace restash
