// The virtual mouse's control-pipe commands on arbitrary lines: every line is carried out or ignored,
// never a crash, whatever numbers or words it holds.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/AppContext.h"
#include "shell/ProductConfig.h"
#include "sim/ControlPipe.h"
#include "sim/VirtualBackend.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace quorvel;
    static const ProductConfig product = [] {
        ProductConfig config;
        if (!ReadProductConfig(QUORVEL_PRODUCT_DIR, "", &config)) std::abort();
        return config;
    }();
    std::string error;
    auto mice = CreateVirtualBackend("102:wired;103:wireless;201:wired", product.modes, "", &error);
    if (!mice) std::abort();
    VirtualBackend* backend = mice.get();
    ControlPipe pipe("", [backend](size_t k) -> VirtualMouse* {
        return k >= 1 && k <= backend->MouseCount() ? &backend->Mouse(k - 1) : nullptr;
    });
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        pipe.Execute(std::string(rest.substr(0, end)));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    }
    return 0;
}
