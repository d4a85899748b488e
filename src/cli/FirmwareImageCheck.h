#pragma once
// What 'firmware flash' checks before it sends a file: that it is a firmware image at all (the update
// flow's checks: a regular, non-empty file the transfer can number), that it does not look like something
// else (the ZIP archive the image comes in, a text or XML file), and what the file's name says about it.

#include <cstdint>
#include <string>

namespace quorvel::cli {

struct ImageCheck {
    bool usable = false;  // false: never sent, --force or not
    std::string refusal;  // why it is not usable
    std::string doubt;    // why it may not be an image (sent only with --force)
    std::uintmax_t bytes = 0;
};
ImageCheck CheckFirmwareFile(const std::string& path);

// The version in a name of the update flow's form, "firmware-<version>.bin"; empty for any other name.
std::string FirmwareFileVersion(const std::string& path);

}  // namespace quorvel::cli
