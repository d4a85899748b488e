#include "ui/MacroPage.h"

namespace quorvel {

MacroPage::MacroPage(PageHost& host, QWidget* parent) : Page(host, parent) {}

void MacroPage::Refresh() {}

void MacroPage::CloseTransient() {
    StopMacroRecording();
}

void MacroPage::StopMacroRecording() {}

bool MacroPage::Recording() const {
    return false;
}

}  // namespace quorvel
