#include "ui/ButtonPage.h"

namespace quorvel {

ButtonPage::ButtonPage(PageHost& host, QWidget* parent) : Page(host, parent) {}

void ButtonPage::Refresh() {}

void ButtonPage::ModelLoaded(const ModelState& model) {
    (void)model;
}

}  // namespace quorvel
