// restash: the desktop application.
#include <QApplication>
#include <cstdio>
#include <cstring>

#include "core/app/version.h"
#include "gui/app.h"

namespace {

// --help and --version are answered before a display is opened, so that they
// work over ssh and in scripts.
int AnsweredBeforeTheWindow(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0 || std::strcmp(argv[i], "-V") == 0) {
            std::printf("restash %s\n", restash::ProgramVersion());
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::printf(
                "Usage: restash [--help] [--version]\n"
                "The desktop application of Restash: turns a Netscape disk cache back into a browsable offline\n"
                "copy, searches it and deletes from the cache. It takes no other arguments; the command line's\n"
                "program is restash-cli (see restash-cli --help).\n"
                "  -h,--help     Print this help and exit\n"
                "  -V,--version  Print the version and exit\n");
            return 0;
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (const int status = AnsweredBeforeTheWindow(argc, argv); status >= 0) return status;
    QApplication app(argc, argv);
    return restash::RunRestash(app);
}
