#include "core/export/export_archive.h"

#include <memory>

#include "core/export/archive_uri.h"
#include "core/export/cdxj.h"
#include "core/export/digest_text.h"
#include "core/export/manifest.h"
#include "core/export/sha1.h"
#include "core/export/sha256.h"
#include "core/export/utc_time.h"
#include "core/export/warc_writer.h"
#include "core/platform/error.h"
#include "core/platform/paths.h"
#include "core/platform/text.h"

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

struct FileFacts {
    std::uint64_t size = 0;
    Sha1::Digest sha1{};
    std::string sha256;  // hex
};

std::string DigestLabel(const Sha1::Digest& d) { return "sha1:" + Base32(d); }

FileFacts ReadFacts(const EntryBody& body) {
    Sha1 sha1;
    Sha256 sha256;
    FileFacts facts;
    ReadBodyInPieces(body, [&](std::string_view piece) {
        facts.size += piece.size();
        sha1.Update(piece);
        sha256.Update(piece);
    });
    facts.sha1 = sha1.Final();
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

// The index's facts beyond address, date and type; dates of 0 mean "none".
WarcFields CacheFacts(const CacheEntry& entry) {
    WarcFields facts{{"cache-file", entry.Body.Name}};
    if (entry.LastModified && *entry.LastModified != 0) facts.emplace_back("last-modified", IsoUtc(*entry.LastModified));
    if (entry.Expires && *entry.Expires != 0) facts.emplace_back("expires", IsoUtc(*entry.Expires));
    if (entry.ContentLength) facts.emplace_back("content-length", std::to_string(*entry.ContentLength));
    if (!entry.ContentEncoding.empty()) facts.emplace_back("content-encoding", entry.ContentEncoding);
    if (!entry.Charset.empty()) facts.emplace_back("charset", entry.Charset);
    if (entry.IncompleteFile) facts.emplace_back("incomplete-file", *entry.IncompleteFile ? "true" : "false");
    return facts;
}

void CheckDistinct(const ExportOptions& options) {
    std::vector<std::string> paths{options.warcPath};
    if (options.cdxjPath) paths.push_back(*options.cdxjPath);
    if (options.manifestPath) paths.push_back(*options.manifestPath);
    for (std::size_t i = 0; i < paths.size(); ++i)
        for (std::size_t j = i + 1; j < paths.size(); ++j)
            if (paths[i] == paths[j]) throw FileError(paths[i], "Named for two outputs of the export");
}

class Exporter {
public:
    Exporter(const CacheEntryList& entries, const BodyLookup& bodies, const ExportOptions& options,
             WarcWriter& warc)
        : entries_(entries), bodies_(bodies), options_(options), warc_(warc),
          warcName_(FilePart(options.warcPath)) {}

    void WriteInfo() {
        const std::string created = IsoUtc(options_.createdAt);
        const std::string block = WarcFieldsBlock({
            {"software", std::string("Restash ") + RESTASH_VERSION},
            {"format", "WARC File Format 1.1"},
            {"source-cache", options_.sourceCacheName},
            {"description", "Objects of a Netscape disk cache as resource records, with the cache index's "
                            "facts about each in a metadata record"},
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
        row.url = entry.Url;
        row.cacheFile = entry.Body.Name;
        row.mimeType = ToLowerAscii(entry.MimeType);
        row.category = CategoryName(entry.category);
        row.timestamp = IsoUtc(entry.Stamp);

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
        FileFacts facts;
        try {
            facts = ReadFacts(*body);
        } catch (const FileError& e) {
            summary.failures.push_back({entry.Url, body->Label(), e.what(), false});
            return;
        }
        row.size = facts.size;
        row.sha256 = facts.sha256;

        const std::string uri = ArchiveUri(entry.Url);
        const std::string date = IsoUtc(entry.Stamp);
        const std::string digest = DigestLabel(facts.sha1);
        const std::string id = RecordIdFor("resource|" + infoId_ + "|" + std::to_string(ordinal) + "|" + uri + "|" +
                                           date + "|" + digest);
        const WarcPlacement placement = warc_.Write(
            {{"WARC-Type", "resource"},
             {"WARC-Record-ID", id},
             {"WARC-Warcinfo-ID", infoId_},
             {"WARC-Target-URI", uri},
             {"WARC-Date", date},
             {"WARC-Block-Digest", digest},
             {"WARC-Payload-Digest", digest},
             {"Content-Type", ContentTypeOf(entry)}},
            facts.size, [&](const auto& piece) { SendAgain(*body, facts, piece); });

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

        if (options_.cdxjPath) archived_.push_back({ordinal, placement, facts.sha1});
        row.archived = true;
        ++summary.archived;
        summary.bytes += facts.size;
    }

    void WriteIndex(OutputFile& out) const {
        WriteSortedCdxj(
            archived_.size(),
            [this](std::size_t i) {
                const Archived& a = archived_[i];
                const CacheEntry& entry = entries_[a.ordinal];
                return CdxjRecord{ArchiveUri(entry.Url), entry.Stamp, MimeOf(entry), DigestLabel(a.digest),
                                  a.placement, warcName_};
            },
            out);
    }

private:
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

    // What the index needs of an archived entry beyond the entry itself.
    struct Archived {
        std::size_t ordinal;
        WarcPlacement placement;
        Sha1::Digest digest;
    };

    const CacheEntryList& entries_;
    const BodyLookup& bodies_;
    const ExportOptions& options_;
    WarcWriter& warc_;
    std::string warcName_;
    std::string infoId_;
    std::vector<Archived> archived_;
};

}  // namespace

ExportReport ExportArchive(const CacheEntryList& entries, const Selection& selection, const CacheSource& source,
                            const ExportOptions& options, ProgressSink& progress, FileSystem& fs) {
    CheckDistinct(options);
    const std::optional<ManifestFormat> manifestFormat =
        options.manifestPath ? std::optional(ManifestFormatFor(*options.manifestPath)) : std::nullopt;

    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (IsSelected(entries[i], selection)) chosen.push_back(i);

    ExportReport summary;
    summary.selected = chosen.size();
    progress.Phase(kPhaseExporting);
    progress.Gauge(0);

    PendingOutputs outputs(fs);
    WarcWriter warc(outputs.Open(options.warcPath));
    std::optional<ManifestWriter> manifest;
    if (manifestFormat) manifest.emplace(outputs.Open(*options.manifestPath), *manifestFormat);

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
    if (options.cdxjPath) exporter.WriteIndex(outputs.Open(*options.cdxjPath));
    outputs.Commit();
    progress.Gauge(100);
    return summary;
}

}  // namespace restash
