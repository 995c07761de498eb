#include "core/cache/mozilla/cache_key.h"

namespace restash::mozilla {
namespace {

// True when the text before the first colon is a client id: no "/" in it
// and not the scheme of an address that follows ("http://...").
bool HasClientId(std::string_view key, std::size_t colon) {
    if (colon == std::string_view::npos || colon == 0) return false;
    if (key.substr(0, colon).find('/') != std::string_view::npos) return false;
    return key.substr(colon + 1, 2) != "//";
}

}  // namespace

KeyParts SplitDiskCacheKey(std::string_view key) {
    KeyParts parts;
    const std::size_t colon = key.find(':');
    if (HasClientId(key, colon)) {
        parts.clientId = std::string(key.substr(0, colon));
        key.remove_prefix(colon + 1);
    }
    if (key.substr(0, 5) == "anon&") {
        parts.anonymous = true;
        key.remove_prefix(5);
    }
    if (key.substr(0, 3) == "id=") {
        const std::size_t amp = key.find('&');
        if (amp != std::string_view::npos) {
            parts.postId = std::string(key.substr(3, amp - 3));
            key.remove_prefix(amp + 1);
        }
    }
    if (key.substr(0, 4) == "uri=") key.remove_prefix(4);
    parts.address = std::string(key);
    return parts;
}

}  // namespace restash::mozilla
