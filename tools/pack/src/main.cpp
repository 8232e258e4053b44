// setup-pack: builds the installer from its payload, settings, skin and licence.
#include <exception>
#include <iostream>

#include "deploy_installer.h"
#include "init.h"
#include "installer_file.h"
#include "installer_listing.h"
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
    // Errors are reported as results; what is left (memory, zlib refusing) ends the run with
    // its reason instead of an abort.
    try {
        if (!options.init.empty()) return pack::RunInit(options, std::cerr);
        if (!options.deploy.empty() && options.settings.empty())
            return pack::RunDeploy(options.installer, options.deploy, std::cerr);
        if (!options.list.empty()) return pack::ListInstaller(options.list, std::cout, std::cerr);
        if (!options.installer.empty() && options.stub.empty())
            options.stub = pack::DefaultStub(argc > 0 ? argv[0] : nullptr);
        return pack::RunPack(options, std::cerr);
    } catch (const std::exception& e) {
        std::cerr << "setup-pack: " << e.what() << "\n";
        return 1;
    }
}
