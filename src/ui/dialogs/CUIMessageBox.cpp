#include "ui/dialogs/CUIMessageBox.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"

namespace quorvel {

namespace {

constexpr char kWindowTitle[] = "MessageBox";
constexpr char kBackground[] = "bk_prompt.png";

QLabel* NewLabel(SkinnedDialog* box, int id, const QRect& rect, QFont::Weight weight = QFont::DemiBold) {
    auto* label = box->Layout().Add(new QLabel(box), rect, 16, weight);
    label->setObjectName(ControlName(id));
    label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    return label;
}

QPushButton* NewButton(SkinnedDialog* box, int id, const QRect& rect) {
    auto* button = box->Layout().Add(new QPushButton(box), rect, 16);
    button->setObjectName(ControlName(id));
    return button;
}

}  // namespace

CUIMessageBox::CUIMessageBox(QWidget* owner, const UiText& title, const UiText& message, int style)
    : SkinnedDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint, kWindowTitle, kDesignSize,
                    DialogLook{QString::fromLatin1(kBackground), DialogLook::Image::Stretched, {}, {}, true}),
      style_(style) {
    SetPlacement(Placement::OnScreen);
    const int R = kDesignSize.width(), B = kDesignSize.height();
    auto* texts = new TextRegistry(this);

    QLabel* titleLabel = NewLabel(this, kTitle, Ltrb(20, 15, R - 20, 45));
    texts->BindText(titleLabel, title);
    QLabel* messageLabel = NewLabel(this, kMessage, Ltrb(20, 50, R - 20, B - 50), QFont::Normal);
    messageLabel->setWordWrap(true);
    QPalette dim = messageLabel->palette();
    dim.setColor(QPalette::WindowText, palette::kTextDim);
    messageLabel->setPalette(dim);
    texts->BindText(messageLabel, message);

    if (style == kBoxOk) {
        QPushButton* ok = NewButton(this, kFirstButton, Ltrb(60, B - 50, R - 60, B - 14));
        texts->BindText(ok, txt::kOk);
        connect(ok, &QPushButton::clicked, this, [this] { done(kResultOk); });
        ok->setDefault(true);
        ok->setFocus();
    } else if (style == kBoxOkCancel) {
        const int C = R / 2;
        QPushButton* ok = NewButton(this, kFirstButton, Ltrb(C - 120, B - 50, C - 20, B - 14));
        QPushButton* cancel = NewButton(this, kSecondButton, Ltrb(C + 20, B - 50, C + 120, B - 14));
        texts->BindText(ok, txt::kQuestionOk);
        texts->BindText(cancel, txt::kCancel);
        connect(ok, &QPushButton::clicked, this, [this] { done(kResultOk); });
        connect(cancel, &QPushButton::clicked, this, [this] { done(kResultCancel); });
        // A question starts on Cancel: an Enter typed into the box by accident is no consent.
        ok->setAutoDefault(false);
        cancel->setDefault(true);
        cancel->setFocus();
    }
}

void CUIMessageBox::reject() {
    done(kResultCancel);
}

int ShowMessageBox(QWidget* owner, const UiText& title, const UiText& message, int style) {
    QPointer<CUIMessageBox> box = new CUIMessageBox(owner, title, message, style);
    const int result = box->exec();
    delete box.data();  // null when the owner took it along
    // exec() gives 0 when the box died under it: that is no consent either.
    return result == kResultOk ? kResultOk : kResultCancel;
}

namespace {
constexpr char kProgramNotice[] = "quorvelProgramNotice";
}  // namespace

CUIMessageBox* OpenMessageBox(QWidget* owner, const UiText& title, const UiText& message, int style,
                              std::function<void(int)> done) {
    auto* box = new CUIMessageBox(owner, title, message, style);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QDialog::finished, box, [done = std::move(done)](int result) {
        if (done) done(result == kResultOk ? kResultOk : kResultCancel);
    });
    box->open();
    return box;
}

void OpenProgramNotice(QWidget* owner, const UiText& title, const UiText& message) {
    OpenMessageBox(owner, title, message, kBoxOk, nullptr)->setProperty(kProgramNotice, true);
}

int CloseMessageBoxes() {
    int closed = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<CUIMessageBox*>(w);
        if (!box || !box->isVisible() || box->property(kProgramNotice).toBool()) continue;
        box->reject();
        ++closed;
    }
    return closed;
}

}  // namespace quorvel
