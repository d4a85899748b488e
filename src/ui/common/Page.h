#pragma once
// A page of the main window: one tab's container, laid out from the design (positions in the 1400 x 788
// design scaled by the window's layout scale). Built when the window is; filled from the settings by
// Refresh. The window forwards what the worker reports to the page that shows it, on the UI thread.

#include <QWidget>
#include <cstdint>

#include "device/DeviceTaskRequest.h"
#include "device/ThreadBasic.h"
#include "shell/DeviceDescriptor.h"

namespace quorvel {

class PageHost;

class Page : public QWidget {
    Q_OBJECT
public:
    Page(PageHost& host, QWidget* parent);

    // Every control from the settings of the current profile (the page's RefreshPages bit).
    virtual void Refresh() {}
    // The model loader applied a descriptor: picture, switches, buttons, lighting zones.
    virtual void ModelLoaded(const ModelState& model) { (void)model; }
    // Places the controls for the window's layout scale.
    virtual void UISize(qreal scale) { (void)scale; }
    // The device situation changed under the page (device list refresh, link report): pop-ups that must
    // not outlive it are closed, a recording stops.
    virtual void CloseTransient() {}
    // A task ended (any page's: a page looks at the request's code).
    virtual void TaskFinished(uint64_t id, const DeviceTaskRequest& request, const TaskResult& result) {
        (void)id, (void)request, (void)result;
    }

protected:
    PageHost& Host() { return host_; }

private:
    PageHost& host_;
};

}  // namespace quorvel
