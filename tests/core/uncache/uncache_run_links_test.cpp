// Whole runs over the bundled samples and a generated cache of several
// interlinked sites, checked from the outside: every local link and picture
// in the offline tree names a file that is there, and every copied page that
// another copied page links to is reached by that link.
#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <set>
#include <unordered_map>

#include "core/cache/cache_folder.h"
#include "core/platform/text.h"
#include "tests/support/gif.h"
#include "tests/support/history_file.h"
#include "uncache_run_fixture.h"

namespace restash::test {
namespace {

struct Link {
    std::string tag;        // upper case: A, IMG, FRAME ...
    std::string attribute;  // upper case: HREF, SRC ...
    std::string value;      // quotes taken off
};

// The link attributes of every tag outside comments, in page order.
std::vector<Link> LinksOf(const std::string& page) {
    std::vector<Link> links;
    std::size_t at = 0;
    while ((at = page.find('<', at)) != std::string::npos) {
        if (page.compare(at, 4, "<!--") == 0) {
            const std::size_t end = page.find("-->", at + 4);
            at = end == std::string::npos ? page.size() : end + 3;
            continue;
        }
        const std::size_t close = page.find('>', at);
        const std::string tag = page.substr(at + 1, close == std::string::npos ? std::string::npos : close - at - 1);
        at = close == std::string::npos ? page.size() : close + 1;
        std::size_t i = 0;
        auto word = [&] {
            while (i < tag.size() && (tag[i] == ' ' || tag[i] == '\r' || tag[i] == '\n' || tag[i] == '\t')) ++i;
            const std::size_t start = i;
            while (i < tag.size() && tag[i] != ' ' && tag[i] != '=' && tag[i] != '\r' && tag[i] != '\n') ++i;
            return ToUpperAscii(tag.substr(start, i - start));
        };
        const std::string name = word();
        while (i < tag.size()) {
            const std::string attribute = word();
            if (attribute.empty()) {
                ++i;
                continue;
            }
            if (i >= tag.size() || tag[i] != '=') continue;
            ++i;
            std::string value;
            if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
                const std::size_t end = tag.find(tag[i], i + 1);
                value = tag.substr(i + 1, end - i - 1);
                i = end == std::string::npos ? tag.size() : end + 1;
            } else {
                const std::size_t start = i;
                while (i < tag.size() && tag[i] != ' ' && tag[i] != '\r' && tag[i] != '\n') ++i;
                value = tag.substr(start, i - start);
            }
            links.push_back({name, attribute, value});
        }
    }
    return links;
}

bool IsLinkAttribute(const std::string& a) {
    return a == "HREF" || a == "SRC" || a == "LOWSRC" || a == "BACKGROUND" || a == "CODE";
}

// The tags whose links the converter rewrites; links of other tags (a table
// cell's BACKGROUND, an EMBED) stay as the page wrote them.
bool IsConvertedTag(const std::string& t) {
    return t == "A" || t == "IMG" || t == "BODY" || t == "INPUT" || t == "FRAME" || t == "AREA" || t == "APPLET";
}

std::string WithoutFragment(const std::string& value) { return value.substr(0, value.find('#')); }

// Every local link value of every page in the root names a file of the tree.
// The index pages are written with the same tags.
void ExpectLocalLinksExist(const std::string& root) {
    std::size_t checked = 0;
    for (const std::string& name : FilesIn(root)) {
        if (!EndsWithNoCase(name, ".HTM") && !EndsWithNoCase(name, ".RSH") && !EndsWithNoCase(name, ".RSI")) continue;
        for (const Link& link : LinksOf(ReadBytes(root + name))) {
            if (!IsLinkAttribute(link.attribute) || !IsConvertedTag(link.tag)) continue;
            const std::string& v = link.value;
            if (v.find("://") != std::string::npos || v == "NOTFOUND" || v.empty() || v[0] == '#' ||
                StartsWithNoCase(v, "mailto:"))
                continue;
            ++checked;
            EXPECT_TRUE(FileExists(root + WithoutFragment(v))) << name << ": " << link.tag << " " << link.attribute
                                                                << "=" << v;
        }
    }
    EXPECT_GT(checked, 10u);
}

// How a browser reaches an address from a page's folder: the folder is host
// and path without the scheme; "/" starts at the site root, which for a
// user folder ("/~name/") is that folder.
std::string SiteRoot(const std::string& folder) {
    const std::size_t tilde = folder.find("/~");
    if (tilde != std::string::npos) return folder.substr(0, folder.find('/', tilde + 1));
    return folder.substr(0, folder.find('/'));
}

std::string Canonical(std::string url) {
    if (StartsWithNoCase(url, "http://")) url = "http://" + url.substr(7);
    const std::size_t port = url.find(":80/");
    if (port != std::string::npos && port < url.find('/', 7)) url.erase(port, 3);
    return ToUpperAscii(url);
}

std::string Resolve(std::string value, const std::string& folder) {
    value = WithoutFragment(value);
    if (value.find("://") != std::string::npos) return Canonical(value);
    if (!value.empty() && value[0] == '/') return Canonical("http://" + SiteRoot(folder) + value);
    std::string base = folder;
    for (;;) {
        if (value.compare(0, 2, "./") == 0) {
            value.erase(0, 2);
        } else if (value.compare(0, 3, "../") == 0) {
            value.erase(0, 3);
            base.pop_back();
            base.erase(base.rfind('/') + 1);
        } else {
            break;
        }
    }
    return Canonical("http://" + base + value);
}

std::string FolderOf(const std::string& url) {
    const std::string rest = url.substr(url.find("://") + 3);
    return rest.substr(0, rest.rfind('/') + 1);
}

// For every copied page, every link of its cached original that leads to
// another copied page must lead to that page's copy in the converted one.
void ExpectCopiedPagesReached(const RunFixture& f) {
    std::unordered_map<std::string, std::string> copyOf;  // canonical address -> local name
    std::vector<std::pair<std::string, std::string>> pages;
    const std::string list = f.Read("HTMLIST");
    std::vector<std::string> lines;
    for (std::size_t s = 0, e; (e = list.find("\r\n", s)) != std::string::npos; s = e + 2)
        lines.push_back(list.substr(s, e - s));
    for (std::size_t i = 0; i + 2 < lines.size(); i += 3) {
        copyOf.emplace(Canonical(lines[i]), lines[i + 2]);
        pages.emplace_back(lines[i], lines[i + 2]);
    }
    const CacheFolder cache(f.settings.CacheDir);
    std::unordered_map<std::string, std::string> cacheFileOf;
    for (const CacheEntry& e : f.entries) cacheFileOf.emplace(e.Url, *cache.Find(e.Body.Name));

    std::size_t reached = 0;
    for (const auto& [url, name] : pages) {
        auto original = cacheFileOf.find(url);
        if (original == cacheFileOf.end()) original = cacheFileOf.find(url + "./");
        ASSERT_NE(original, cacheFileOf.end()) << url;
        std::string folder = FolderOf(url);
        std::set<std::string> wanted;
        for (const Link& link : LinksOf(ReadBytes(original->second))) {
            if (link.tag == "BASE" && link.attribute == "HREF") {
                folder = FolderOf(link.value);
                continue;
            }
            const bool hyperlink = (link.tag == "A" || link.tag == "AREA") && link.attribute == "HREF";
            if (!hyperlink && !(link.tag == "FRAME" && link.attribute == "SRC")) continue;
            if (link.value.empty() || link.value[0] == '#' || StartsWithNoCase(link.value, "mailto:")) continue;
            const auto target = copyOf.find(Resolve(link.value, folder));
            if (target != copyOf.end()) wanted.insert(target->second);
        }
        std::set<std::string> present;
        for (const Link& link : LinksOf(f.Read(name))) present.insert(WithoutFragment(link.value));
        for (const std::string& target : wanted) {
            ++reached;
            EXPECT_TRUE(present.count(target)) << name << " (" << url << ") does not link to " << target;
        }
    }
    EXPECT_GT(reached, 5u);
}

void RunAndCheck(RunFixture& f) {
    const RunOutcome outcome = f.RunAnswering(Answer::No);
    EXPECT_EQ(outcome.ending, Ending::Finished);
    EXPECT_FALSE(outcome.viewIndexRequested);
    EXPECT_TRUE(outcome.copyFailures.empty());
    ExpectLocalLinksExist(f.settings.OfflineDir);
    ExpectCopiedPagesReached(f);
}

TEST(UncacheRunLinks, HashFormSample) {
    RunFixture f;
    f.UseCache(std::string(RESTASH_SOURCE_DIR) + "/samples/hash-cache/", "FAT.DB");
    ASSERT_EQ(f.format, IndexFormat::HashIndex);
    RunAndCheck(f);
}

TEST(UncacheRunLinks, TextFormSample) {
    RunFixture f;
    f.UseCache(std::string(RESTASH_SOURCE_DIR) + "/samples/text-cache/", "FAT");
    ASSERT_EQ(f.format, IndexFormat::TextIndex);
    // The sample's history is the user's: the run works on a copy.
    WriteBytes(f.settings.HistPath, ReadBytes(f.settings.CacheDir + "NETSCAPE.HST"));
    RunAndCheck(f);
    EXPECT_NE(ReadBytes(f.settings.HistPath).find("file://" + f.settings.OfflineDir), std::string::npos);
}

// Sites with plain and user folders, pages of one name in many folders,
// query addresses, and links written every way a page may write them.
class SiteGenerator {
public:
    std::vector<NsObject> Generate() {
        const std::vector<std::string> hosts{"www.north.example", "south.example", "home.east.example"};
        const std::vector<std::string> folders{"/", "/docs/", "/docs/old/", "/~kim/", "/~kim/pics/"};
        for (const std::string& host : hosts)
            for (const std::string& folder : folders) {
                pages_.push_back({host, folder, "index.html"});
                pages_.push_back({host, folder, "page" + std::to_string(pages_.size()) + ".html"});
                if (folder == "/docs/") pages_.push_back({host, folder, "find.cgi?q=" + std::to_string(pages_.size())});
            }
        std::vector<NsObject> objects;
        for (std::size_t i = 0; i < pages_.size(); ++i) {
            std::string body = "<HTML><HEAD><TITLE>Page " + std::to_string(i) + "</TITLE></HEAD><BODY>\r\n";
            for (int k = 0; k < 8; ++k) {
                const Target& to = pages_[Pick(pages_.size())];
                body += "<A HREF=\"" + Write(pages_[i], to) + (Pick(4) == 0 ? "#part" : "") + "\">link</A>\r\n";
            }
            body += "<IMG SRC=\"/pics/shared.gif\"> <A HREF=\"gone" + std::to_string(i) + ".html\">gone</A>\r\n";
            if (i % 7 == 0) body += "<FRAMESET><FRAME SRC=\"" + Write(pages_[i], pages_[(i + 1) % pages_.size()]) + "\"></FRAMESET>\r\n";
            body += "</BODY></HTML>\r\n";
            objects.push_back(Object(pages_[i].Url(), "text/html", body));
        }
        for (const std::string& host : hosts)
            objects.push_back(Object("http://" + host + "/pics/shared.gif", "image/gif", StripedGif(2, 2, 0, 0xFFFFFF)));
        return objects;
    }

private:
    struct Target {
        std::string host, folder, name;
        std::string Url() const { return "http://" + host + folder + name; }
    };

