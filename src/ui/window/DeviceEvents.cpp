#include "ui/window/DeviceEvents.h"

namespace quorvel {

DeviceEvents* DeviceEvents::Of(QWidget* widget) {
    for (QWidget* w = widget; w; w = w->parentWidget())
        if (auto* events = w->findChild<DeviceEvents*>(QString(), Qt::FindDirectChildrenOnly)) return events;
    return nullptr;
}

}  // namespace quorvel
