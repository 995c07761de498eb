#pragma once
// --help for the developer tools: the usage on standard output and exit 0,
// before any argument is taken for a folder or a value.
#include <cstdio>
#include <cstring>

namespace restash::tools {

inline bool AnswersHelp(int argc, char** argv, const char* usage) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage, stdout);
            return true;
        }
    return false;
}

}  // namespace restash::tools
