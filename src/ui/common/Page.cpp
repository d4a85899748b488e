#include "ui/common/Page.h"

#include "ui/common/PageHost.h"
#include "ui/window/DeviceEvents.h"

namespace quorvel {

Page::Page(PageHost& host, QWidget* parent) : QWidget(parent), host_(host) {
    DeviceEvents& events = host.Events();
    connect(&events, &DeviceEvents::modelLoaded, this,
            [this](const ModelState& model) { ModelLoaded(model); });
    connect(&events, &DeviceEvents::pagesRefresh, this, [this](unsigned pages) {
        if (RefreshesOn(pages)) Refresh();
    });
}

}  // namespace quorvel
