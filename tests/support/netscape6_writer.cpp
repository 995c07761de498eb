#include "tests/support/netscape6_writer.h"

#include "core/cache/byte_order.h"
#include "core/cache/netscape6/netscape6_record.h"
#include "tests/support/db185.h"
#include "tests/support/temp_dir.h"

namespace restash::test {
namespace {

void AppendLittle32(std::string& out, std::uint32_t v) { Append32(out, v, false); }

void AppendTag(std::string& out, const std::string& tag, const Netscape6Options& options) {
    if (options.lengthPrefixedTags) {
        AppendBig32(out, static_cast<std::uint32_t>(tag.size()));
        out += tag;
    } else {
        out += tag + '\0';
    }
}

std::string Record(std::int32_t id, const std::string& key, const std::string& metadata,
                   const std::string& url) {
    std::string r;
    AppendLittle32(r, static_cast<std::uint32_t>(id));
    AppendLittle32(r, static_cast<std::uint32_t>(key.size()));
    r += key;
    AppendLittle32(r, static_cast<std::uint32_t>(metadata.size()));
    r += metadata;
    AppendLittle32(r, static_cast<std::uint32_t>(url.size() + 1));
    r += url + '\0';
    std::string sized;
    AppendLittle32(sized, static_cast<std::uint32_t>(r.size() + 4));
    return sized + r;
}

}  // namespace

std::string Netscape6Metadata(const WebObject& object, const Netscape6Options& options) {
    std::string m(1, '\1');
    // The channel stored every header line without the status line, with a NUL after them.
    std::string headers = object.responseHead.substr(object.responseHead.find("\r\n") + 2);
    AppendTag(m, "HTTP headers", options);
    AppendBig32(m, static_cast<std::uint32_t>(headers.size() + 1));
    m += headers + '\0';
    AppendTag(m, "", options);
    m += std::string("\x00\x00", 2);  // flags
    if (options.wideAccessCount) m += '\0';
    m += static_cast<char>(object.fetchCount);
    for (const std::uint32_t w : {object.lastFetched, object.lastFetched - 60, 0u, object.lastFetched,
                                  object.lastModified, object.expires, 0x3f800000u})
        AppendBig32(m, w);
    return m;
}

std::string WriteNetscape6Cache(const std::string& folder, const std::vector<WebObject>& objects,
                                const Netscape6Options& options) {
    const std::string base = folder.back() == '/' ? folder : folder + "/";
    db185::OpenOptions open;
    open.pageSize = 16384;
    open.bigEndian = options.bigEndianPages;
    WriteBytes(base + "00/.keep", "");
    db185::HashFile db(base + "cache.db", open);
    db.Put("SK", std::string("\xff\x00", 2));
    std::int32_t id = 0x00ff0000;
    for (const WebObject& o : objects) {
        const std::string key = o.address + '\0';
        std::string idBytes;
        Append32(idBytes, static_cast<std::uint32_t>(id), options.bigEndianPages);
        const std::string name = netscape6::BodyFileName(id);
        db.Put(key, idBytes);
        db.Put(idBytes, Record(id, key, Netscape6Metadata(o, options), "file:///C|/NS6/Cache/" + name));
        if (!o.bodyMissing) WriteBytes(base + name, o.body);
        ++id;
    }
    std::string special;
    AppendLittle32(special, static_cast<std::uint32_t>(objects.size()));
    AppendLittle32(special, 0);
    db.Put("SE", special);
    db.Close();
    return base + "cache.db";
}

}  // namespace restash::test
