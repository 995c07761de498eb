#include "core/export/export_archive.h"

#include <memory>

#include "core/cache/body_decoding.h"
#include "core/cache/http_head.h"
#include "core/export/archive_uri.h"
#include "core/export/browser_address.h"
#include "core/export/cdxj.h"
#include "core/export/digest_text.h"
#include "core/export/json_text.h"
#include "core/export/manifest.h"
#include "core/export/page_title.h"
#include "core/export/response_head.h"
#include "core/export/sha1.h"
#include "core/export/sha256.h"
#include "core/export/utc_time.h"
#include "core/export/wacz_writer.h"
#include "core/export/warc_writer.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"
#include "core/web/charset.h"

namespace restash {
namespace {

// The outputs of one export, under temporary names until Commit renames them
// all; dropped uncommitted, they are closed and removed.
class PendingOutputs {
public:
    explicit PendingOutputs(FileSystem& fs) : fs_(fs) {}
    ~PendingOutputs() {
        if (committed_) return;
        for (Item& item : items_) {
            item.file.reset();
            try {
                fs_.Remove(item.temp);
            } catch (...) {
            }
        }
    }
    PendingOutputs(const PendingOutputs&) = delete;
    PendingOutputs& operator=(const PendingOutputs&) = delete;

    OutputFile& Open(const std::string& target) {
        Item item{target, TemporaryNameFor(target), nullptr};
        items_.push_back(std::move(item));
        items_.back().file = fs_.Create(items_.back().temp);
        return *items_.back().file;
    }

    void Commit() {
        for (Item& item : items_) item.file->Close();
        for (Item& item : items_) fs_.Rename(item.temp, item.target);
        committed_ = true;
    }

