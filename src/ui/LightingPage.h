#pragma once
// The lighting page (tab 5, container 54): modes, brightness, speed, colours.
// (Today an empty container; its page issue fills it. The main window calls the methods below.)

#include <string>

#include "ui/Page.h"

namespace quorvel {

class LightingPage : public Page {
    Q_OBJECT
public:
    LightingPage(PageHost& host, QWidget* parent);

    void Refresh() override;
    void ModelLoaded(const ModelState& model) override;
};

}  // namespace quorvel
