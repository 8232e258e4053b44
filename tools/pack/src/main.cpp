// setup-pack: builds the installer's resource script and framed resource files.
#include <iostream>

#include "options.h"
#include "pack.h"

int main(int argc, char** argv) {
    pack::Options options;
    std::string error;
    if (!pack::ParseOptions(argc, argv, options, error)) {
        std::cerr << "setup-pack: " << error << "\n\n" << pack::HelpText();
        return 2;
    }
    if (options.help) {
        std::cout << pack::HelpText();
        return 0;
    }
    return pack::RunPack(options, std::cerr);
}
