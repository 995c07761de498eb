#include "core/cache/family_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "core/platform/error.h"

namespace restash {
namespace {

// Reads the bytes of a stored body: a part of a larger file, or a whole one.
// A file that ends early gives what it holds.
class StoredBodyBuffer final : public std::streambuf {
public:
    explicit StoredBodyBuffer(const BodyLocation& body)
        : path_(body.path), at_(body.offset), left_(body.length), fd_(::open(path_.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (fd_ < 0) ThrowErrno(path_, errno);
    }
    ~StoredBodyBuffer() override { ::close(fd_); }
    StoredBodyBuffer(const StoredBodyBuffer&) = delete;
    StoredBodyBuffer& operator=(const StoredBodyBuffer&) = delete;

protected:
    int_type underflow() override {
        while (left_ > 0) {
            const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(sizeof buffer_, left_));
            const ssize_t got = ::pread(fd_, buffer_, want, static_cast<off_t>(at_));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) ThrowErrno(path_, errno);
            if (got == 0) break;
            at_ += static_cast<std::uint64_t>(got);
            left_ -= static_cast<std::uint64_t>(got);
            setg(buffer_, buffer_, buffer_ + got);
            return traits_type::to_int_type(buffer_[0]);
        }
        return traits_type::eof();
    }

private:
    std::string path_;
    std::uint64_t at_;
    std::uint64_t left_;
    int fd_;
    char buffer_[64 * 1024];
};

class StoredEntryBody final : public EntryBody {
public:
    StoredEntryBody(const BodyLocation& body, ContentCoding coding) : body_(body), coding_(coding) {}
    const std::string& Label() const override { return body_.path; }
    // A file that holds the body and nothing else (a separate data file).
    const std::string* PlainFile() const override {
        return body_.offset == 0 && FileSize(body_.path) == body_.length ? &body_.path : nullptr;
    }
    std::unique_ptr<std::streambuf> Open() const override { return std::make_unique<StoredBodyBuffer>(body_); }
    ContentCoding Coding() const override { return coding_; }

private:
    static std::uint64_t FileSize(const std::string& path) {
        struct stat st {};
        return ::stat(path.c_str(), &st) == 0 ? static_cast<std::uint64_t>(st.st_size) : UINT64_MAX;
    }

    BodyLocation body_;
    ContentCoding coding_;
};

// The bodies of one read.
class ListedBodies final : public BodyLookup {
public:
    explicit ListedBodies(std::shared_ptr<const FamilySource::StoredRead> read) : read_(std::move(read)) {}
    std::unique_ptr<EntryBody> Find(const CacheEntry& entry) const override {
        std::size_t position = 0;
        const StoredEntry* stored = FamilySource::Listed(read_.get(), entry, position);
        if (!stored || stored->body.kind == BodyLocation::Kind::None || stored->body.Missing()) return nullptr;
        return std::make_unique<StoredEntryBody>(stored->body, CodingOf(entry.ContentEncoding));
    }

private:
    std::shared_ptr<const FamilySource::StoredRead> read_;
};

// The head as a response record can hold it: one that starts with its
// status line and has a header line after it. A status line alone (an old
// HTTP/1.0 server's) is left out: replay tools read the blank line after it
// as the first header line and take the body for the rest of the head.
std::optional<std::string> ResponseHeadOf(const StoredEntry& entry) {
    const std::string& head = entry.responseHead;
    const std::size_t lineEnd = head.find('\n');
    if (head.rfind("HTTP/", 0) != 0 || lineEnd == std::string::npos) return std::nullopt;
    const std::size_t next = lineEnd + 1;
    if (next >= head.size() || head[next] == '\r' || head[next] == '\n') return std::nullopt;
    return head;
}

}  // namespace

FamilySource::FamilySource(std::string location, const RecognizedCache& cache, IndexFormat format,
                           std::string lockFile)
    : location_(std::move(location)), folder_(cache.folder), lockFile_(std::move(lockFile)) {
    traits_.format = format;
    traits_.utcStamps = true;
    traits_.declaresCharset = true;
    traits_.otherFilesAtFirst = true;
    traits_.framesetIndex = true;
    traits_.family = cache.family;
}

CacheRead FamilySource::Read(CacheEntryList& entries, ProgressSink& progress, const ReadOptions& options) const {
    ReadingBusy busy(progress);
    auto read = std::make_shared<StoredRead>(ReadStored(progress));
    entries.clear();
    for (std::size_t i = 0; i < read->entries.size(); ++i) {
        const StoredEntry& stored = *read->entries[i];
        const bool present = stored.body.kind != BodyLocation::Kind::None && !stored.body.Missing();
        if (!present && !options.includeAbsent) continue;
        CacheEntry entry = ToCacheEntry(stored);
        entry.Body.Present = present;
        entry.Body.Location = i + 1;
        entry.ResponseHead = ResponseHeadOf(stored);
        entries.push_back(std::move(entry));
    }
    CacheRead result{read->stopped ? Ending::Stopped : Ending::Finished, read->warnings};
    last_ = std::move(read);
    return result;
}

std::unique_ptr<BodyLookup> FamilySource::Bodies() const { return std::make_unique<ListedBodies>(last_); }

const StoredEntry* FamilySource::Listed(const StoredRead* read, const CacheEntry& entry, std::size_t& position) {
    if (!read || entry.Body.Location == 0 || entry.Body.Location > read->entries.size()) return nullptr;
    position = static_cast<std::size_t>(entry.Body.Location - 1);
    const StoredEntry* stored = read->entries[position];
    // An entry of an older read that no longer lines up is not found.
    return stored->address == entry.Url ? stored : nullptr;
}

}  // namespace restash