    // An error about an output's temporary file, as one about the output.
    FileError NamingTarget(const FileError& e) const {
        for (const Item& item : items_)
            if (e.path() == item.temp) return restash::NamingTarget(e, item.temp, item.target);
        return e;
    }

private:
    struct Item {
        std::string target;
        std::string temp;
        std::unique_ptr<OutputFile> file;
    };
    FileSystem& fs_;
    std::vector<Item> items_;
    bool committed_ = false;
};

// The archive's bytes going to a .warc.gz file and into a WACZ package at
// once: both hold the same archive, so the index's offsets fit both.
class TeeFile final : public OutputFile {
public:
    TeeFile(OutputFile& first, OutputFile& second) : first_(first), second_(second) {}
    void Write(std::string_view bytes) override {
        first_.Write(bytes);
        second_.Write(bytes);
    }
    void Flush() override {
        first_.Flush();
        second_.Flush();
    }
    void Close() override {}
    const std::string& Path() const override { return first_.Path(); }

private:
    OutputFile& first_;
    OutputFile& second_;
};

// Where the archive goes: a .warc.gz file, a WACZ package, or both.
struct ArchiveOutputs {
    ArchiveOutputs(const ExportOptions& options, PendingOutputs& pending) {
        if (options.waczPath) wacz.emplace(pending.Open(*options.waczPath), options.createdAt);
        if (options.warcPath.empty()) {
            archive = &wacz->Archive();
            return;
        }
        archive = &pending.Open(options.warcPath);
        if (wacz) archive = &tee.emplace(*archive, wacz->Archive());
    }
    std::optional<WaczWriter> wacz;
    std::optional<TeeFile> tee;
    OutputFile* archive = nullptr;
};

struct FileFacts {
    std::uint64_t size = 0;
    Sha1::Digest sha1{};       // of the cache file: the payload
    Sha1::Digest blockSha1{};  // of a response record's block: the head, then the cache file
    std::string sha256;        // hex
};

std::string DigestLabel(const Sha1::Digest& d) { return "sha1:" + Base32(d); }

// A page's identifier in the package: the 32 hexadecimal digits of its
// record's UUID, so a line of the page list leads to its record.
std::string PageIdFor(std::string_view recordId) {
    std::string id;
    for (const char c : recordId.substr(std::string_view("<urn:uuid:").size()))
        if (c != '-' && c != '>') id += c;
    return id;
}

// What the page list takes from a page: its title, read from the page as a
// browser shows it (decoded where it is stored with a content coding).
class PageReading {
public:
    explicit PageReading(ContentCoding coding) : decoder_(coding), coded_(coding != ContentCoding::Identity) {}
    void Feed(std::string_view stored) {
        if (!coded_) return Take(stored);
        decoded_.clear();
        // Past a fault in the coded bytes, nothing more is decoded.
        decoder_.Feed(stored, decoded_);
        Take(decoded_);
    }
    // In the cache's charset for the page, else the one its META declares.
    std::string Title(const std::string& charset) const {
        return TitleText(title_.Raw(), charset.empty() ? CharsetFromMeta(start_) : charset);
    }

private:
    static constexpr std::size_t kStart = 8192;
    void Take(std::string_view bytes) {
        title_.Feed(bytes);
        if (start_.size() < kStart) start_.append(bytes.substr(0, kStart - start_.size()));
    }
    BodyDecoder decoder_;
    bool coded_;
    std::string decoded_;
    std::string start_;  // the page's first bytes, for its META
    TitleFinder title_;
};

// head: a response record's head, empty for a resource record; title: fed
// the file when the page list wants its title.
FileFacts ReadFacts(const EntryBody& body, const std::string& head, PageReading* title) {
    Sha1 sha1, block;
    Sha256 sha256;
    FileFacts facts;
    block.Update(head);
    ReadBodyInPieces(body, [&](std::string_view piece) {
        facts.size += piece.size();
        sha1.Update(piece);
        if (!head.empty()) block.Update(piece);
        sha256.Update(piece);
        if (title) title->Feed(piece);
    });
    facts.sha1 = sha1.Final();
    facts.blockSha1 = head.empty() ? facts.sha1 : block.Final();
    facts.sha256 = Hex(sha256.Final());
    return facts;
}

std::string MimeOf(const CacheEntry& entry) {
    return entry.MimeType.empty() ? "application/octet-stream" : ToLowerAscii(entry.MimeType);
}

std::string ContentTypeOf(const CacheEntry& entry) {
    std::string type = MimeOf(entry);
    if (!entry.Charset.empty()) type += "; charset=" + entry.Charset;
    return type;
}

// The address as the cache holds it, in UTF-8 like the record's other
// texts; control bytes, which no field value may hold, percent-encoded.
std::string CacheUrlField(std::string_view url) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string out;
    for (const char ch : Latin1ToUtf8(url)) {
        const auto c = static_cast<unsigned char>(ch);
        if (c < 0x20 || c == 0x7F)
            out += std::string{'%', kDigits[c >> 4], kDigits[c & 15]};
        else
            out += ch;
    }
    return out;
}

// The index's facts beyond address, date and type; dates of 0 mean "none".
WarcFields CacheFacts(const CacheEntry& entry) {
    WarcFields facts{{"cache-file", entry.Body.Name}, {"cache-url", CacheUrlField(entry.Url)}};
    if (entry.LastModified && *entry.LastModified != 0) facts.emplace_back("last-modified", IsoUtc(*entry.LastModified));
    if (entry.Expires && *entry.Expires != 0) facts.emplace_back("expires", IsoUtc(*entry.Expires));
    if (entry.ContentLength) facts.emplace_back("content-length", std::to_string(*entry.ContentLength));
    if (!entry.ContentEncoding.empty()) facts.emplace_back("content-encoding", entry.ContentEncoding);
    if (!entry.Charset.empty()) facts.emplace_back("charset", entry.Charset);
    if (entry.IncompleteFile) facts.emplace_back("incomplete-file", *entry.IncompleteFile ? "true" : "false");
    // The response record leaves it out: the stored body no longer has it.
    if (entry.ResponseHead)
        if (const auto coding = ParseHttpHead(*entry.ResponseHead).Header("Transfer-Encoding"))
            facts.emplace_back("transfer-encoding", *coding);
    return facts;
}

void CheckOutputs(const ExportOptions& options) {
    if (options.warcPath.empty() && !options.waczPath)
        throw Error("An export needs an archive or a package to write");
    if (options.warcPath.empty() && options.cdxjPath)
        throw FileError(*options.cdxjPath, "An index is written for an archive file, and none is named");
    std::vector<std::string> paths;
    if (!options.warcPath.empty()) paths.push_back(options.warcPath);
    if (options.waczPath) paths.push_back(*options.waczPath);
    if (options.cdxjPath) paths.push_back(*options.cdxjPath);
    if (options.manifestPath) paths.push_back(*options.manifestPath);
    // A manifest's bad name stops the export before it starts.
    if (options.manifestPath) ManifestFormatFor(*options.manifestPath);
    for (std::size_t i = 0; i < paths.size(); ++i)
        for (std::size_t j = i + 1; j < paths.size(); ++j)
            if (paths[i] == paths[j]) throw FileError(paths[i], "Named for two outputs of the export");
}

// What the archive's description calls a cache.
std::string CacheKindOf(const CacheTraits& traits) {
    if (traits.format == IndexFormat::TextIndex || traits.format == IndexFormat::HashIndex) return kNetscapeCacheKind;
    return std::string(IndexFormatName(traits.format)) + " of " + traits.family;
}

class Exporter {
public:
    Exporter(const CacheEntryList& entries, const BodyLookup& bodies, const ExportOptions& options,
             WarcWriter& warc)
        : entries_(entries), bodies_(bodies), options_(options), warc_(warc),
          warcName_(options.warcPath.empty() ? kWaczArchiveName : FilePart(options.warcPath)) {}

