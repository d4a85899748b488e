#pragma once
// A group of the performance page (DPI levels, report rate, lift-off, sensor, power): a skin panel with its
// controls at their design rectangles (declared to the panel's design layout; UISize sets its scale). What
// the panels share: the host, the way a change is handed on (Submit), and the small controls every group has
// (title, help and reset buttons).

#include <QWidget>

#include "ui/common/DesignLayout.h"
#include "ui/common/UiText.h"

class QCheckBox;
class QLabel;

namespace quorvel {

class CImageButton;
class PageHost;
struct ActionResult;
struct DeviceState;

class PerformancePanel : public QWidget {
    Q_OBJECT
public:
    // `designSize`: the panel's extent in the page's design, which right-anchored controls keep to.
    PerformancePanel(PageHost& host, QWidget* parent, QSize designSize);

    // Places the controls for the layout scale.
    void UISize(qreal scale) { layout_->SetScale(scale); }

signals:
    // A change was refused: the page shows the stored values again, so no refused choice stays on screen
    // as if saved.
    void changeRefused();

protected:
    PageHost& Host() { return host_; }
    DeviceState Device();

    // An accepted change: its tasks are queued and the saving indicator shown (true). A refused one
    // changed nothing; the user is told so (false).
    bool Submit(const ActionResult& result);

    QLabel* NewTitle(int id, const UiText& text);
    QLabel* NewLabel(int id, const UiText& text);
    QCheckBox* NewCheckBox(int id, const UiText& text);
    // A "?" button whose text shows as its tooltip, and at once when it is clicked.
    CImageButton* NewHelpButton(int id);
    CImageButton* NewResetButton(int id, int toolTip);

    // Declares a control's design rectangle inside the panel and its font's design size.
    template <typename T>
    T* Place(T* widget, const QRect& design, int fontPx = 0, const EdgeRules& rules = kScaledEdges) {
        return layout_->Add(widget, design, rules, fontPx, QFont::DemiBold);
    }

    // Moves a placed control to another design rectangle (a row that moves up when the one above hides).
    void Move(QWidget* widget, const QRect& design) { layout_->Move(widget, design); }

    void paintEvent(QPaintEvent* event) override;

private:
    PageHost& host_;
    DesignLayout* layout_;
};

}  // namespace quorvel
