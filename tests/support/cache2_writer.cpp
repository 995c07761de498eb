#include "tests/support/cache2_writer.h"

#include <cstdio>

#include "core/cache/byte_order.h"
#include "core/cache/mozilla/hash_numbers.h"
#include "core/export/sha1.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

constexpr std::size_t kChunk = 256 * 1024;

std::string Element(std::string_view key, std::string_view value) {
    return std::string(key) + '\0' + std::string(value) + '\0';
}

std::string Sha1Hex(std::string_view bytes) {
    Sha1 sha;
    sha.Update(bytes);
    std::string hex;
    char two[3];
    for (const std::uint8_t b : sha.Final()) {
        std::snprintf(two, sizeof two, "%02X", b);
        hex += two;
    }
    return hex;
}

}  // namespace

std::string Cache2KeyOf(const WebObject& object, const Cache2Options& options) {
    std::string key;
    if (!options.originAttributes.empty()) key += "O" + options.originAttributes + ",";
    if (object.anonymous) key += "a,";
    if (object.postId) key += "~" + std::to_string(object.postId) + ",";
    return key + ":" + object.address;
}

std::string Cache2EntryBytes(const WebObject& object, const Cache2Options& options) {
    std::string data = object.body + options.altData;
    std::string elements =
        Element("request-method", object.method) + Element("response-head", object.responseHead);
    if (!object.charsetElement.empty()) elements += Element("charset", object.charsetElement);
    if (!options.altData.empty())
        elements +=
            Element("alt-data", "1;" + std::to_string(object.body.size()) + ",javascript/moz-bytecode");
    std::string hashed;  // chunk hashes, header, key, elements
    for (std::size_t at = 0; at < data.size(); at += kChunk) {
        const std::uint32_t h = mozilla::Lookup2Hash(std::string_view(data).substr(at, kChunk)) & 0xFFFF;
        hashed += static_cast<char>(h >> 8);
        hashed += static_cast<char>(h);
    }
    const std::string key = Cache2KeyOf(object, options);
    for (const std::uint32_t w : {options.version, object.fetchCount, object.lastFetched, object.lastModified,
                                  12345u, object.expires, static_cast<std::uint32_t>(key.size())})
        AppendBig32(hashed, w);
    if (options.version >= 2) AppendBig32(hashed, 0);  // flags
    hashed += key + '\0' + elements;
    std::string file = data;
    AppendBig32(file, mozilla::Lookup2Hash(hashed));
    file += hashed;
    AppendBig32(file, static_cast<std::uint32_t>(data.size()));
    return file;
}

std::vector<std::string> WriteCache2(const std::string& folder, const std::vector<WebObject>& objects,
                                     const Cache2Options& options) {
    const std::string base = folder.back() == '/' ? folder : folder + "/";
    std::vector<std::string> names;
    WriteBytes(base + "index", std::string(12, '\0'));
    for (const WebObject& o : objects) {
        if (o.bodyMissing) continue;
        const std::string name = Sha1Hex(Cache2KeyOf(o, options));
        WriteBytes(base + "entries/" + name, Cache2EntryBytes(o, options));
        names.push_back(name);
    }
    return names;
}

}  // namespace restash::test
