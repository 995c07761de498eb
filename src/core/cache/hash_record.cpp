#include "core/cache/hash_record.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "core/cache/hash_bytes.h"
#include "core/platform/text.h"
#include "core/web/url.h"

namespace restash {
namespace {

constexpr std::uint32_t kMaxFileNameLength = 50;
constexpr std::uint32_t kMaxUrlLength = 512;
constexpr std::uint32_t kMaxMimeLength = 100;
constexpr std::size_t kMimeCapacity = 50;

// Record positions shared by every version.
constexpr std::size_t kLastModifiedAt = 8;
constexpr std::size_t kLastAccessedAt = 12;
constexpr std::size_t kExpiresAt = 16;
constexpr std::size_t kContentLengthAt = 20;
constexpr std::size_t kFileNameAt = 29;

// A counted text: its length includes a terminating zero, which is not taken.
std::string CountedText(std::string_view bytes, std::size_t at, std::uint32_t length) {
    if (length <= 1 || at >= bytes.size()) return {};
    return std::string(bytes.substr(at, length - 1));
}

std::int32_t ReadI32(std::string_view bytes, std::size_t at) {
    return static_cast<std::int32_t>(ReadU32(bytes, at));
}

// Steps through a record field by field; every step fails once the record
// has run out, and later fields then stay empty.
class FieldCursor {
public:
    FieldCursor(std::string_view data, std::size_t at) : data_(data), at_(std::min(at, data.size())) {}

    bool Skip(std::size_t n) {
        if (!ok_ || data_.size() - at_ < n) return ok_ = false;
        at_ += n;
        return true;
    }
    std::optional<std::uint32_t> Number() {
        const std::size_t start = at_;
        if (!Skip(4)) return std::nullopt;
        return ReadU32(data_, start);
    }
    std::optional<std::uint8_t> Byte() {
        if (!ok_ || at_ >= data_.size()) {
            ok_ = false;
            return std::nullopt;
        }
        return static_cast<std::uint8_t>(data_[at_++]);
    }
    // A length and that many bytes; the text without its terminating zero,
    // or empty when the length is not below limit.
    std::optional<std::string> Text(std::uint32_t limit = UINT32_MAX) {
        const auto length = Number();
        if (!length) return std::nullopt;
        const std::size_t start = at_;
        if (!Skip(*length)) return std::nullopt;
        if (*length >= limit) return std::string();
        return CountedText(data_, start, *length);
    }
    // A length and that many bytes, stepped over.
    bool Block() {
        const auto length = Number();
        return length && Skip(*length);
    }

private:
    std::string_view data_;
    std::size_t at_;
    bool ok_ = true;
};

// The fields after the file name, in the layouts whose every field is known.
void DecodeTail(int version, FieldCursor& c, IndexRecord& r) {
    if (!c.Skip(4 + 1 + 4)) return;  // file-name length, relative-path flag, security flag
    if (version == 3) {
        if (!c.Skip(4 + 4) || !c.Block() || !c.Block()) return;  // key sizes, cipher, certificate
    } else if (!c.Block()) {
        return;  // security information
    }
    if (!c.Skip(4) || !c.Block()) return;  // method, post headers
    auto mime = c.Text(kMaxMimeLength);
    if (!mime) return;
    r.MimeType = std::move(*mime);
    auto encoding = c.Text();
    auto charset = c.Text();
    auto incomplete = c.Byte();
    if (encoding) r.ContentEncoding = std::move(*encoding);
    if (charset) r.Charset = std::move(*charset);
    if (incomplete) r.IncompleteFile = *incomplete != 0;
}

}  // namespace

bool IsBookkeepingKey(std::string_view key) { return key.substr(0, 4) == "INT_"; }

IndexRecord DecodeCacheRecord(std::string_view key, std::string_view data) {
    IndexRecord r;
    // Key: size, address length, address, post-data size and digest.
    const std::uint32_t urlLength = ReadU32(key, 4);
    if (urlLength < kMaxUrlLength) r.Url = CountedText(key, 8, urlLength);

    r.Stamp = ReadI32(data, kLastAccessedAt);
    const std::uint32_t version = ReadU32(data, 4);
    if (data.size() >= 8) r.RecordVersion = version;
    if (version == 3 || version == 5) {
        FieldCursor c(data, kFileNameAt);
        auto name = c.Text(kMaxFileNameLength);
        if (!name) return r;
        r.Body.Name = std::move(*name);
        r.LastModified = ReadI32(data, kLastModifiedAt);
        r.Expires = ReadI32(data, kExpiresAt);
        r.ContentLength = ReadI32(data, kContentLengthAt);
        DecodeTail(static_cast<int>(version), c, r);
        return r;
    }
    // Unknown layout: the fixed offsets, lengths taken as 16-bit values.
    const std::size_t b = ReadU16(data, kFileNameAt);
    if (b < kMaxFileNameLength) r.Body.Name = CountedText(data, kFileNameAt + 4, static_cast<std::uint32_t>(b));
    const std::size_t c = ReadU16(data, b + 62);
    const std::size_t t = b + c + 66;
    const std::uint16_t m = ReadU16(data, t);
    if (m < kMaxMimeLength) r.MimeType = CountedText(data, t + 4, m);
    return r;
}

void AcceptRecord(IndexRecord record, const CacheFolder& folder, CacheEntryList& entries,
                  const ReadOptions& options) {
    record.Body.Name = ToUpperAscii(record.Body.Name);
    record.Body.Present = folder.Exists(record.Body.Name);
    if (!record.Body.Present && !options.includeAbsent) return;
    record.MimeType = ToUpperAscii(Cut(record.MimeType, kMimeCapacity));
    record.Domain = EntryDomain(record.Url);
    record.category = ClassifyMimeType(record.MimeType);
    entries.push_back(std::move(record));
}

}  // namespace restash
