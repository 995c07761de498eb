#pragma once
// The replacements for the link values of a tag: the local path of a copied
// target, or a marker (or the absolute address) for one that was not copied.
#include <string>
#include <string_view>

#include "core/links/link_context.h"

namespace restash {

// What an uncached hyperlink or background leads to (no file of that name
// exists); an uncached image shows the "not found" support image instead.
inline constexpr std::string_view kNotFound = "NOTFOUND";

// The local path of the first copied file whose address equals address
// without regard to ASCII case; empty when there is none.
std::string FindLocalFile(const LinkContext& context, std::string_view address);

// Records that a link reaches path: the first time in a run, a history record
// (offline URL + path + TAB + time stamp) when the history is rewritten, and
// the path in HistoryPaths. Throws FileError when the record cannot be written.
void MarkAvailable(LinkContext& context, std::string_view path);

// HREF and CODE. Links within the page and mail links stay as they are.
std::string RewriteHyperlink(std::string_view value, std::string_view baseURL, LinkContext& context,
                             TagFlags& flags);
// SRC and LOWSRC: an uncached image becomes the "not found" picture.
std::string RewriteSource(std::string_view value, std::string_view baseURL, LinkContext& context);
// BACKGROUND: an uncached background becomes "NOTFOUND".
std::string RewriteBackground(std::string_view value, std::string_view baseURL, LinkContext& context);

}  // namespace restash
