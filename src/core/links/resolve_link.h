#pragma once
// Turning the link of a page into the absolute address its target was cached
// under. A base URL is host and directory without the scheme, ending in "/":
// host.example/dir/.
#include <string>
#include <string_view>

namespace restash {

struct ResolvedLink {
    std::string link;  // NormaliseURL form, leading "./" and "../" consumed
    std::string base;  // the normalised base URL, one directory up per "../"
};

ResolvedLink ResolveLink(std::string_view link, std::string_view baseURL);

// The root of the site a base URL lies in: the host, or the user directory
// (host.example/~user) when the base lies below one. Empty without any "/".
std::string SiteRoot(std::string_view baseURL);

// The absolute address of a resolved link: absolute links ("://") as they
// are, links beginning with "/" below the site root, others below the base.
std::string AbsoluteAddress(const ResolvedLink& resolved, std::string_view baseURL);

// The base URL a BASE tag's HREF sets for the rest of the page; baseURL is
// left as it is when the value gives none.
void BaseFromHref(std::string_view value, std::string& baseURL);

}  // namespace restash
