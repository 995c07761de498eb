#include "core/web/url.h"

#include <gtest/gtest.h>

#include <string>

namespace restash {
namespace {

TEST(NormaliseURL, RemovesPort80FromTheHostAndUpperCasesTheScheme) {
    EXPECT_EQ(NormaliseURL("http://host:80/x/y.html"), "HTTP://host/x/y.html");
    EXPECT_EQ(NormaliseURL("Http://host:80"), "HTTP://host");
    EXPECT_EQ(NormaliseURL("http://host:81/"), "HTTP://host:81/");
    EXPECT_EQ(NormaliseURL("host:80/x/"), "host/x/");
    EXPECT_EQ(NormaliseURL("http://host:80/b:80"), "HTTP://host/b");
    EXPECT_EQ(NormaliseURL("http://host/x:80/y"), "HTTP://host/x:80/y");
}

TEST(NormaliseURL, LeavesEverythingElseAlone) {
    EXPECT_EQ(NormaliseURL("ab"), "ab");
    EXPECT_EQ(NormaliseURL(":80"), "");
    EXPECT_EQ(NormaliseURL(""), "");
    EXPECT_EQ(NormaliseURL("HTTP://Host/Dir/Page.HTML"), "HTTP://Host/Dir/Page.HTML");
    // Another scheme keeps its prefix; its "//" comes before any ":80/".
    EXPECT_EQ(NormaliseURL("ftp://host:80/x"), "ftp://host:80/x");
    // A final ":80" goes only when it is the first ":80" of the text.
    EXPECT_EQ(NormaliseURL("http://host/a:80b:80"), "HTTP://host/a:80b:80");
    EXPECT_EQ(NormaliseURL("http://host:8080/"), "HTTP://host:8080/");
}

TEST(NormaliseURL, KeepsLongURLsWhole) {
    const std::string path(600, 'p');
    EXPECT_EQ(NormaliseURL("http://host:80/" + path), "HTTP://host/" + path);
}

TEST(DomainOf, GivesTheHostWithItsCaseAndWithoutPort80) {
    EXPECT_EQ(DomainOf("http://WWW.Some.Host:80/x"), "WWW.Some.Host");
    EXPECT_EQ(DomainOf("http://host:81/x"), "host:81");
    EXPECT_EQ(DomainOf("http://host"), "host");
    EXPECT_EQ(DomainOf("HTTP://host:80"), "host");
    EXPECT_EQ(DomainOf("http:///x"), "");
    EXPECT_EQ(DomainOf("http://"), "");
}

TEST(DomainOf, NamesTheHostOfOtherSchemesToo) {
    EXPECT_EQ(DomainOf("https://secure.host/a/b"), "secure.host");
    EXPECT_EQ(DomainOf("ftp://ftp.host/pub/file.zip"), "ftp.host");
    EXPECT_EQ(DomainOf("about:blank"), "about:blank");
    EXPECT_EQ(DomainOf("news:comp.lang/x"), "news:comp.lang");
}

struct MapRow {
    const char* url;
    const char* baseURL;
    const char* baseName;
};

TEST(MapURL, GivesBaseURLAndBaseName) {
    const MapRow rows[] = {
        {"http://host/dir/page.html", "host/dir/", "PAGE"},
        {"http://www.somehost/", "www.somehost/", "WWWSOMEH"},
        {"http://host/docs/", "host/docs/", "DOCS"},
        {"http://host:80/a/my-long_file.name.gif", "host/a/", "MYLONG_F"},
        {"http://host/a/archive.tar.gz", "host/a/", "ARCHIVET"},
        {"http://host/cgi-bin/query?a=1", "host/cgi-bin/", "QUERYA1"},
        {"http://host/%7Euser/", "host/%7Euser/", "7EUSER"},
        {"http://host/...", "host/", "RESTASHD"},
        {"http://my.host", "", "MY"},
        // Not special here: the run strips a final "/./" first.
        {"http://host/dir/./", "host/dir/./", "RESTASHD"},
        {"http://host/a/{x}|y.htm", "host/a/", "{X}Y"},
        {"http://host/a/b\xe9" "c d*e.gif", "host/a/", "BCDE"},
        {"HTTP://Host:80/Dir/", "Host/Dir/", "DIR"},
    };
    for (const MapRow& row : rows) {
        const MappedURL mapped = MapURL(row.url);
        EXPECT_EQ(mapped.baseURL, row.baseURL) << row.url;
        EXPECT_EQ(mapped.baseName, row.baseName) << row.url;
    }
}

TEST(MapURL, HandlesURLsWithoutSchemeOrSlash) {
    MappedURL mapped = MapURL("about:blank");
    EXPECT_EQ(mapped.baseURL, "");
    EXPECT_EQ(mapped.baseName, "ABOUTBLA");
    mapped = MapURL("ftp://ftp.host/pub/readme.txt");
    EXPECT_EQ(mapped.baseURL, "ftp.host/pub/");
    EXPECT_EQ(mapped.baseName, "README");
    mapped = MapURL("");
    EXPECT_EQ(mapped.baseURL, "");
    EXPECT_EQ(mapped.baseName, "RESTASHD");
    mapped = MapURL("http://");
    EXPECT_EQ(mapped.baseURL, "");
    EXPECT_EQ(mapped.baseName, "RESTASHD");
}

TEST(MapURL, CutsTheBaseURLOnlyToTheLengthAskedFor) {
    const std::string dir(300, 'd');
    const std::string url = "http://host/" + dir + "/page.html";
    EXPECT_EQ(MapURL(url, 100000).baseURL, "host/" + dir + "/");
    EXPECT_EQ(MapURL(url, 255).baseURL, ("host/" + dir + "/").substr(0, 255));
    EXPECT_EQ(MapURL(url, 255).baseName, "PAGE");
}

TEST(NumberedName, MakesRoomForTheNumber) {
    EXPECT_EQ(NumberedName("PAGE", 1), "PAGE1");
    EXPECT_EQ(NumberedName("MYLONG_F", 1), "MYLONG_1");
    EXPECT_EQ(NumberedName("MYLONG_F", 12), "MYLONG12");
    EXPECT_EQ(NumberedName("A", 65535), "A65535");
    EXPECT_EQ(NumberedName("PAGE", 65536), "PAG65536");
    EXPECT_EQ(NumberedName("RESTASHD", 1234567), "R1234567");
}

TEST(CleanURL, DropsEveryFinalDotSegmentButKeepsTheSlash) {
    EXPECT_EQ(CleanURL("http://a.example/docs/./"), "http://a.example/docs/");
    EXPECT_EQ(CleanURL("http://a.example/docs/././"), "http://a.example/docs/");
    EXPECT_EQ(CleanURL("http://a.example/./docs/"), "http://a.example/./docs/");
    EXPECT_EQ(CleanURL("http://a.example/docs/."), "http://a.example/docs/.");
}

TEST(EntryDomain, IsTheDomainCutToItsCapacity) {
    const std::string host(60, 'h');
    EXPECT_EQ(EntryDomain("http://" + host + ":80/x"), host.substr(0, kDomainCapacity));
    EXPECT_EQ(EntryDomain("HTTP://Host.Example:80/"), "Host.Example");
}

}  // namespace
}  // namespace restash
