#pragma once
// The key of a disk cache entry: the client that stored it, a colon, and
// the client's own key. HTTP's ("HTTP:", "HTTP-memory-only:",
// "HTTP~4294967294~0:" with an app id) is the address, or for an anonymous
// or POST request "anon&id=5363a864&uri=http://...", each part optional.
// Other clients ("wyciwyg:wyciwyg://0/http://...", "FTP:ftp://...") keep
// their address after the colon.
#include <string>
#include <string_view>

namespace restash::mozilla {

struct KeyParts {
    std::string clientId;  // "HTTP"; empty when the key names no client
    std::string address;
    std::string postId;  // "5363a864"; empty unless the key has "id="
    bool anonymous = false;
};

KeyParts SplitDiskCacheKey(std::string_view key);

}  // namespace restash::mozilla
