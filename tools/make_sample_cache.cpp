// Regenerates the bundled sample caches under samples/ (or the folder given):
// a hash-form cache (hash-cache/FAT.DB) and a text-form cache (text-cache/FAT
// with NETSCAPE.HST), each a few interlinked 1997-era sites. The output is
// the same on every run.
#include <malloc.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/gif.h"
#include "tests/support/history_file.h"
#include "tests/support/netscape_cache.h"
#include "tests/support/sample_files.h"

#include "tools/tool_help.h"

namespace restash::test {
namespace {

// Builds the objects of one cache with Netscape-like 8.3 names and time stamps.
class Cache {
public:
    Cache(unsigned nameSeed, std::int32_t firstVisit) : next_(nameSeed), clock_(firstVisit) {}

    NsObject& Add(const std::string& url, const std::string& mime, std::string body) {
        NsObject o;
        o.url = url;
        o.mimeType = mime;
        o.body = std::move(body);
        o.fileName = EightThreeName(next_, mime);
        next_ += 0x2F1;
        clock_ += 97;  // the visits of one afternoon, a minute and a half apart
        o.lastAccessed = clock_;
        o.lastModified = clock_ - 86400 * 40;
        objects.push_back(o);
        return objects.back();
    }

    std::vector<NsObject> objects;

private:
    unsigned next_;
    std::int32_t clock_;
};

std::string Gif(int w, int h, std::uint32_t ink, std::uint32_t paper) { return StripedGif(w, h, ink, paper); }

void HashSample(const std::string& folder) {
    Cache c(0x0A1B2C3, 866'200'000);  // June 1997
    const std::string rb = "http://www.riverbend.example/";

    c.Add(rb, "text/html", R"(<HTML>
<HEAD>
<TITLE>Riverbend Widgets - Home</TITLE>
<!-- Home page. Keep the links below in step with nav.html -->
</HEAD>
<BODY BACKGROUND="images/paper.gif" BGCOLOR=#FFFFEE>
<A NAME="top"></A>
<IMG SRC="logo.gif" LOWSRC="logo-lo.gif" ALT="Quillwort" WIDTH=120 HEIGHT=60>
<H1>Welcome to Riverbend Widgets</H1>
<P>Riverbend has made fine brass widgets and copper sprockets since 1952.
Our widgets turn smoothly in any weather.</P>
<UL>
<LI><A HREF="about.html">About the company</A>
<LI><A HREF="about.html#history">Our history</A>
<LI><A HREF=./products/index.html>Product catalogue</A>
<LI><A HREF="/news/today.html">Today's news</A>
<LI><A HREF="http://www.riverbend.example/frames.html">Frames version</A>
<LI><A HREF="http://www.riverbend.example:80/readme.txt">Read me first</A>
<LI><A HREF="search.cgi?q=widgets&page=2">More widgets</A>
<LI><A HREF='downloads/widgets.zip'>Catalogue (old link)</A>
<LI><A HREF="downloads/widgets.zip">Download the catalogue</A>
<LI><A HREF="https://secure.riverbend.example/account.html">Your account</A>
<LI><A HREF="http://home.netpages.example/~joe/">Joe's home page</A>
<LI><A HREF="http://www.photohost.example/gallery/index.html">Photo gallery</A>
<LI><A HREF="jobs.html">Jobs at Riverbend</A>
<LI><A HREF="http://www.browserco.example/download/">Get the latest browser</A>
<LI><A HREF="mailto:sales@riverbend.example">Write to sales</A>
</UL>
<P><A HREF="#top">Back to top</A></P>
</BODY>
</HTML>
)");
    c.Add(rb + "about.html", "text/html", R"(<HTML><HEAD><TITLE>About Riverbend</TITLE></HEAD>
<BODY BACKGROUND=images/paper.gif>
<H2>About us</H2>
<P>Forty employees work at the mill by the river. We ship sprockets to every state.</P>
<A NAME="history"><H2>History</H2></A>
<P>Founded in 1952 by Ada Marsh, who built the first brass widget in her barn.</P>
<P><A HREF="/">Home</A> | <A HREF="products/widget.html">The widget</A> |
<A HREF="http://www.riverbend.example/products/widget.html#specs">Specifications</A> |
<A HREF="MAILTO:ada@riverbend.example">Mail Ada</A></P>
</BODY></HTML>
)");
    c.Add(rb + "products/index.html", "text/html", R"(<HTML>
<HEAD><TITLE>Riverbend Product Catalogue</TITLE></HEAD>
<BODY>
<!-- image map: left half widget, right half company -->
<IMG SRC="map.gif" USEMAP="#catalogue" BORDER=0>
<MAP NAME="catalogue">
<AREA SHAPE=rect COORDS="0,0,60,40" HREF="widget.html">
<AREA SHAPE=rect COORDS="60,0,120,40" HREF="../about.html">
</MAP>
<P>Browse our brass widgets and copper sprockets.</P>
<UL>
<LI><A HREF="./widget.html">Brass widget</A>
<LI><A HREF="widget.html#specs">Widget specifications</A>
<LI><A HREF="sprocket.html">Copper sprocket</A>
<LI><A HREF="../index.html">Home (old address)</A>
<LI><A HREF="../about.html">About us</A>
</UL>
<APPLET CODE="Ticker.class" WIDTH=300 HEIGHT=20><PARAM NAME=text VALUE="Sale on sprockets"></APPLET>
<FORM ACTION="/order.cgi" METHOD=POST>
<INPUT TYPE=hidden NAME=item VALUE=brass-widget>
Quantity: <INPUT NAME=qty SIZE=3>
<INPUT TYPE=image SRC="buy.gif" NAME=buy>
</FORM>
<TABLE><TR><TD BACKGROUND="cell.gif">Sprockets ship in May.</TD></TR></TABLE>
<IMG SRC="missing.gif" ALT="Not cached">
</BODY>
</HTML>
)");
    c.Add(rb + "products/widget.html", "text/html", R"(<HTML><HEAD><TITLE>The Brass Widget</TITLE></HEAD>
<BODY BGCOLOR=white>
<H1>The Brass Widget</H1>
<IMG SRC="../logo.gif" ALIGN=right>
<P>Our widget is cast in solid brass and polished by hand.</P>
<A NAME="specs"><H2>Specifications</H2></A>
<P>Weight 340 grams, diameter 5 cm, lifetime guarantee.</P>
<P><A HREF="../news/today.html">News</A> | <A HREF="index.html">Catalogue</A> | <A HREF="/">Home</A></P>
</BODY></HTML>
)");
    c.Add(rb + "news/today.html", "text/html", R"(<HTML><HEAD>
<TITLE>Riverbend News</TITLE>
<BASE HREF="http://www.riverbend.example/products/index.html">
</HEAD>
<BODY>
<H1>News of the day</H1>
<P>The new sprocket press arrived on Tuesday.</P>
<P><A HREF="widget.html">Read about the widget</A> <IMG SRC="buy.gif" ALT="Buy"></P>
<P><A HREF="../about.html">About us</A></P>
</BODY></HTML>
)");
    c.Add(rb + "frames.html", "text/html", R"(<HTML><HEAD><TITLE>Riverbend (frames)</TITLE></HEAD>
<FRAMESET COLS="150,*">
<FRAME SRC="nav.html" NAME="nav">
<FRAME SRC="products/index.html" NAME="main">
<NOFRAMES><BODY><A HREF="index.html">No frames</A></BODY></NOFRAMES>
</FRAMESET>
</HTML>
)");
    c.Add(rb + "nav.html", "text/html", R"(<HTML><HEAD><TITLE>Navigation</TITLE></HEAD>
<BODY BACKGROUND="images/paper.gif">
<A HREF="products/index.html" TARGET="main">Catalogue</A><BR>
<A HREF="about.html" TARGET="main">About</A><BR>
<A HREF="/news/today.html" TARGET="main">News</A><BR>
<A HREF="/" TARGET="_top">Home</A>
</BODY></HTML>
)");
    c.Add(rb + "search.cgi?q=widgets&page=2", "text/html", R"(<HTML><HEAD><TITLE>Search results, page 2</TITLE></HEAD>
<BODY>
<P>Results 11 to 12 for widgets:</P>
<OL START=11>
<LI><A HREF="products/widget.html">The Brass Widget</A>
<LI><A HREF="search.cgi?q=widgets&page=1">Previous page</A>
</OL>
</BODY></HTML>
)");
    NsObject& order = c.Add(rb + "order.cgi", "text/html", R"(<HTML><HEAD><TITLE>Order received</TITLE></HEAD>
<BODY><P>Thank you. Two brass widgets will be shipped.</P><A HREF="/">Home</A></BODY></HTML>
)");
    order.postData = "item=brass-widget&qty=2";
    c.Add(rb + "readme.txt", "text/plain",
          "RIVERBEND WIDGETS\r\n\r\nThis server holds our catalogue and price list.\r\n"
          "Sprockets are sold by the dozen.\r\n");
    c.Add(rb + "downloads/widgets.zip", "application/x-zip-compressed",
          ZipWithOneFile("PRICES.TXT", "Brass widget 12.50\r\nCopper sprocket 3.75\r\n"));
    c.Add(rb + "products/Ticker.class", "application/java-vm", JavaClassStub("Ticker"));
    c.Add(rb + "logo.gif", "image/gif", Gif(120, 60, 0x8B4513, 0xFFE4B5));
    c.Add(rb + "logo-lo.gif", "image/gif", Gif(120, 60, 0x000000, 0xFFFFFF));
    c.Add(rb + "images/paper.gif", "image/gif", Gif(32, 32, 0xF5F5DC, 0xFFFFF0));
    c.Add(rb + "products/map.gif", "image/gif", Gif(120, 40, 0x2E8B57, 0xF0FFF0));
    c.Add(rb + "products/buy.gif", "image/gif", Gif(60, 20, 0xB22222, 0xFFFFFF));
    NsObject& account = c.Add("https://secure.riverbend.example/account.html", "text/html",
                              R"(<HTML><HEAD><TITLE>Your Riverbend account</TITLE></HEAD>
<BODY><P>Account balance: 25.00. <A HREF="http://www.riverbend.example/">Back to the shop</A></P></BODY></HTML>
)");
    account.secure = true;

    const std::string joe = "http://home.netpages.example/~joe/";
    c.Add(joe, "text/html", R"(<HTML><HEAD><TITLE>Joe's Home Page</TITLE></HEAD>
<BODY BGCOLOR="#FFFFFF">
<H1>Hi, I'm Joe!</H1>
<IMG SRC="/pics/cat.gif" ALT="My cat Whiskers">
<P>This is my cat. I also collect brass widgets.</P>
<UL>
<LI><A HREF="resume.html">My resume</A>
<LI><A HREF="/links.html">Cool links</A>
<LI><A HREF="http://www.riverbend.example/">Riverbend Widgets</A>
<LI><A HREF="guestbook.html">Sign my guestbook</A>
<LI><A HREF="mailto:joe@netpages.example">Mail me</A>
</UL>
<P>Under construction!</P>
</BODY></HTML>
)");
    c.Add(joe + "resume.html", "text/html", R"(<HTML><HEAD><TITLE>Resume of Joe Smith</TITLE></HEAD>
<BODY>
<H1>Joe Smith</H1>
<P>Experienced widget polisher. References on request.</P>
<A HREF="./">Back home</A> <A HREF="../~joe/pics/cat.gif">The cat</A>
</BODY></HTML>
)");
    c.Add(joe + "links.html", "text/html", R"(<HTML><HEAD><TITLE>Cool Links</TITLE></HEAD>
<BODY>
<A HREF="http://www.photohost.example/gallery/index.html">Sunsets</A><BR>
<A HREF="http://www.search.example/">A search engine</A><BR>
<A HREF="http://home.netpages.example/~joe/">Home</A>
</BODY></HTML>
)");
    c.Add(joe + "pics/cat.gif", "image/gif", Gif(64, 48, 0x808080, 0xFFFFFF));

    const std::string photo = "http://www.photohost.example/gallery/";
    c.Add(photo + "index.html", "text/html", R"(<HTML><HEAD><TITLE>Photo Gallery</TITLE></HEAD>
<BODY BACKGROUND="http://www.photohost.example:80/gallery/dark.gif" TEXT=white>
<H1>Sunset gallery</H1>
<P><IMG SRC="http://www.photohost.example:80/gallery/sunset.gif" ALT="Sunset over the lake"></P>
<P><A HREF="lake.gif"><IMG SRC="lake.gif" WIDTH=40 HEIGHT=30></A> Click for the lake.</P>
<P><IMG SRC="../thumbs/boat.gif"> The boat picture was not kept.</P>
<P><A HREF="http://home.netpages.example/~joe/">Joe's page</A></P>
</BODY></HTML>
)");
    c.Add(photo + "sunset.gif", "image/gif", Gif(160, 100, 0xFF4500, 0xFFD700));
    c.Add(photo + "lake.gif", "image/gif", Gif(80, 60, 0x1E90FF, 0xE0FFFF));

    WriteHashCache(folder, c.objects);
}

void TextSample(const std::string& folder) {
    Cache c(0x05E0A10, 852'100'000);  // January 1997
    const std::string lib = "http://www.oakfield.example/";
    c.Add(lib, "text/html", R"(<html>
<head><title>Oakfield Public Library</title></head>
<!-- maintained by the reference desk -->
<body background="img/linen.gif">
<img src="img/oak.gif" alt="Marigold" lowsrc="img/oak-lo.gif">
<h1>Oakfield Public Library</h1>
<p>Open Monday to Saturday. Borrow books, records and videotapes.</p>
<ul>
<li><a href="hours.html">Opening hours</a>
<li><a href="catalog/search.html">Search the catalogue</a>
<li><a href="/events/">Events this month</a>
<li><a href="http://news.dailyplanet.example/local/library.html">In the news</a>
<li><a href="http://www.oakfield.example:80/hours.html#sunday">Sunday hours</a>
<li><a href="rules.txt">Library rules</a>
<li><a href="forms/card.zip">Library card form</a>
<li><a href="kids.html">Children's corner</a>
<li><a href="mailto:desk@oakfield.example">Ask a librarian</a>
</ul>
<a href="#top">Top</a>
</body>
</html>
)");
    c.Add(lib + "hours.html", "text/html", R"(<html><head><title>Opening Hours</title></head>
<body>
<p>Monday to Friday 9 to 8, Saturday 10 to 4.</p>
<a name="sunday"><p>Closed on Sunday.</p></a>
<a href="./">Home</a> <a href='events/'>Events</a>
</body></html>
)");
    c.Add(lib + "events/", "text/html", R"(<html><head><title>Events</title></head>
<body background="../img/linen.gif">
<p>Story hour every Wednesday. Book sale on the 14th.</p>
<img src="../img/books.gif">
<a href="../hours.html">Hours</a> <a href="/">Library home</a>
</body></html>
)");
    c.Add(lib + "catalog/search.html", "text/html", R"(<html><head><title>Catalogue Search</title></head>
<body>
<form action="find.cgi"><input name=q> <input type=image src="go.gif"></form>
<p>Try <a href="find.cgi?q=gardening">gardening</a> or <a href="find.cgi?q=astronomy">astronomy</a>.</p>
</body></html>
)");
    c.Add(lib + "catalog/find.cgi?q=gardening", "text/html", R"(<html><head><title>Results: gardening</title></head>
<body><p>3 books on gardening found.</p><a href="search.html">New search</a></body></html>
)");
    c.Add(lib + "rules.txt", "text/plain", "Return books within three weeks.\r\nNo food in the reading room.\r\n");
    c.Add(lib + "forms/card.zip", "application/x-zip-compressed",
          ZipWithOneFile("CARD.TXT", "Name:\r\nAddress:\r\n"));
    c.Add(lib + "img/oak.gif", "image/gif", Gif(100, 80, 0x556B2F, 0xFAFAD2));
    c.Add(lib + "img/oak-lo.gif", "image/gif", Gif(100, 80, 0x000000, 0xFFFFFF));
    c.Add(lib + "img/linen.gif", "image/gif", Gif(24, 24, 0xFAF0E6, 0xFFFFFF));
    c.Add(lib + "img/books.gif", "image/gif", Gif(50, 40, 0x8B0000, 0xFFF8DC));
    c.Add(lib + "catalog/go.gif", "image/gif", Gif(30, 16, 0x006400, 0xFFFFFF));

    const std::string news = "http://news.dailyplanet.example/";
    c.Add(news + "local/library.html", "text/html", R"(<HTML><HEAD><TITLE>Library Turns 100</TITLE></HEAD>
<BODY>
<H1>Oakfield library turns 100</H1>
<P>The library celebrates its centenary with a book sale and a brass band.</P>
<IMG SRC="/photos/library.gif" ALT="The library">
<P><A HREF="../index.html">Front page</A> | <A HREF="http://www.oakfield.example/">Library web site</A></P>
</BODY></HTML>
)");
    c.Add(news + "index.html", "text/html", R"(<HTML><HEAD><TITLE>The Daily Planet</TITLE></HEAD>
<BODY>
<H1>The Daily Planet</H1>
<P><A HREF="local/library.html">Library turns 100</A></P>
<P><A HREF="sports/">Sports</A> <A HREF="weather.html">Weather</A></P>
</BODY></HTML>
)");
    c.Add(news + "photos/library.gif", "image/gif", Gif(90, 70, 0x696969, 0xDCDCDC));

    WriteTextCache(folder, c.objects);

    // The browser's history: visits to some of the cached pages, one to an
    // uncached one, and a record of an earlier offline copy.
    std::vector<std::string> history = {kHistoryHeader};
    for (const NsObject& o : c.objects)
        if (o.mimeType == "text/html") history.push_back(HistoryRecord(o.url, o.lastAccessed));
    history.push_back(HistoryRecord("http://www.search.example/", 852'099'000));
    history.push_back(HistoryRecord("file:///C|/OFFLINE/INDEX.HTM", 852'000'000));
    WriteHistoryFile(folder + "/NETSCAPE.HST", history, "\r\n");
}

}  // namespace
}  // namespace restash::test

int main(int argc, char** argv) {
    if (restash::tools::AnswersHelp(argc, argv,
                                    "Usage: make_sample_cache [DIR]\n"
                                    "Writes the sample caches hash-cache/ and text-cache/ into DIR (default: the "
                                    "source tree's samples/), replacing them.\n"))
        return 0;
    namespace fs = std::filesystem;
    // DB 1.85 leaves parts of new pages as malloc handed them out; zero-filled
    // allocations make the index file the same on every run.
    mallopt(M_PERTURB, 0xff);
    std::string out = argc > 1 ? argv[1] : std::string(RESTASH_SOURCE_DIR) + "/samples";
    try {
        for (const char* name : {"hash-cache", "text-cache"}) fs::remove_all(fs::path(out) / name);
        restash::test::HashSample(out + "/hash-cache");
        restash::test::TextSample(out + "/text-cache");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_sample_cache: %s\n", e.what());
        return 1;
    }
    std::printf("Sample caches written to %s\n", out.c_str());
    return 0;
}
