// Generates a large Netscape cache for performance and robustness runs:
// N objects over D domains (pages with many links of every kind, GIF images,
// some other files), written through the same writers as the test fixtures.
//
//   generate_cache --out DIR [--form hash|text] [--entries N] [--domains D]
//                  [--seed S] [--page-kb MIN-MAX] [--image-kb MIN-MAX]
//                  [--links MIN-MAX] [--db-page 16384|4096] [--big-endian]
//                  [--record-version 3|5]
#include <malloc.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

#include "tests/support/gif.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/sample_files.h"
#include "tests/support/temp_dir.h"

#include "tools/tool_help.h"

namespace restash::test {
namespace {

struct Range {
    int min, max;
};

struct Config {
    std::string out;
    std::string form = "hash";
    int entries = 100'000;
    int domains = 1'000;
    std::uint32_t seed = 1;
    Range pageKb{2, 30};
    Range imageKb{1, 50};
    Range links{20, 80};
    unsigned dbPage = 16384;
    bool bigEndian = false;
    int version = 3;
};

enum class Kind { Page, Image, Other };

struct Planned {
    std::string host;  // "www.site12.example"
    std::string dir;   // "/docs/" or "/~user3/pics/"
    std::string name;  // "page17.html"
    std::string query; // "" or "?id=4"
    Kind kind;
    std::string Url() const { return "http://" + host + dir + name + query; }
};

class Generator {
public:
    explicit Generator(const Config& c) : c_(c), rng_(c.seed) {}

    int Pick(int lo, int hi) { return lo + static_cast<int>(rng_() % static_cast<std::uint32_t>(hi - lo + 1)); }
    bool Chance(int percent) { return Pick(1, 100) <= percent; }

    std::vector<Planned> Plan() {
        std::vector<Planned> plan;
        plan.reserve(static_cast<std::size_t>(c_.entries));
        for (int i = 0; i < c_.entries; ++i) {
            Planned p;
            p.host = "www.site" + std::to_string(Pick(0, c_.domains - 1)) + ".example";
            static const char* dirs[] = {"/", "/docs/", "/docs/old/", "/products/", "/news/1997/", "/pics/"};
            p.dir = Chance(15) ? "/~user" + std::to_string(Pick(1, 9)) + dirs[Pick(0, 5)] : dirs[Pick(0, 5)];
            int roll = Pick(1, 100);
            p.kind = roll <= 60 ? Kind::Page : roll <= 90 ? Kind::Image : Kind::Other;
            const std::string n = std::to_string(i);
            if (p.kind == Kind::Page) {
                p.name = Chance(10) ? "search.cgi" : "page" + n + ".html";
                if (p.name == "search.cgi") p.query = "?q=item" + n + "&page=" + std::to_string(Pick(1, 5));
            } else if (p.kind == Kind::Image) {
                p.name = "img" + n + ".gif";
            } else {
                p.name = Chance(50) ? "file" + n + ".zip" : "notes" + n + ".txt";
            }
            plan.push_back(p);
        }
        return plan;
    }

    static std::vector<std::string> Segments(const std::string& dir) {
        std::vector<std::string> parts;
        std::size_t from = 1;
        for (std::size_t slash; (slash = dir.find('/', from)) != std::string::npos; from = slash + 1)
            parts.push_back(dir.substr(from, slash - from));
        return parts;
    }

    // The relative path from one folder to another: "../../pics/".
    static std::string RelativeDir(const std::string& from, const std::string& to) {
        const auto a = Segments(from), b = Segments(to);
        std::size_t common = 0;
        while (common < a.size() && common < b.size() && a[common] == b[common]) ++common;
        std::string rel;
        for (std::size_t i = common; i < a.size(); ++i) rel += "../";
        for (std::size_t i = common; i < b.size(); ++i) rel += b[i] + "/";
        return rel;
    }

    // A link from page to target in one of the forms pages really use.
    std::string LinkTo(const Planned& page, const Planned& target) {
        const std::string path = target.dir + target.name + target.query;
        if (target.host != page.host) return Chance(80) ? target.Url() : "http://" + target.host + ":80" + path;
        const std::string relative = RelativeDir(page.dir, target.dir) + target.name + target.query;
        switch (Pick(0, 5)) {
            case 0:
            case 1:
                return relative;
            case 2:
                return relative.starts_with("../") ? relative : "./" + relative;
            case 3:
                // Root-relative; on a user's pages "/" is the user's folder.
                if (!page.dir.starts_with("/~") && !target.dir.starts_with("/~")) return path;
                return relative;
            case 4:
                return "http://" + target.host + ":80" + path;
            default:
                return target.Url();
        }
    }

