#pragma once
// The About dialog: logo, the firmware version of the first wired mouse, the software version and the
// copyright line; its close button ends it.

#include <cstdint>

#include "ui/common/SkinnedDialog.h"

namespace quorvel {

// "1.03" for the HID release numbers 0x103 and 0x1003: the first hexadecimal digit, a dot, the last two
// ("%x" digits, so lower case). Fewer than three digits are read with leading zeros (0x5 is "0.05").
QString ReleaseVersionText(uint32_t release);

class AboutDlg : public SkinnedDialog {
    Q_OBJECT
public:
    // Control ids (objectName "id<n>").
    enum Id { kClose = 30, kLogo = 32, kSoftwareVersion = 33, kFirmwareVersion = 34, kCopyright = 35 };
    static constexpr QSize kDesignSize{500, 300};

    // release: the HID release number of the first wired device record, 0 when there is none;
    // softwareVersion: the version of config.xml.
    AboutDlg(QWidget* parent, uint32_t release, const QString& softwareVersion);
};

}  // namespace quorvel
