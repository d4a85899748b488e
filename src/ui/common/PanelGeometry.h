#pragma once
// The design geometry of a page panel (lighting, device information): a DesignLayout on the page whose
// positions and sizes scale apart (kScaledSizes), measured from the panel's left edge `left` design pixels
// into the tab container, with fonts of at least one pixel. Labels take their tone's weight (PanelLabel.h).

#include <QFont>
#include <QSize>

class QLabel;
class QWidget;

namespace quorvel {

class DesignLayout;

class PanelGeometry {
public:
    // Installs the layout on `page`.
    PanelGeometry(QWidget* page, QSize designSize, int left);

    DesignLayout* Layout() const { return layout_; }
    void Add(QWidget* widget, int x, int y, int width, int height, int fontPx = 0,
             QFont::Weight weight = QFont::DemiBold) const;
    void Label(QLabel* label, int x, int y, int width, int height, int fontPx) const;

private:
    DesignLayout* layout_;
};

}  // namespace quorvel
