// MapURL, NormaliseURL and DomainOf over any address: the 8.3 base name is
// always 1 to 8 name characters, the domain never holds a "/", and nothing
// is cut but the base URL, at the bound it is given.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/web/url.h"
#include "fuzz/targets/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace restash;
    fuzz::FuzzInput input(data, size);
    const std::size_t maxLength = input.Byte() * 4u;
    const std::string_view url = input.Rest();

    const MappedURL mapped = MapURL(url, maxLength);
    FUZZ_CHECK(!mapped.baseName.empty() && mapped.baseName.size() <= 8);
    for (char c : mapped.baseName) FUZZ_CHECK(!(c >= 'a' && c <= 'z') && c != '/' && c != '.' && c != '\\');
    FUZZ_CHECK(mapped.baseURL.size() <= maxLength);
    for (unsigned n : {1u, 99u, 12345678u}) FUZZ_CHECK(NumberedName(mapped.baseName, n).size() <= 8);

    const std::string normal = NormaliseURL(url);
    FUZZ_CHECK(normal.size() <= url.size());
    const std::string domain = DomainOf(url);
    FUZZ_CHECK(domain.find('/') == std::string::npos);
    FUZZ_CHECK(domain.size() <= url.size());
    return 0;
}
