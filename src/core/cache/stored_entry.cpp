#include "core/cache/stored_entry.h"

#include "core/cache/http_head.h"
#include "core/cache/mime_type.h"
#include "core/platform/text.h"
#include "core/web/url.h"

namespace restash {
namespace {

constexpr std::size_t kDomainCapacity = 50;

std::optional<std::int32_t> Known(std::uint32_t seconds) {
    if (seconds == 0 || seconds == 0xFFFFFFFFu) return std::nullopt;
    return static_cast<std::int32_t>(seconds);
}

}  // namespace

std::optional<std::string> StoredEntry::Element(std::string_view name) const {
    for (const auto& [key, value] : elements)
        if (key == name) return value;
    return std::nullopt;
}

std::vector<std::pair<std::string, std::string>> SplitElements(std::string_view block) {
    std::vector<std::pair<std::string, std::string>> elements;
    while (!block.empty()) {
        const std::size_t keyEnd = block.find('\0');
        if (keyEnd == std::string_view::npos) break;
        std::string_view rest = block.substr(keyEnd + 1);
        if (rest.empty()) break;
        const std::size_t valueEnd = rest.find('\0');
        if (keyEnd > 0 || valueEnd != 0)
            elements.emplace_back(std::string(block.substr(0, keyEnd)),
                                  std::string(rest.substr(0, valueEnd)));
        if (valueEnd == std::string_view::npos) break;
        block = rest.substr(valueEnd + 1);
    }
    return elements;
}

void TakeElements(StoredEntry& entry, std::string_view block) {
    entry.elements = SplitElements(block);
    entry.responseHead = entry.Element("response-head").value_or("");
    entry.charsetElement = entry.Element("charset").value_or("");
    if (entry.method.empty()) entry.method = entry.Element("request-method").value_or("");
}

void TakeMetadata(StoredEntry& entry, const FetchFacts& facts, std::string_view elements) {
    entry.fetchCount = facts.fetchCount;
    entry.lastFetched = facts.lastFetched;
    entry.lastModified = facts.lastModified;
    entry.expires = facts.expires;
    TakeElements(entry, elements);
    if (entry.method.empty() && !entry.postId.empty()) entry.method = "POST";
}

CacheEntry ToCacheEntry(const StoredEntry& entry) {
    const HttpHead head = ParseHttpHead(entry.responseHead);
    CacheEntry facts;
    facts.Stamp = static_cast<std::int32_t>(entry.lastFetched);
    facts.Body.Name = entry.body.relativePath;
    facts.Url = entry.address;
    facts.MimeType = EntryMimeType(head.MimeType(), entry.address);
    facts.Domain = EntryDomain(entry.address);
    facts.category = ClassifyMimeType(facts.MimeType);
    facts.LastModified = Known(entry.lastModified);
    facts.Expires = Known(entry.expires);
    facts.ContentLength = static_cast<std::int32_t>(entry.dataSize);
    facts.ContentEncoding = head.ContentEncoding();
    facts.Charset = head.Charset().empty() ? entry.charsetElement : head.Charset();
    return facts;
}

}  // namespace restash