    std::string Words(int count) {
        static const char* words[] = {"widget", "river", "library", "sprocket", "garden", "planet", "brass",
                                      "weather", "netscape", "archive", "sunset", "catalogue", "harbour",
                                      "lantern", "meadow", "copper", "orchard", "signal", "compass", "violet"};
        std::string text;
        for (int i = 0; i < count; ++i) {
            if (i) text += ' ';
            text += words[Pick(0, 19)];
        }
        return text;
    }

    std::string PageBody(const Planned& page, const std::vector<Planned>& plan) {
        const int targetBytes = Pick(c_.pageKb.min, c_.pageKb.max) * 1024;
        std::string html = "<HTML>\r\n<HEAD><TITLE>" + Words(4) + "</TITLE></HEAD>\r\n";
        html += Chance(30) ? "<BODY BACKGROUND=\"bg.gif\">\r\n" : "<BODY>\r\n";
        html += "<!-- " + Words(6) + " -->\r\n<A NAME=\"top\"></A>\r\n";
        const int links = Pick(c_.links.min, c_.links.max);
        for (int i = 0; i < links; ++i) {
            // Most links stay on the page's own site.
            const std::vector<std::size_t>& site = byHost_[page.host];
            const std::size_t index = Chance(70) ? site[static_cast<std::size_t>(Pick(0, static_cast<int>(site.size()) - 1))]
                                                 : static_cast<std::size_t>(Pick(0, static_cast<int>(plan.size()) - 1));
            const Planned& target = plan[index];
            std::string link = Chance(10) ? "missing" + std::to_string(Pick(0, 99999)) + ".html" : LinkTo(page, target);
            if (Chance(5)) link += "#part" + std::to_string(Pick(1, 9));
            switch (target.kind == Kind::Image ? Pick(0, 2) : Pick(3, 9)) {
                case 0: html += "<IMG SRC=\"" + link + "\" ALT=\"" + Words(2) + "\">\r\n"; break;
                case 1: html += "<IMG SRC=" + link + " LOWSRC=" + link + ">\r\n"; break;
                case 2: html += "<BODY BACKGROUND=\"" + link + "\">\r\n"; break;
                case 3: html += "<A HREF='" + link + "'>" + Words(2) + "</A>\r\n"; break;
                case 4: html += "<FRAME SRC=\"" + link + "\">\r\n"; break;
                case 5: html += "<AREA SHAPE=rect COORDS=\"0,0,9,9\" HREF=\"" + link + "\">\r\n"; break;
                default: html += "<P><A HREF=\"" + link + "\">" + Words(3) + "</A> " + Words(8) + "</P>\r\n"; break;
            }
        }
        html += "<A HREF=\"mailto:webmaster@" + page.host + "\">Mail</A> <A HREF=\"#top\">Top</A>\r\n";
        // A word found on about one page in 200, for searches with few hits.
        if (Pick(1, 200) == 1) html += "<P>A Zeppelin passed over the " + Words(1) + ".</P>\r\n";
        while (static_cast<int>(html.size()) < targetBytes) html += "<P>" + Words(40) + "</P>\r\n";
        return html + "</BODY>\r\n</HTML>\r\n";
    }

    std::string ImageBody() {
        const double pixels = Pick(c_.imageKb.min, c_.imageKb.max) * 1024.0 * 8.0 / 4.5;
        const int side = std::max(1, static_cast<int>(std::sqrt(pixels)));
        return StripedGif(side, side, rng_() & 0xffffff, rng_() & 0xffffff);
    }

    std::string OtherBody(const Planned& p) {
        std::string text = Words(Pick(50, 2000)) + "\r\n";
        return p.name.ends_with(".zip") ? ZipWithOneFile("README.TXT", text) : text;
    }

