// restash-cli: the command-line front end over the core.
#include <iostream>

int main(int argc, char** argv) {
    (void)argc;
    (void)argv;
    std::cout << "restash-cli " << RESTASH_VERSION << "\n";
    return 0;
}
