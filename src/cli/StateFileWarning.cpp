#include "cli/StateFileWarning.h"

#include <sstream>

#include "device/HidTrace.h"
#include "sim/VirtualBackend.h"

namespace quorvel::cli {

std::vector<std::string> VirtualStateWarnings(HidBackend* backend) {
    if (auto* traced = dynamic_cast<HidTrace*>(backend)) backend = traced->Inner();
    auto* virtualBackend = dynamic_cast<VirtualBackend*>(backend);
    std::vector<std::string> lines;
    if (virtualBackend == nullptr) return lines;
    std::istringstream in(virtualBackend->StateWarning());
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) lines.push_back(line);
    }
    return lines;
}

}  // namespace quorvel::cli
