#pragma once
// Shell-style patterns on an entry's address, as --url gives them: "*" any
// run of bytes ("/" too), "?" one byte, "[abc]", "[a-z]" and "[!abc]" one
// byte of a set, "\" the next character as itself. Letter case counts.
// Addresses are the cache's single bytes, so the match is made byte by byte,
// whatever the locale.
#include <string>
#include <string_view>
#include <vector>

namespace restash {

bool GlobMatch(std::string_view pattern, std::string_view text);

// True when patterns is empty or one of them matches url.
bool MatchesAnyPattern(std::string_view url, const std::vector<std::string>& patterns);

}  // namespace restash
