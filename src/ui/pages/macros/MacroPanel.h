#pragma once
// A card of the macro page: the skin's panel image under controls that sit at design positions of the
// page (its 1180 x 658 area, origin at the page's top left), scaled with the window. Each control keeps
// its design rectangle and font size; UISize places them for a layout scale.

#include <QFont>
#include <QPointer>
#include <QRect>
#include <QWidget>
#include <vector>

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
        placed_.push_back({control, design, fontPx, weight});
        return control;
    }
    void UISize(qreal scale);

    // Controls of the page, named "id<n>".
    QLabel* NewLabel(int id, const QRect& design, int fontPx, bool dim);
    QPushButton* NewButton(int id, const QRect& design);
    QRadioButton* NewRadio(int id, const QRect& design);
    QLineEdit* NewEdit(int id, const QRect& design);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Placed {
        QPointer<QWidget> control;
        QRect design;
        int fontPx;
        QFont::Weight weight;
    };
    QRect design_;
    std::vector<Placed> placed_;
};

// Design rectangle from left, top, right and bottom, scaled and truncated toward zero.
QRect ScaledRect(const QRect& design, qreal scale);

}  // namespace quorvel
