#include "ui/MousePaletteDlg.h"

namespace quorvel {

int MousePaletteDlg::Pick(QWidget* owner, int colour) {
    (void)owner, (void)colour;
    return 0;
}

}  // namespace quorvel
