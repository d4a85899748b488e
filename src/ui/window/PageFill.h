#pragma once
// Whether the window shows the picked mouse's pages filled in: the device view (no settings page over it),
// no pick waiting for the worker, and the last read of the mouse (discovery's, hot-plug's or a pick's) was
// of the model shown and has reached the pages. Until then the page may show the values stored before the
// read, or the model picked before. For scripts and the start-up benchmark (the instance socket's
// "view fill").

#include <QObject>
#include <functional>

namespace quorvel {

class DeviceMainDlg;

class PageFill : public QObject {
public:
    // currentModel: the device type the core has selected (what "view" names as the model).
    PageFill(DeviceMainDlg& window, std::function<int()> currentModel);

    bool Filled() const;

private:
    DeviceMainDlg& window_;
    std::function<int()> currentModel_;
    int selected_ = 0;  // discovery's selection, as reported before its read
    int read_ = 0;      // the model whose read last reached the pages (0: the last read failed)
};

}  // namespace quorvel