    std::size_t Pick(std::size_t n) { return static_cast<std::size_t>(rng_() % n); }

    static bool InUserFolder(const Target& t) { return t.folder.compare(0, 2, "/~") == 0; }

    // One of the ways from page from to page to.
    std::string Write(const Target& from, const Target& to) {
        const bool sameHost = from.host == to.host;
        switch (Pick(5)) {
            case 0: return to.Url();
            case 1: return "http://" + to.host + ":80" + to.folder + to.name;
            case 2: return "HTTP://" + to.host + to.folder + to.name;
            case 3:
                // From the site root, which a user folder is for its own pages.
                if (sameHost && !InUserFolder(from) && !InUserFolder(to)) return to.folder + to.name;
                if (sameHost && InUserFolder(from) && InUserFolder(to)) return to.folder.substr(5) + to.name;
                return to.Url();
            default: {
                if (!sameHost) return to.Url();
                // Up from the page's folder to the common one, then down.
                std::string up = from.folder, down = to.folder, prefix = Pick(2) ? "./" : "";
                while (down.compare(0, up.size(), up) != 0) {
                    up.erase(up.rfind('/', up.size() - 2) + 1);
                    prefix += "../";
                }
                return prefix + down.substr(up.size()) + to.name;
            }
        }
    }

    std::mt19937 rng_{1997};
    std::vector<Target> pages_;
};

TEST(UncacheRunLinks, GeneratedInterlinkedSites) {
    RunFixture f;
    f.HashCache(SiteGenerator().Generate());
    ASSERT_GT(f.entries.size(), 30u);
    RunAndCheck(f);
    // Fifteen pages called index.html share one name and its numbers.
    for (const char* name : {"INDEX.HTM", "INDEX1.HTM", "INDEX14.HTM"}) EXPECT_TRUE(FileExists(f.Offline(name))) << name;
}

}  // namespace
}  // namespace restash::test
