#include "ui/common/PanelGeometry.h"

#include <QLabel>

#include "ui/common/DesignLayout.h"
#include "ui/common/PanelLabel.h"

namespace quorvel {

PanelGeometry::PanelGeometry(QWidget* page, QSize designSize, int left)
    : layout_(new DesignLayout(page, designSize)) {
    layout_->setContentsMargins(left, 0, 0, 0);
    layout_->SetFontRule({1, true});
}

void PanelGeometry::Add(QWidget* widget, int x, int y, int width, int height, int fontPx,
                        QFont::Weight weight) const {
    layout_->Add(widget, QRect(x, y, width, height), kScaledSizes, fontPx, weight);
}

void PanelGeometry::Label(QLabel* label, int x, int y, int width, int height, int fontPx) const {
    Add(label, x, y, width, height, fontPx, PanelLabelWeight(label));
}

}  // namespace quorvel
