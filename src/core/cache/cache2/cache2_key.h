#pragma once
// The key of a cache2 entry: tags, each one character and a value ending in
// a comma (a comma inside a value is doubled), in the order of their
// characters, then ':' and the address. "a," marks an anonymous load, "p," a
// private one, "O^userContextId=1," origin attributes, "~1234," an id
// extension (the POST id of an HTTP entry, or another use such as
// "~predictor-origin,").
#include <string>
#include <string_view>

namespace restash::cache2 {

struct Cache2Key {
    bool valid = false;   // the tags parsed and ':' was found
    std::string address;  // the whole key when not valid
    bool anonymous = false;
    bool isPrivate = false;
    std::string originAttributes;  // the 'O' value, e.g. "^userContextId=1"
    std::string idExtension;       // the '~' value
};

Cache2Key SplitCache2Key(std::string_view key);

// The POST id of an id extension: the extension when it is a number, else empty.
std::string PostIdOf(std::string_view idExtension);

}  // namespace restash::cache2
