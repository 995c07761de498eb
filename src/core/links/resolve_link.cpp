#include "core/links/resolve_link.h"

#include "core/platform/text.h"
#include "core/web/url.h"

namespace restash {

ResolvedLink ResolveLink(std::string_view link, std::string_view baseURL) {
    ResolvedLink r{NormaliseURL(link), NormaliseURL(baseURL)};
    std::size_t from = 0;
    while (r.link.compare(from, 2, "./") == 0) from += 2;
    while (r.link.compare(from, 3, "../") == 0) {
        from += 3;
        // Climb one directory: drop the final "/", then up to the one before.
        if (!r.base.empty()) r.base.pop_back();
        while (!r.base.empty() && r.base.back() != '/') r.base.pop_back();
    }
    r.link.erase(0, from);
    return r;
}

std::string SiteRoot(std::string_view baseURL) {
    const std::string base = NormaliseURL(baseURL);
    const std::size_t slash = base.find('/');
    if (slash == std::string::npos) return {};
    const std::size_t user = base.find("/~");
    if (user != std::string::npos) return base.substr(0, base.find('/', user + 2));
    return base.substr(0, slash);
}

std::string AbsoluteAddress(const ResolvedLink& resolved, std::string_view baseURL) {
    if (resolved.link.find("://") != std::string::npos) return resolved.link;
    if (!resolved.link.empty() && resolved.link.front() == '/') {
        // A user folder counts as the root of its own site, but a link that
        // names a user folder itself ("/~ann/x.html") starts at the host.
        if (resolved.link.compare(0, 2, "/~") == 0) {
            const std::string base = NormaliseURL(baseURL);
            return "http://" + base.substr(0, base.find('/')) + resolved.link;
        }
        return "http://" + SiteRoot(baseURL) + resolved.link;
    }
    return "http://" + resolved.base + resolved.link;
}

void BaseFromHref(std::string_view value, std::string& baseURL) {
    if (StartsWithNoCase(value, "http://")) value.remove_prefix(7);
    if (value.empty()) return;
    std::string base(value);
    const std::size_t last = base.rfind('/');
    if (last == std::string::npos)
        base += '/';  // a bare host is its own root directory
    else
        base.erase(last + 1);
    baseURL = NormaliseURL(base);
}

}  // namespace restash
