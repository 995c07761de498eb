#include "core/export/response_head.h"

namespace restash {

std::string ResponseBlockHead(std::string_view stored) {
    std::string head(stored);
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
