#pragma once
// Profile management: the profile dialog opened above the profile button (switch, rename, import, export)
// and the factory reset with its confirmation. (Filled by the lighting/profiles issue.)

class QWidget;

namespace quorvel {

class PageHost;

class ProfileDlg {
public:
    // Opens the dialog above `anchor` (the profile button, control 45).
    static void Open(PageHost& host, QWidget* anchor);
};

// The factory reset of buttons 46 and 250: asks first, then resets.
void ConfirmFactoryReset(PageHost& host);

}  // namespace quorvel
