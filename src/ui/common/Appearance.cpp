#include "ui/common/Appearance.h"

#include <QApplication>

#include "toolkit/SkinStyle.h"

namespace quorvel {

void InstallAppearance() {
    QApplication::setStyle(new SkinStyle);  // the application owns it
    QApplication::setPalette(QApplication::style()->standardPalette());
}

}  // namespace quorvel
