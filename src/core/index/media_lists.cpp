#include "core/index/media_lists.h"

#include <algorithm>
#include <array>

#include "core/platform/text.h"
#include "core/uncache/url.h"

namespace restash {

bool IsMediaPath(std::string_view path) {
    static constexpr std::array<std::string_view, 12> kMedia = {".GIF", ".JPG", ".AVI", ".MPG", ".MOV", ".WAV",
                                                                ".AIF", ".AU",  ".BMP", ".TIF", ".WRL", ".XBM"};
    const auto dot = path.find_last_of('.');
    if (dot == std::string_view::npos) return false;
    const auto sep = path.find_last_of("/\\:");
    if (sep != std::string_view::npos && sep > dot) return false;
    const std::string_view ext = path.substr(dot);
    return std::find(kMedia.begin(), kMedia.end(), ext) != kMedia.end();
}

MediaByDomain CollectMedia(const LocalFiles& files) {
    MediaByDomain media;
    for (const LocalFile& file : files.records())
        if (IsMediaPath(file.path)) media[DomainOf(file.url)].push_back(file.path);
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
