#include "ui/LightingPage.h"

namespace quorvel {

LightingPage::LightingPage(PageHost& host, QWidget* parent) : Page(host, parent) {}

void LightingPage::Refresh() {}

void LightingPage::ModelLoaded(const ModelState& model) {
    (void)model;
}

}  // namespace quorvel
