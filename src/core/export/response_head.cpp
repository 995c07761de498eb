#include "core/export/response_head.h"

#include "core/platform/text.h"

namespace restash {

namespace {

// stored without its Transfer-Encoding header lines (and the lines that
// continue them), every other byte kept.
std::string WithoutTransferEncoding(std::string_view stored) {
    std::string head;
    head.reserve(stored.size());
    bool dropping = false;
    while (!stored.empty()) {
        const std::size_t end = stored.find('\n');
        const std::string_view line = stored.substr(0, end == std::string_view::npos ? stored.size() : end + 1);
        stored.remove_prefix(line.size());
        const bool continuation = line.front() == ' ' || line.front() == '\t';
        if (!continuation) dropping = StartsWithNoCase(line, "Transfer-Encoding:");
        if (!dropping) head += line;
    }
    return head;
}

}  // namespace

std::string ResponseBlockHead(std::string_view stored) {
    std::string head = WithoutTransferEncoding(stored);
    if (head.ends_with("\r\n\r\n") || head.ends_with("\n\n")) return head;
    return head + (head.ends_with('\n') ? "\r\n" : "\r\n\r\n");
}

std::string ResponseStatus(std::string_view head) {
    const std::string_view line = head.substr(0, head.find_first_of("\r\n"));
    const std::size_t space = line.find(' ');
    if (!line.starts_with("HTTP/") || space == std::string_view::npos) return {};
    const std::string_view code = line.substr(space + 1, 3);
    const bool digits = code.size() == 3 && code.find_first_not_of("0123456789") == std::string_view::npos;
    const bool ends = line.size() == space + 4 || line[space + 4] == ' ';
    return digits && ends ? std::string(code) : std::string();
}

}  // namespace restash
