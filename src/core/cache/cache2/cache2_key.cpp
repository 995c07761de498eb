#include "core/cache/cache2/cache2_key.h"

namespace restash::cache2 {
namespace {

// Reads a tag's value from key at i up to its closing comma; i is left past it.
bool ReadValue(std::string_view key, std::size_t& i, std::string& value) {
    while (i < key.size()) {
        if (key[i] != ',') {
            value += key[i++];
            continue;
        }
        if (i + 1 < key.size() && key[i + 1] == ',') {  // ",," is a comma of the value
            value += ',';
            i += 2;
            continue;
        }
        ++i;
        return true;
    }
    return false;
}

}  // namespace

Cache2Key SplitCache2Key(std::string_view key) {
    Cache2Key parts;
    std::size_t i = 0;
    while (i < key.size()) {
        const char tag = key[i++];
        if (tag == ':') {
            parts.valid = true;
            parts.address = std::string(key.substr(i));
            return parts;
        }
        std::string value;
        if (!ReadValue(key, i, value)) break;
        switch (tag) {
            case 'a':
                parts.anonymous = true;
                break;
            case 'p':
                parts.isPrivate = true;
                break;
            case 'O':
                parts.originAttributes = value;
                break;
            case '~':
                parts.idExtension = value;
                break;
            default:
                break;  // 'b', 'i' and tags of later versions carry nothing needed here
        }
    }
    parts = Cache2Key{};
    parts.address = std::string(key);
    return parts;
}

std::string PostIdOf(std::string_view idExtension) {
    if (idExtension.empty()) return {};
    for (const char c : idExtension)
        if (c < '0' || c > '9') return {};
    return std::string(idExtension);
}

}  // namespace restash::cache2