    void WriteInfo() {
        const std::string created = IsoUtc(options_.createdAt);
        const std::string block = WarcFieldsBlock({
            {"software", std::string("Restash ") + RESTASH_VERSION},
            {"format", "WARC File Format 1.1"},
            {"source-cache", options_.sourceCacheName},
            {"description",
             "Objects of a " + options_.cacheKind +
                 " as resource records (response records where the cache kept "
                 "the server's response), with the cache index's facts about each in a metadata record; "
                 "records are dated when the cache last used the object, this record when the archive was "
                 "written"},
        });
        infoId_ = RecordIdFor("warcinfo|" + warcName_ + "|" + options_.sourceCacheName + "|" + created);
        warc_.Write({{"WARC-Type", "warcinfo"},
                     {"WARC-Record-ID", infoId_},
                     {"WARC-Date", created},
                     {"WARC-Filename", warcName_},
                     {"WARC-Block-Digest", Sha1Label(block)},
                     {"Content-Type", "application/warc-fields"}},
                    block);
    }

    // Archives one selected entry; fills its manifest row and summary counts.
    void Add(std::size_t ordinal, ManifestRow& row, ExportReport& summary) {
        const CacheEntry& entry = entries_[ordinal];
        FillRow(entry, row);
        const std::unique_ptr<EntryBody> body = bodies_.Find(entry);
        row.present = body != nullptr;
        if (!body) {
            ++summary.missing;
            summary.absent.push_back({entry.Url, entry.Body.Name, {}, false});
            return;
        }
        if (entry.Url.empty()) {
            summary.failures.push_back(
                {entry.Url, body->Label(), body->Label() + ": The cache index gives no address for it", true});
            return;
        }
        const std::string head =
            entry.ResponseHead && !entry.ResponseHead->empty() ? ResponseBlockHead(*entry.ResponseHead) : "";
        const bool page = options_.waczPath && MimeOf(entry) == "text/html";
        PageReading title(body->Coding());
        FileFacts facts;
        try {
            facts = ReadFacts(*body, head, page ? &title : nullptr);
        } catch (const FileError& e) {
            summary.failures.push_back({entry.Url, body->Label(), e.what(), false});
            return;
        }
        row.size = facts.size;
        row.sha256 = facts.sha256;

        const Archived archived = WriteRecords(ordinal, *body, head, facts);
        if (page) {
            const std::string shown = title.Title(entry.Charset);
            pages_.push_back({row.archiveUrl, entry.Stamp, shown, archived.id});
        }
        if (options_.cdxjPath || options_.waczPath) archived_.push_back(archived);
        row.archived = true;
        ++summary.archived;
        summary.bytes += facts.size;
    }

    // The index lines of the archived records; fileName names the archive.
    void WriteIndex(OutputFile& out, const std::string& fileName) const {
        WriteSortedCdxj(
            archived_.size(),
            [&](std::size_t i) {
                const Archived& a = archived_[i];
                const CacheEntry& entry = entries_[a.ordinal];
                return CdxjRecord{ReplayAddress(entry.Url), entry.Stamp, MimeOf(entry), a.status,
                                  DigestLabel(a.digest), a.placement, fileName};
            },
            out);
    }

    const std::vector<WaczPage>& Pages() const { return pages_; }
    const std::string& ArchiveName() const { return warcName_; }

private:
    // What the index and the page list need of an archived entry beyond the entry itself.
    struct Archived {
        std::size_t ordinal;
        WarcPlacement placement;
        Sha1::Digest digest;
        std::string status;  // a response record's status code
        std::string id;      // the page identifier made from its record's
    };

    static void FillRow(const CacheEntry& entry, ManifestRow& row) {
        row.url = entry.Url;
        row.archiveUrl = ReplayAddress(entry.Url);
        row.cacheFile = entry.Body.Name;
        row.mimeType = ToLowerAscii(entry.MimeType);
        row.category = CategoryName(entry.category);
        row.timestamp = IsoUtc(entry.Stamp);
    }

