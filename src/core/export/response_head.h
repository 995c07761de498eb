#pragma once
// The HTTP response head some caches keep with an object (status line and
// header lines), as the first part of a "response" record's block. It is
// written as the cache holds it, byte for byte, with two exceptions: the
// blank line that ends a head is added where the cache left it off, and a
// Transfer-Encoding header is left out, since the caches keep the body with
// its transfer coding undone (a reader of the record would otherwise undo a
// "chunked" coding that is no longer there).
#include <string>
#include <string_view>

namespace restash {

// The stored head without its Transfer-Encoding header, followed by the
// blank line that separates it from the body: nothing is added to a head that
// ends in one already ("\r\n\r\n" or "\n\n"), "\r\n" to one that ends its
// last line, "\r\n\r\n" otherwise.
std::string ResponseBlockHead(std::string_view stored);

// The status code of the head's first line ("HTTP/1.1 404 Not Found" gives
// "404"); empty when the line holds none.
std::string ResponseStatus(std::string_view head);

}  // namespace restash
