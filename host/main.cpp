// The command-line host: runs one analysis and exits with the run status.
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "engine/run.hpp"
#include "host/command_line.hpp"

int main(int argc, char** argv) {
    using pileaxial::host::CommandLine;
    const CommandLine cl = pileaxial::host::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    switch (cl.action) {
        case CommandLine::Action::Help:
            std::cout << pileaxial::host::UsageText();
            return 0;
        case CommandLine::Action::Version:
            std::cout << "pileaxial " << PILEAXIAL_VERSION << '\n';
            return 0;
        case CommandLine::Action::Error:
            std::cerr << "pileaxial: " << cl.error << "\n\n" << pileaxial::host::UsageText();
            return pileaxial::kStatusFault;
        case CommandLine::Action::ControlFile:
            return std::make_unique<pileaxial::Run>()->executeFromControlFile();
        case CommandLine::Action::Direct:
            return std::make_unique<pileaxial::Run>()->execute(cl.files);
    }
    return pileaxial::kStatusFault;
}
