#pragma once
// A page of the main window: one tab's container, laid out from the design (positions in the 1400 x 788
// design scaled by the window's layout scale). Built the first time its tab is shown; filled from the
// settings by Refresh. A page follows the host's events itself: every page reloads on a model load and on
// the refresh bits it names; a page connects whatever else it shows (a task end of its own kind, the DPI
// reports) in its constructor.

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

    // Every control from the settings of the current profile.
    virtual void Refresh() {}
    // Whether a refresh of these PageMask bits reloads this page.
    virtual bool RefreshesOn(unsigned pages) const {
        (void)pages;
        return false;
    }
    // The model loader applied a descriptor: picture, switches, buttons, lighting zones.
    virtual void ModelLoaded(const ModelState& model) { (void)model; }
    // Places the controls for the window's layout scale.
    virtual void UISize(qreal scale) { (void)scale; }
    // The device situation changed under the page (device list refresh, link report): pop-ups that must
    // not outlive it are closed, a recording stops.
    virtual void CloseTransient() {}

protected:
    PageHost& Host() { return host_; }

private:
    PageHost& host_;
};

}  // namespace quorvel
