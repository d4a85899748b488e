#pragma once
// A group of the performance page (DPI levels, report rate, lift-off, sensor, power): a skin panel with its
// controls, placed from the design by UISize. What the panels share: the host, the way a change is handed
// on (Submit), and the small controls every group has (title, help and reset buttons).

#include <QWidget>

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
    PerformancePanel(PageHost& host, QWidget* parent);

    // Places the controls: design positions inside the panel times the layout scale.
    virtual void UISize(qreal scale) = 0;

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

    // The design rectangle (left, top, right, bottom) at the scale, products truncated toward zero.
    static QRect Scaled(qreal scale, int left, int top, int right, int bottom);
    // Fonts follow the scale as well.
    static void SetFontPixels(QWidget* widget, qreal scale, int pixels, bool bold);

    void paintEvent(QPaintEvent* event) override;

private:
    PageHost& host_;
};

}  // namespace quorvel
