#include "core/export/wacz_writer.h"

#include "core/export/digest_text.h"
#include "core/export/json_text.h"
#include "core/export/sha256.h"
#include "core/export/utc_time.h"

namespace restash {
namespace {

constexpr const char* kPagesHeader =
    "{\"format\": \"json-pages-1.0\", \"id\": \"pages\", \"title\": \"All Pages\"}\n";

std::string Sha256Label(std::string_view bytes) {
    Sha256 sha;
    sha.Update(bytes);
    return "sha256:" + Hex(sha.Final());
}

bool IsSiteRoot(std::string_view url) {
    const std::size_t slashes = url.find("://");
    return slashes != std::string_view::npos && url.find('/', slashes + 3) == url.size() - 1;
}

// The latest page of those take accepts, when all of them share one address.
std::optional<std::size_t> LatestOfOneAddress(const std::vector<WaczPage>& pages,
                                              bool (*take)(std::string_view)) {
    std::optional<std::size_t> found;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        if (!take(pages[i].url)) continue;
        if (found && pages[*found].url != pages[i].url) return std::nullopt;
        if (!found || pages[i].stamp > pages[*found].stamp) found = i;
    }
    return found;
}

std::string PageLine(const WaczPage& page) {
    std::string line = "{\"id\": " + JsonUtf8String(page.id) + ", \"url\": " + JsonUtf8String(page.url) +
                       ", \"ts\": \"" + IsoUtc(page.stamp) + "\"";
    if (!page.title.empty()) line += ", \"title\": " + JsonUtf8String(page.title);
    return line + "}\n";
}

// datapackage.json: the package's files with their hashes and sizes, and
// what it is.
std::string DataPackage(const std::vector<WaczResource>& resources, const std::vector<WaczPage>& pages,
                        const WaczDescription& description) {
    std::string package = "{\n  \"profile\": \"data-package\",\n  \"resources\": [";
    for (std::size_t i = 0; i < resources.size(); ++i) {
        const WaczResource& r = resources[i];
        const std::size_t slash = r.path.rfind('/');
        package += std::string(i ? "," : "") +
                   "\n    {\n      \"name\": " + JsonUtf8String(r.path.substr(slash + 1)) +
                   ",\n      \"path\": " + JsonUtf8String(r.path) + ",\n      \"hash\": \"" + r.hash +
                   "\",\n      \"bytes\": " + std::to_string(r.bytes) + "\n    }";
    }
    package += "\n  ],\n  \"wacz_version\": \"1.1.1\",\n  \"title\": " + JsonUtf8String(description.title) +
               ",\n  \"created\": \"" + IsoUtc(description.created) +
               "\",\n  \"software\": " + JsonUtf8String(description.software);
    if (const std::optional<std::size_t> main = MainPage(pages))
        package += ",\n  \"mainPageUrl\": " + JsonUtf8String(pages[*main].url) + ",\n  \"mainPageDate\": \"" +
                   IsoUtc(pages[*main].stamp) + "\"";
    package += "\n}\n";
    return package;
}

}  // namespace

// A member's bytes on their way into the ZIP file, counted and hashed for
// datapackage.json.
class WaczWriter::HashedFile final : public OutputFile {
public:
    HashedFile(OutputFile& member, std::string path) : member_(member), path_(std::move(path)) {}
    void Write(std::string_view bytes) override {
        sha_.Update(bytes);
        bytes_ += bytes.size();
        member_.Write(bytes);
    }
    void Flush() override { member_.Flush(); }
    void Close() override {}
    const std::string& Path() const override { return member_.Path(); }

    WaczResource Done() { return {path_, "sha256:" + Hex(sha_.Final()), bytes_}; }

private:
    OutputFile& member_;
    std::string path_;
    Sha256 sha_;
    std::uint64_t bytes_ = 0;
};

WaczWriter::WaczWriter(OutputFile& out, std::int64_t created) : zip_(out, created) {}

WaczWriter::~WaczWriter() = default;

OutputFile& WaczWriter::BeginHashed(std::string path, bool large) {
    EndHashed();
    OutputFile& member = zip_.Begin(path, large);
    open_ = std::make_unique<HashedFile>(member, std::move(path));
    return *open_;
}

void WaczWriter::EndHashed() {
    if (!open_) return;
    resources_.push_back(open_->Done());
    open_.reset();
}

OutputFile& WaczWriter::Archive() { return BeginHashed(std::string("archive/") + kWaczArchiveName, true); }

OutputFile& WaczWriter::Index() { return BeginHashed("indexes/index.cdxj", false); }

void WaczWriter::Finish(const std::vector<WaczPage>& pages, const WaczDescription& description) {
    OutputFile& list = BeginHashed("pages/pages.jsonl", false);
    list.Write(kPagesHeader);
    for (const WaczPage& page : pages) list.Write(PageLine(page));
    EndHashed();

    const std::string package = DataPackage(resources_, pages, description);
    zip_.Begin("datapackage.json").Write(package);
    zip_.Begin("datapackage-digest.json")
        .Write("{\n  \"path\": \"datapackage.json\",\n  \"hash\": \"" + Sha256Label(package) + "\"\n}\n");
    zip_.Finish();
}

std::optional<std::size_t> MainPage(const std::vector<WaczPage>& pages) {
    // Two home pages, or pages of two addresses, leave the choice open: the
    // second look finds two addresses then too.
    if (const auto root = LatestOfOneAddress(pages, IsSiteRoot)) return root;
    return LatestOfOneAddress(pages, [](std::string_view) { return true; });
}

}  // namespace restash