    // The entry's response or resource record and its metadata record.
    Archived WriteRecords(std::size_t ordinal, const EntryBody& body, const std::string& head,
                          const FileFacts& facts) {
        const CacheEntry& entry = entries_[ordinal];
        const std::string uri = ReplayAddress(entry.Url);
        const std::string date = IsoUtc(entry.Stamp);
        const std::string digest = DigestLabel(facts.sha1);
        const bool response = !head.empty();
        const std::string id = RecordIdFor((response ? "response|" : "resource|") + infoId_ + "|" +
                                           std::to_string(ordinal) + "|" + uri + "|" + date + "|" + digest);
        const WarcPlacement placement = warc_.Write(
            {{"WARC-Type", response ? "response" : "resource"},
             {"WARC-Record-ID", id},
             {"WARC-Warcinfo-ID", infoId_},
             {"WARC-Target-URI", uri},
             {"WARC-Date", date},
             {"WARC-Block-Digest", DigestLabel(facts.blockSha1)},
             {"WARC-Payload-Digest", digest},
             {"Content-Type", response ? "application/http; msgtype=response" : ContentTypeOf(entry)}},
            head.size() + facts.size, [&](const auto& piece) {
                if (response) piece(head);
                SendAgain(body, facts, piece);
            });

        const std::string block = WarcFieldsBlock(CacheFacts(entry));
        warc_.Write({{"WARC-Type", "metadata"},
                     {"WARC-Record-ID", RecordIdFor("metadata|" + id)},
                     {"WARC-Warcinfo-ID", infoId_},
                     {"WARC-Target-URI", uri},
                     {"WARC-Date", date},
                     {"WARC-Concurrent-To", id},
                     {"WARC-Refers-To", id},
                     {"WARC-Block-Digest", Sha1Label(block)},
                     {"Content-Type", "application/warc-fields"}},
                    block);
        return {ordinal, placement, facts.sha1, response ? ResponseStatus(head) : "", PageIdFor(id)};
    }

    // The second read of a cache file, into the record. The record's header
    // already holds the size and digest of the first read, so a file that
    // changed in between cannot be archived truthfully.
    static void SendAgain(const EntryBody& body, const FileFacts& facts,
                          const std::function<void(std::string_view)>& piece) {
        Sha1 sha1;
        std::uint64_t size = 0;
        ReadBodyInPieces(body, [&](std::string_view bytes) {
            size += bytes.size();
            if (size > facts.size) return;
            sha1.Update(bytes);
            piece(bytes);
        });
        if (size != facts.size || sha1.Final() != facts.sha1)
            throw FileError(body.Label(), "The cache file changed while it was archived");
    }

    const CacheEntryList& entries_;
    const BodyLookup& bodies_;
    const ExportOptions& options_;
    WarcWriter& warc_;
    std::string warcName_;
    std::string infoId_;
    std::vector<Archived> archived_;
    std::vector<WaczPage> pages_;
};

ExportReport ExportInto(PendingOutputs& outputs, const CacheEntryList& entries, const Selection& selection,
                        const CacheSource& source, const ExportOptions& options, ProgressSink& progress) {
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (IsSelected(entries[i], selection)) chosen.push_back(i);

    ExportReport summary;
    summary.selected = chosen.size();
    progress.Phase(kPhaseExporting);
    progress.Gauge(0);

    ArchiveOutputs archive(options, outputs);
    WarcWriter warc(*archive.archive);
    std::optional<ManifestWriter> manifest;
    if (options.manifestPath)
        manifest.emplace(outputs.Open(*options.manifestPath), ManifestFormatFor(*options.manifestPath));

    const std::unique_ptr<BodyLookup> bodies = source.Bodies();
    Exporter exporter(entries, *bodies, options, warc);
    exporter.WriteInfo();
    int shown = 0;
    for (std::size_t n = 0; n < chosen.size(); ++n) {
        if (!progress.ProcessMessages()) {
            summary.ending = Ending::Stopped;
            return summary;
        }
        ManifestRow row;
        exporter.Add(chosen[n], row, summary);
        if (manifest) manifest->Add(row);
        const int percent = static_cast<int>((n + 1) * 100 / chosen.size());
        if (percent != shown) progress.Gauge(shown = percent);
    }
    if (manifest) manifest->Finish();
    if (options.cdxjPath) exporter.WriteIndex(outputs.Open(*options.cdxjPath), exporter.ArchiveName());
    if (archive.wacz) {
        exporter.WriteIndex(archive.wacz->Index(), kWaczArchiveName);
        summary.pages = exporter.Pages().size();
        std::string title = "Restash export of " + Utf8OrLatin1(options.sourceCacheName);
        if (options.cacheKind != kNetscapeCacheKind) title += " (" + options.cacheKind + ")";
        const WaczDescription description{title, options.createdAt, std::string("Restash ") + RESTASH_VERSION};
        archive.wacz->Finish(exporter.Pages(), description);
    }
    outputs.Commit();
    progress.Gauge(100);
    return summary;
}

}  // namespace

ExportReport ExportArchive(const CacheEntryList& entries, const Selection& selection, const CacheSource& source,
                           const ExportOptions& given, ProgressSink& progress, FileSystem& fs) {
    ExportOptions options = given;
    if (options.cacheKind.empty()) options.cacheKind = CacheKindOf(source.Traits());
    CheckOutputs(options);
    PendingOutputs outputs(fs);
    try {
        return ExportInto(outputs, entries, selection, source, options, progress);
    } catch (const FileError& e) {
        // The user named the output, not its temporary file.
        throw outputs.NamingTarget(e);
    }
}

}  // namespace restash
