#include "core/offline/offline_names.h"

namespace restash {

std::string DomainPage(std::size_t n) { return std::to_string(n) + ".RSH"; }

std::string ImageIndexPage(std::size_t n) { return std::to_string(n) + ".RSI"; }

std::string MediaPath(std::string_view image) { return std::string(kMediaFolder) + std::string(image); }

}  // namespace restash
