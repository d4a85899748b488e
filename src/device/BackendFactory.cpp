#include "device/BackendFactory.h"

#include <cstdlib>

#include "device/HidTrace.h"
#include "device/HidapiBackend.h"

namespace quorvel {

namespace {

std::string Env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

}  // namespace

bool VirtualRequested() { return !Env("QUORVEL_VIRTUAL").empty(); }

std::unique_ptr<HidBackend> CreateBackend(const BackendOptions& options, std::string* error) {
    std::string spec = options.virtualSpec.empty() ? Env("QUORVEL_VIRTUAL") : options.virtualSpec;
    std::unique_ptr<HidBackend> backend;
    if (!spec.empty()) {
        if (error) *error = "the virtual mouse is not part of this build";
        return nullptr;
    }
    auto hidapi = std::make_unique<HidapiBackend>();
    if (!hidapi->Initialised()) {
        if (error) *error = "hidapi could not be initialised";
        return nullptr;
    }
    backend = std::move(hidapi);

    std::string traceFile = options.traceFile.empty() ? Env("QUORVEL_HID_TRACE") : options.traceFile;
    if (traceFile.empty()) return backend;
    std::unique_ptr<HidTrace> traced = HidTrace::Create(std::move(backend), traceFile, error);
    return traced;
}

}  // namespace quorvel
