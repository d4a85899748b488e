#include "session/BackendChoice.h"

#include <cstdlib>

#include "device/HidTrace.h"
#include "device/HidapiBackend.h"
#include "shell/AppContext.h"
#include "sim/VirtualBackend.h"

namespace quorvel {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

bool VirtualRequested() {
    return !Env("QUORVEL_VIRTUAL").empty();
}

std::unique_ptr<HidBackend> CreateBackend(const BackendOptions& options, std::string* error) {
    std::string spec = options.virtualSpec.empty() ? Env("QUORVEL_VIRTUAL") : options.virtualSpec;
    std::unique_ptr<HidBackend> backend;
    if (!spec.empty()) {
        ProductConfig loaded;
        const ProductConfig* product = options.product;
        if (!product) {
            // The virtual mouse plays the models of this installation's configuration.
            ReadProductConfig(ProgramDir(), "", &loaded);
            product = &loaded;
        }
        std::string why;
        backend = CreateVirtualBackend(spec, product->modes, &why);
        if (!backend) {
            if (error) *error = "bad virtual mouse spec \"" + spec + "\": " + why;
            return nullptr;
        }
    } else {
        auto hidapi = std::make_unique<HidapiBackend>();
        if (!hidapi->Initialised()) {
            if (error) *error = "hidapi could not be initialised";
            return nullptr;
        }
        backend = std::move(hidapi);
    }

    std::string traceFile = options.traceFile.empty() ? Env("QUORVEL_HID_TRACE") : options.traceFile;
    if (traceFile.empty()) return backend;
    std::unique_ptr<HidTrace> traced = HidTrace::Create(std::move(backend), traceFile, error);
    return traced;
}

}  // namespace quorvel
