#include "ui/dialogs/MousePaletteDlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRegularExpressionValidator>

#include "toolkit/CColorButton.h"
#include "toolkit/CaptionButton.h"
#include "toolkit/MPalette.h"
#include "toolkit/MPicture.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiFonts.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/window/DeviceEvents.h"

namespace quorvel {

namespace {

int Byte(int colour, int index) {
    return (colour >> (8 * index)) & 0xFF;
}

}  // namespace

MousePaletteDlg::MousePaletteDlg(QWidget* owner, int colour)
    : SkinnedDialog(owner, Qt::Dialog, "PaletteDlg", kDesignSize) {
    auto* texts = new TextRegistry(this);
    const int W = kDesignSize.width(), H = kDesignSize.height();

    auto* title = new QLabel(this);
    title->setObjectName(ControlName(kTitle));
    Layout().Add(title, Ltrb(30, 15, W - 60, 45));
    title->setFont(UiFont(16));
    texts->BindText(title, txt::kChooseColour);

    auto* close = new CaptionButton(CaptionKind::Close, this);
    close->setObjectName(ControlName(kClose));
    Layout().Add(close, Ltrb(W - 50, 15, W - 20, 45));
    close->setFocusPolicy(Qt::NoFocus);
    texts->BindToolTip(close, txt::kClose);
    connect(close, &QAbstractButton::clicked, this, &MousePaletteDlg::reject);

    palette_ = new MPalette(this);
    palette_->setObjectName(ControlName(kPalette));
    Layout().Add(palette_, Ltrb(30, 60, 200, 220));
    connect(palette_, &MPalette::colorChanging, this, [this](int c) { Take(c, true); });
    connect(palette_, &MPalette::colorPicked, this, [this](int c) { Take(c, true); });

    preview_ = new MPicture(this);
    preview_->setObjectName(ControlName(kPreview));
    Layout().Add(preview_, Ltrb(210, 60, 300, 110));

    const int labelIds[] = {kRedLabel, kGreenLabel, kBlueLabel};
    const int labelTexts[] = {txt::kRed, txt::kGreen, txt::kBlue};
    const int fieldIds[] = {kRed, kGreen, kBlue};
    for (int i = 0; i < 3; ++i) {
        const int top = 120 + 30 * i;
        auto* label = new QLabel(this);
        label->setObjectName(ControlName(labelIds[i]));
        Layout().Add(label, Ltrb(210, top, 240, top + 25));
        label->setFont(UiFont(14));
        texts->BindText(label, labelTexts[i]);
        auto* field = new QLineEdit(this);
        field->setObjectName(ControlName(fieldIds[i]));
        Layout().Add(field, Ltrb(240, top, 300, top + 25));
        field->setFont(UiFont(13, QFont::Normal));
        field->setAlignment(Qt::AlignCenter);
        field->setMaxLength(3);
        field->setValidator(
            new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), field));
        connect(field, &QLineEdit::textEdited, this, [this, field] { FieldEdited(field); });
        fields_[static_cast<size_t>(i)] = field;
    }

    auto* presetGroup = new QButtonGroup(this);  // the presets are one choice
    for (size_t i = 0; i < kPresets.size(); ++i) {
        const int left = 30 + 35 * static_cast<int>(i);
        auto* preset = new CColorButton(kPresets[i], QString(), this);
        preset->SetGroup(presetGroup);
        preset->setObjectName(ControlName(kFirstPreset + static_cast<int>(i)));
        Layout().Add(preset, Ltrb(left, 230, left + 26, 256));
        connect(preset, &QAbstractButton::clicked, this, [this, preset] { Take(preset->GetColor(), false); });
        presets_[i] = preset;
    }

    auto* apply = new QPushButton(this);
    apply->setObjectName(ControlName(kApply));
    Layout().Add(apply, Ltrb(W - 120, H - 50, W - 20, H - 20));
    apply->setFont(UiFont(14));
    apply->setDefault(true);
    texts->BindText(apply, txt::kApply);
    connect(apply, &QPushButton::clicked, this, [this] { done(kResultOk); });

    // The palette keeps the starting colour exactly; the dialog takes it from there.
    palette_->SetSelectColor(colour & 0xFFFFFF);
    Take(palette_->GetSelectColor(), true);
}

void MousePaletteDlg::Take(int colour, bool fromPalette) {
    colour_ = colour;
    for (int i = 0; i < 3; ++i) fields_[static_cast<size_t>(i)]->setText(QString::number(Byte(colour, i)));
    if (!fromPalette)
        palette_->SetSelectColor(colour);
    else
        UncheckPresets();
    preview_->SetFallbackColor(ColorFromRef(colour));
}

void MousePaletteDlg::FieldEdited(QLineEdit* field) {
    // Clamped as typed: 300 becomes 255 in the field at once.
    const int typed = field->text().toInt();
    if (typed > 255) field->setText(QStringLiteral("255"));
    int colour = 0;
    for (int i = 0; i < 3; ++i) colour |= (fields_[static_cast<size_t>(i)]->text().toInt() & 0xFF) << (8 * i);
    colour_ = colour;
    UncheckPresets();
    palette_->SetSelectColor(colour);
    preview_->SetFallbackColor(ColorFromRef(colour));
}

void MousePaletteDlg::UncheckPresets() {
    for (CColorButton* preset : presets_) preset->SetCheck(false);
}

void MousePaletteDlg::reject() {
    colour_ = 0;
    done(kResultCancel);
}

int MousePaletteDlg::Pick(QWidget* owner, int colour) {
    MousePaletteDlg dialog(owner, colour);
    dialog.CentreOnOwner();
    if (DeviceEvents* events = DeviceEvents::Of(owner))
        connect(events, &DeviceEvents::closeTransientWindows, &dialog, &SkinnedDialog::closeForDeviceChange);
    const int result = dialog.exec();
    return result == kResultOk ? dialog.Colour() : 0;
}

void MousePaletteDlg::Open(QWidget* owner, int colour, std::function<void(int)> done) {
    auto* dialog = new MousePaletteDlg(owner, colour);
    dialog->CentreOnOwner();
    if (DeviceEvents* events = DeviceEvents::Of(owner))
        connect(events, &DeviceEvents::closeTransientWindows, dialog, &SkinnedDialog::closeForDeviceChange);
    connect(dialog, &QDialog::finished, dialog, [dialog, done = std::move(done)](int result) {
        dialog->deleteLater();
        if (done) done(result == kResultOk ? dialog->Colour() : 0);
    });
    dialog->open();
}

int MousePaletteDlg::CloseAll() {
    int closed = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* picker = qobject_cast<MousePaletteDlg*>(window);
        if (!picker || !picker->isVisible()) continue;
        picker->reject();
        ++closed;
    }
    return closed;
}

}  // namespace quorvel
