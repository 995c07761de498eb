#include "core/cache/cache_entry.h"

namespace restash {

const char* CategoryName(Category c) {
    switch (c) {
        case Category::Text: return "text";
        case Category::Media: return "media";
        case Category::Other: return "other";
    }
    return "other";
}

Category ClassifyMimeType(std::string_view prefix) {
    prefix = prefix.substr(0, 5);
    if (prefix == "TEXT/") return Category::Text;
    if (prefix == "VIDEO" || prefix == "IMAGE" || prefix == "AUDIO") return Category::Media;
    return Category::Other;
}

}  // namespace restash
