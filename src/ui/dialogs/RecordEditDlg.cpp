#include "ui/dialogs/RecordEditDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "toolkit/CaptionButton.h"
#include "toolkit/KeyCaptureFilter.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"

namespace quorvel {

namespace {
constexpr char kName[] = "RecordEditDlg";
constexpr char kBackground[] = "bk_prompt.png";
constexpr int kFieldLength = 10;
}  // namespace

RecordEditDlg::RecordEditDlg(QWidget* owner)
    : SkinnedDialog(
          owner, Qt::Dialog, kName, kDesignSize,
          DialogLook{QString::fromLatin1(kBackground), DialogLook::Image::Stretched, {}, {}, true}) {
    setWindowModality(Qt::WindowModal);
    SetPlacement(Placement::OverOwner);
    const int R = kDesignSize.width();
    auto* texts = new TextRegistry(this);

    auto* title = new QLabel(this);
    title->setObjectName(ControlName(kTitle));
    Layout().Add(title, Ltrb(20, 12, R - 50, 42));
    title->setFont(UiFont(16, QFont::Bold));
    texts->BindText(title, txt::kKeyboardKey);

    auto* close = new CaptionButton(CaptionKind::Close, this);
    close->setObjectName(ControlName(kClose));
    Layout().Add(close, Ltrb(R - 42, 12, R - 12, 42));
    texts->BindToolTip(close, txt::kClose);
    connect(close, &QAbstractButton::clicked, this, &RecordEditDlg::reject);

    auto* label = new QLabel(this);
    label->setObjectName(ControlName(kLabel));
    Layout().Add(label, Ltrb(24, 56, 96, 92));
    label->setFont(UiFont(14, QFont::Normal));
    QPalette dim = label->palette();
    dim.setColor(QPalette::WindowText, palette::kTextDim);
    label->setPalette(dim);
    texts->BindText(label, txt::kKey);

    field_ = new QLineEdit(this);
    field_->setObjectName(ControlName(kKeyField));
    Layout().Add(field_, Ltrb(100, 54, R - 24, 94));
    field_->setFont(UiFont(15));
    field_->setAlignment(Qt::AlignCenter);
    field_->setMaxLength(kFieldLength);
    field_->setContextMenuPolicy(Qt::NoContextMenu);
    texts->Bind(field_, txt::kPressAKey, [this](const QString& s) { field_->setPlaceholderText(s); });
    // Every key pressed or released in the field becomes the key, modifiers and Escape included.
    capture_ = new KeyCaptureFilter(this);
    field_->installEventFilter(capture_);
    capture_->SetActive(true);
    connect(capture_, &KeyCaptureFilter::keyCaptured, this, [this](const CapturedKey& key) {
        key_ = key;
        field_->setText(QString::fromStdString(key.name).left(kFieldLength));
    });

    auto* ok = new QPushButton(this);
    ok->setObjectName(ControlName(kOk));
    Layout().Add(ok, Ltrb(R / 2 - 60, 106, R / 2 + 60, 140));
    ok->setFont(UiFont(15));
    ok->setDefault(true);
    ok->setFocusPolicy(Qt::NoFocus);  // the key field keeps the keyboard
    texts->BindText(ok, txt::kRecordOk);
    connect(ok, &QPushButton::clicked, this, [this] { done(kResultOk); });
}

void RecordEditDlg::reject() {
    done(kResultCancel);
}

void RecordEditDlg::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    field_->setFocus();
}

}  // namespace quorvel
