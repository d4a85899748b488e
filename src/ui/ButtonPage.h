#pragma once
// The button assignment page (tab 2, container 50) with its key-combination panel (container 51).
// (Today an empty container; its page issue fills it. The main window calls the methods below.)

#include <string>

#include "ui/Page.h"

namespace quorvel {

class ButtonPage : public Page {
    Q_OBJECT
public:
    ButtonPage(PageHost& host, QWidget* parent);

    void Refresh() override;
    void ModelLoaded(const ModelState& model) override;
};

}  // namespace quorvel
