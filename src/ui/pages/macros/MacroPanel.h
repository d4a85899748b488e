#pragma once
// A card of the macro page: the skin's panel image under controls that sit at design positions of the
// page (its 1180 x 658 area, origin at the page's top left), scaled with the window. Each control's design
// rectangle and font size are declared to the card's design layout; UISize sets the layout scale.

#include <QFont>
#include <QRect>
#include <QWidget>

#include "ui/common/DesignLayout.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quorvel {

class MacroPanel : public QWidget {
    Q_OBJECT
public:
    // `design`: the card's rectangle on the page.
    MacroPanel(const QRect& design, QWidget* parent);

    // Places a control at a rectangle of the page with a font of `fontPx` design pixels (0: its own).
    template <typename T>
    T* Place(T* control, const QRect& design, int fontPx = 14, QFont::Weight weight = QFont::DemiBold) {
        return layout_->Add(control, design, fontPx, weight);
    }
    void UISize(qreal scale) { layout_->SetScale(scale); }
    // The card's rectangle on the page.
    const QRect& Design() const { return design_; }

    // Controls of the page, named "id<n>".
    QLabel* NewLabel(int id, const QRect& design, int fontPx, bool dim);
    QPushButton* NewButton(int id, const QRect& design);
    QRadioButton* NewRadio(int id, const QRect& design);
    QLineEdit* NewEdit(int id, const QRect& design);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect design_;
    DesignLayout* layout_;
};

}  // namespace quorvel
