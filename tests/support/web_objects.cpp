#include "tests/support/web_objects.h"

#include <zlib.h>

#include <stdexcept>

#include "tests/support/gif.h"

namespace restash::test {
namespace {

constexpr const char* kSite = "http://www.example.com/";

WebObject Page(std::string path, std::string head, std::string body, std::string mime,
               std::uint32_t fetched) {
    WebObject o;
    o.address = kSite + path;
    o.responseHead = std::move(head);
    o.body = body;
    o.decoded = std::move(body);
    o.mimeType = std::move(mime);
    o.lastFetched = fetched;
    o.lastModified = fetched - 3600;
    return o;
}

std::string Html(std::string_view title, std::string_view rest) {
    return "<HTML><HEAD><TITLE>" + std::string(title) + "</TITLE></HEAD><BODY>" + std::string(rest) +
           "</BODY></HTML>\r\n";
}

std::string Large(std::size_t bytes, char fill) {
    std::string s = "/* large script */\n";
    while (s.size() < bytes) s += std::string("var x") + fill + " = 1;\n";
    return s;
}

}  // namespace

std::string ResponseHead(std::string_view statusLine, const std::vector<std::string>& headers) {
    std::string head = std::string(statusLine) + "\r\n";
    for (const std::string& h : headers) head += h + "\r\n";
    return head;
}

std::string Gzip(std::string_view body) {
    z_stream zs{};
    if (deflateInit2(&zs, 9, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2 failed");
    std::string out(deflateBound(&zs, static_cast<uLong>(body.size())) + 32, '\0');
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(body.data()));
    zs.avail_in = static_cast<uInt>(body.size());
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = static_cast<uInt>(out.size());
    const int rc = deflate(&zs, Z_FINISH);
    deflateEnd(&zs);
    if (rc != Z_STREAM_END) throw std::runtime_error("deflate failed");
    out.resize(zs.total_out);
    return out;
}

std::vector<WebObject> SampleSite() {
    const std::string ok = "HTTP/1.1 200 OK";
    std::vector<WebObject> site;
    site.push_back(Page(
        "index.html", ResponseHead(ok, {"Content-Type: text/html", "Date: Sun, 09 Sep 2001 01:46:40 GMT"}),
        Html("Home", "<A HREF=\"page2.html\">Two</A> <IMG SRC=\"logo.gif\"> <A HREF=\"news.html\">News</A>"),
        "TEXT/HTML", 1000000000));
    site.push_back(Page("page2.html", ResponseHead(ok, {"Content-Type: text/html; charset=UTF-8"}),
                        Html("Two", "<A HREF=\"index.html\">Home</A> <A HREF=\"latin.html\">Latin</A>"),
                        "TEXT/HTML", 1000000100));
    site.push_back(Page("logo.gif", ResponseHead(ok, {"Content-Type: image/gif"}),
                        StripedGif(40, 20, 0x3366cc, 0xffffff), "IMAGE/GIF", 1000000200));
    WebObject news =
        Page("news.html", ResponseHead(ok, {"Content-Type: text/html", "Content-Encoding: gzip"}),
             Html("News", "<P>Compressed news, <A HREF=\"index.html\">home</A>.</P>" + std::string(600, ' ')),
             "TEXT/HTML", 1000000300);
    news.body = Gzip(news.decoded);
    site.push_back(news);
    site.push_back(Page("latin.html", ResponseHead(ok, {"Content-Type: text/html; charset=ISO-8859-1"}),
                        Html("Caf\xe9",
                             "<P>Cr\xe8"
                             "me br\xfb"
                             "l\xe9"
                             "e <A HREF=\"page2.html\">back</A></P>"),
                        "TEXT/HTML", 1000000400));
    WebObject post = Page("search.cgi", ResponseHead(ok, {"Content-Type: text/html"}),
                          Html("Results", "<P>3 results</P>"), "TEXT/HTML", 1000000500);
    post.method = "POST";
    post.postId = 0x3b9aca05;
    site.push_back(post);
    site.push_back(Page("big.js", ResponseHead(ok, {"Content-Type: application/x-javascript"}),
                        Large(40000, 'a'), "APPLICATION/X-JAVASCRIPT", 1000000600));
    WebObject gone = Page("gone.js", ResponseHead(ok, {"Content-Type: application/x-javascript"}),
                          Large(30000, 'b'), "APPLICATION/X-JAVASCRIPT", 1000000700);
    gone.bodyMissing = true;
    site.push_back(gone);
    WebObject plain = Page("notes.txt", "HTTP/1.0 200 OK\r\n", "plain notes, no content type\r\n",
                           "TEXT/PLAIN", 1000000800);
    plain.charsetElement = "windows-1252";
    site.push_back(plain);
    return site;
}

}  // namespace restash::test