    void Run() {
        const std::vector<Planned> plan = Plan();
        for (std::size_t i = 0; i < plan.size(); ++i) byHost_[plan[i].host].push_back(i);
        const std::string folder = c_.out + "/";
        std::filesystem::create_directories(folder);
        HashCacheOptions options;
        options.pageSize = c_.dbPage;
        options.bigEndian = c_.bigEndian;
        HashCacheWriter writer(folder, "FAT.DB", options);
        std::vector<NsObject> textObjects;
        if (c_.form == "hash") writer.BeginSession();
        std::int32_t clock = 852'076'800;  // 1 January 1997
        for (std::size_t i = 0; i < plan.size(); ++i) {
            const Planned& p = plan[i];
            NsObject o;
            o.url = p.Url();
            o.mimeType = p.kind == Kind::Page    ? "text/html"
                         : p.kind == Kind::Image ? "image/gif"
                         : p.name.ends_with(".zip") ? "application/x-zip-compressed"
                                                     : "text/plain";
            o.fileName = EightThreeName(0x0100000u + static_cast<unsigned>(i) * 0x2F1u, o.mimeType);
            o.version = c_.version;
            clock += Pick(1, 600);
            o.lastAccessed = clock;
            o.lastModified = clock - Pick(0, 86400 * 365);
            // The generator writes the file itself so that no body is kept.
            const std::string body = p.kind == Kind::Page    ? PageBody(p, plan)
                                     : p.kind == Kind::Image ? ImageBody()
                                                             : OtherBody(p);
            WriteBytes(folder + o.fileName, body);
            o.contentLength = static_cast<std::int32_t>(body.size());
            o.writeFile = false;
            if (c_.form == "hash") writer.Put(o);
            else textObjects.push_back(o);
        }
        if (c_.form == "hash") writer.EndSession(true);
        else WriteTextCache(folder, textObjects);
    }

private:
    const Config& c_;
    std::mt19937 rng_;
    std::unordered_map<std::string, std::vector<std::size_t>> byHost_;
};

Range ParseRange(const std::string& text) {
    const auto dash = text.find('-');
    if (dash == std::string::npos) throw std::invalid_argument("a range is MIN-MAX: " + text);
    Range r{std::stoi(text.substr(0, dash)), std::stoi(text.substr(dash + 1))};
    if (r.min < 0 || r.max < r.min) throw std::invalid_argument("bad range: " + text);
    return r;
}

Config ParseArgs(int argc, char** argv) {
    Config c;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--big-endian") {
            c.bigEndian = true;
            continue;
        }
        if (i + 1 >= argc) throw std::invalid_argument("missing value for " + arg);
        const std::string value = argv[++i];
        if (arg == "--out") c.out = value;
        else if (arg == "--form") c.form = value;
        else if (arg == "--entries") c.entries = std::stoi(value);
        else if (arg == "--domains") c.domains = std::stoi(value);
        else if (arg == "--seed") c.seed = static_cast<std::uint32_t>(std::stoul(value));
        else if (arg == "--page-kb") c.pageKb = ParseRange(value);
        else if (arg == "--image-kb") c.imageKb = ParseRange(value);
        else if (arg == "--links") c.links = ParseRange(value);
        else if (arg == "--db-page") c.dbPage = static_cast<unsigned>(std::stoul(value));
        else if (arg == "--record-version") c.version = std::stoi(value);
        else throw std::invalid_argument("unknown option " + arg);
    }
    if (c.out.empty()) throw std::invalid_argument("--out DIR is required");
    if (c.form != "hash" && c.form != "text") throw std::invalid_argument("--form is hash or text");
    if (c.entries < 1 || c.domains < 1) throw std::invalid_argument("--entries and --domains must be positive");
    if (c.dbPage != 4096 && c.dbPage != 16384) throw std::invalid_argument("--db-page is 4096 or 16384");
    if (c.version != 3 && c.version != 5) throw std::invalid_argument("--record-version is 3 or 5");
    return c;
}

}  // namespace
}  // namespace restash::test

int main(int argc, char** argv) {
    if (restash::tools::AnswersHelp(
            argc, argv,
            "Usage: generate_cache --out DIR [--form hash|text] [--entries N] [--domains N] [--seed N]\n"
            "                      [--page-kb MIN-MAX] [--image-kb MIN-MAX] [--links MIN-MAX]\n"
            "                      [--db-page 4096|16384] [--record-version 3|5] [--big-endian]\n"
            "Writes a large Netscape cache of generated pages and images for the benchmarks.\n"))
        return 0;
    // Zero-filled allocations keep the index file the same from run to run.
    mallopt(M_PERTURB, 0xff);
    try {
        const restash::test::Config config = restash::test::ParseArgs(argc, argv);
        restash::test::Generator(config).Run();
        std::printf("%d objects over %d domains written to %s (%s form)\n", config.entries, config.domains,
                    config.out.c_str(), config.form.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "generate_cache: %s\n", e.what());
        return std::string(e.what()).find("--") != std::string::npos ? 2 : 1;
    }
    return 0;
}
