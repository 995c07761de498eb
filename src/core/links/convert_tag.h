#pragma once
// Rewrites the links of one HTML tag so they lead to the offline copies.
#include <string>
#include <string_view>

#include "core/links/link_context.h"

namespace restash {

// tag is the text after the tag's "<" up to and including its ">" (or to the
// end of the page). Returns the text to write after the "<". A BASE tag with
// a HREF replaces baseURL for the rest of the page and is itself dropped
// (returned as "!>", an empty declaration).
std::string ConvertTag(std::string_view tag, std::string& baseURL, LinkContext& context, TagFlags& flags);

}  // namespace restash
