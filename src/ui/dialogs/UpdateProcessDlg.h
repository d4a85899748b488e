#pragma once
// The software download's progress ("UpdateProcessDlg"): a small frameless box over the main window with
// the download's percentage and a Cancel that ends the transfer. It stays until the download task ends
// (the update window side closes it); Esc and the window manager's close are the Cancel.

#include "ui/dialogs/ProgressDialog.h"

namespace quorvel {

class UpdateProcessDlg : public ProgressDialog {
    Q_OBJECT
public:
    enum Id { kStatus = 31, kProgress = 32, kCancel = 33 };
    static constexpr QSize kDesignSize{400, 140};

    explicit UpdateProcessDlg(QWidget* owner);

    // "Downloading update: 45%" and the bar.
    void SetDownloadProgress(int percent);
};

}  // namespace quorvel
