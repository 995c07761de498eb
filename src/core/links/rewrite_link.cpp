#include "core/links/rewrite_link.h"

#include "core/links/resolve_link.h"
#include "core/offline/offline_names.h"
#include "core/platform/text.h"
#include "core/offline/history.h"

namespace restash {
namespace {

// The local path of a source or background, or the given marker.
std::string RewriteEmbedded(std::string_view value, std::string_view baseURL, LinkContext& context,
                            std::string_view notFound) {
    const std::string address = AbsoluteAddress(ResolveLink(value, baseURL), baseURL);
    std::string path = FindLocalFile(context, address);
    if (path.empty()) return std::string(notFound);
    MarkAvailable(context, path);
    return path;
}

}  // namespace

std::string FindLocalFile(const LinkContext& context, std::string_view address) {
    return std::string(context.files.Find(address));
}

void MarkAvailable(LinkContext& context, std::string_view path) {
    if (context.historyPaths.Contains(path)) return;
    if (context.historyValid && context.history != nullptr) {
        std::string record = context.offlineURL;
        record += path;
        record += '\t';
        record += context.runTimestamp;
        context.history->Add(record);
    }
    context.historyPaths.Add(path);
}

std::string RewriteHyperlink(std::string_view value, std::string_view baseURL, LinkContext& context,
                             TagFlags& flags) {
    ResolvedLink resolved = ResolveLink(value, baseURL);
    if (!resolved.link.empty() && resolved.link.front() == '#') return resolved.link;
    if (StartsWithNoCase(resolved.link, "mailto:")) return resolved.link;

    std::string fragment;
    if (const std::size_t hash = resolved.link.find('#'); hash != std::string::npos) {
        fragment = resolved.link.substr(hash);
        resolved.link.erase(hash);
    }
    const std::string address = AbsoluteAddress(resolved, baseURL);
    // An absolute link loses its fragment; a relative one keeps it, so the
    // browser still lands on the anchor of the local copy.
    if (resolved.link.find("://") != std::string::npos) fragment.clear();

    const std::string path = FindLocalFile(context, address);
    if (!path.empty()) {
        MarkAvailable(context, path);
        flags.linkAvailable = true;
        return path + fragment;
    }
    if (context.notFoundURL) return address + fragment;
    return std::string(kNotFound);
}

std::string RewriteSource(std::string_view value, std::string_view baseURL, LinkContext& context) {
    static const std::string notFoundImage = MediaPath(kNotFoundImage);
    return RewriteEmbedded(value, baseURL, context, notFoundImage);
}

std::string RewriteBackground(std::string_view value, std::string_view baseURL, LinkContext& context) {
    return RewriteEmbedded(value, baseURL, context, kNotFound);
}

}  // namespace restash
