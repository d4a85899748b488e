#include "update/FirmwareUpdate.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "device/DeviceMainDef.h"

namespace quorvel {

bool LoadFirmwareImage(const std::string& path, std::vector<uint8_t>* image, std::string* error) {
    image->clear();
    // Non-blocking: opening a FIFO or a device must not wait; only a regular file is read.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *error = errno == ENOENT ? "no firmware image " + path
                                 : "cannot open the firmware image " + path + ": " + std::strerror(errno);
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!ok) {
        *error = "the firmware image " + path + " is not a regular file";
    } else if (st.st_size == 0) {
        *error = "the firmware image " + path + " is empty";
        ok = false;
    } else if (static_cast<uint64_t>(st.st_size) > kMaxFirmwareImageBytes) {
        *error = "the firmware image " + path + " has " + std::to_string(st.st_size) +
                 " bytes; the transfer takes at most " + std::to_string(kMaxFirmwareImageBytes);
        ok = false;
    } else {
        image->resize(static_cast<size_t>(st.st_size));
        size_t got = 0;
        while (got < image->size()) {
            const ssize_t n = ::read(fd, image->data() + got, image->size() - got);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            got += static_cast<size_t>(n);
        }
        if (got != image->size()) {
            *error = "the firmware image " + path + " could not be read completely";
            image->clear();
            ok = false;
        }
    }
    ::close(fd);
    return ok;
}

bool FlashFirmware(DeviceMainDef& core, const std::vector<uint8_t>& image, std::string* error) {
    HidDeviceManager& manager = core.Manager();
    uint16_t vendorId = 0, productId = 0;
    if (!manager.GetCurrentIds(&vendorId, &productId)) {
        *error = "no mouse connected";
        return false;
    }
    if (!manager.OpenUpgradeInterface(vendorId, productId)) {
        *error = "cannot open the firmware-transfer interface of the mouse";
        return false;
    }
    bool ok = false;
    if (!core.Commands().StartFirmwareUpgrade()) {
        *error = "the mouse did not accept the start of the firmware transfer; nothing was sent";
    } else {
        const bool sent = core.Commands().SendFirmware(image.data(), image.size());
        // The end report follows a broken transfer too, so the mouse is not left waiting for data.
        const bool ended = core.Commands().EndFirmwareUpgrade();
        if (!sent)
            *error = "the mouse did not confirm a firmware packet; the transfer stopped";
        else if (!ended)
            *error = "the mouse did not confirm the end of the firmware transfer";
        ok = sent && ended;
    }
    manager.CloseUpgradeInterface();
    return ok;
}

}  // namespace quorvel
