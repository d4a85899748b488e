#pragma once
// Chooses the HID backend: the virtual mouse when a spec is given (quorvelctl --virtual) or QUORVEL_VIRTUAL
// is set, hidapi otherwise; wrapped in the HID trace when QUORVEL_HID_TRACE (or the option) names a file.

#include <memory>
#include <string>

#include "device/HidBackend.h"
#include "shell/ProductConfig.h"

namespace quorvel {

struct BackendOptions {
    std::string virtualSpec;                 // empty: QUORVEL_VIRTUAL decides
    const ProductConfig* product = nullptr;  // the configured models the virtual mouse may play
    std::string traceFile;                   // empty: QUORVEL_HID_TRACE decides
};

// Null with *error set when the chosen backend cannot be made (bad virtual spec, trace file not writable).
std::unique_ptr<HidBackend> CreateBackend(const BackendOptions& options, std::string* error);

// Whether the environment asks for the virtual mouse.
bool VirtualRequested();

}  // namespace quorvel
