#pragma once
// The product's home-page links of the index pages: the title picture and the
// information button lead to the product page, the logo at the foot to the
// project's site. Change them here only.
#include <string>

namespace restash {

struct HomePages {
    std::string product = "https://restash.example/";
    std::string site = "https://restash.example/project/";
};

}  // namespace restash
