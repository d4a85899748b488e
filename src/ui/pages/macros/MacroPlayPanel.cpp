#include "ui/pages/macros/MacroPlayPanel.h"

#include <QButtonGroup>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

#include "actions/MacroActions.h"
#include "actions/MacroEventActions.h"
#include "actions/MacroRecorder.h"
#include "store/Records.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/macros/MacroPageIds.h"

namespace quorvel {

using namespace macro_page;

namespace {

constexpr QRect kCard = QRect(862, 48, 318, 610);
constexpr int kDefaultFixedDelay = 10;
constexpr int kDefaultPlayCount = 1;
constexpr int kPlayTimes = 0, kPlayWhileHeld = 1, kPlayUntilPressed = 2;  // play_type

// The number in an edit, clamped; the edit shows the clamped number when it differs.
int ClampEdit(QLineEdit* edit, int low, int high) {
    const QString typed = edit->text();
    const int value = qBound(low, typed.toInt(), high);
    if (typed != QString::number(value)) edit->setText(QString::number(value));
    return value;
}

QLineEdit* DigitsOnly(QLineEdit* edit, int digits) {
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edit));
    edit->setMaxLength(digits);
    return edit;
}

}  // namespace

MacroPlayPanel::MacroPlayPanel(PageHost& host, QWidget* parent) : MacroPanel(kCard, parent), host_(host) {
    TextRegistry& texts = host_.Texts();

    record_ = NewButton(kRecordButton, Ltrb(880, 66, 1162, 118));
    record_->setDefault(true);  // the accent: recording is what this card is for
    record_->setIconSize(QSize(22, 22));
    Place(record_, Ltrb(880, 66, 1162, 118), 17, QFont::Bold);
    texts.BindComposed(
        record_, {txt::kRecord, txt::kStop}, [this] { return Text(recording_ ? txt::kStop : txt::kRecord); },
        [this](const QString& s) { record_->setText(s); });
    connect(record_, &QPushButton::clicked, this, &MacroPlayPanel::recordClicked);
    recordingHint_ = NewLabel(kRecordingHint, Ltrb(882, 124, 1162, 168), 12, false);
    recordingHint_->setWordWrap(true);
    recordingHint_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    QPalette danger = recordingHint_->palette();
    danger.setColor(QPalette::WindowText, palette::kDanger.lighter(115));
    recordingHint_->setPalette(danger);
    texts.BindText(recordingHint_, txt::kRecordingHint);

    texts.BindText(NewLabel(kDelayLabel, Ltrb(882, 176, 1162, 204), 15, false), txt::kDelayOptions);
    delayNone_ = NewRadio(kDelayNone, Ltrb(882, 210, 1162, 240));
    delayMeasured_ = NewRadio(kDelayMeasured, Ltrb(882, 244, 1162, 274));
    delayFixed_ = NewRadio(kDelayFixed, Ltrb(882, 278, 1040, 308));
    fixedDelay_ = DigitsOnly(NewEdit(kFixedDelayEdit, Ltrb(1044, 276, 1110, 310)), 5);
    texts.BindText(NewLabel(kFixedDelayUnit, Ltrb(1116, 276, 1162, 310), 14, true), txt::kDelayUnit);
    texts.BindText(delayNone_, txt::kNoDelay);
    texts.BindText(delayMeasured_, txt::kRecordDelays);
    texts.BindText(delayFixed_, txt::kFixedDelay);
    texts.BindToolTip(fixedDelay_, txt::kFixedDelayRange);
    auto* delays = new QButtonGroup(this);
    for (QRadioButton* r : {delayNone_, delayMeasured_, delayFixed_}) delays->addButton(r);
    connect(delayNone_, &QRadioButton::clicked, this, [this] { DelayChosen(kRecordNoDelays); });
    connect(delayMeasured_, &QRadioButton::clicked, this, [this] { DelayChosen(kRecordMeasuredDelays); });
    connect(delayFixed_, &QRadioButton::clicked, this, [this] { DelayChosen(kRecordFixedDelay); });
    connect(fixedDelay_, &QLineEdit::editingFinished, this, &MacroPlayPanel::FixedDelayEdited);

    texts.BindText(NewLabel(kPlayLabel, Ltrb(882, 334, 1162, 362), 15, false), txt::kPlayback);
    whileHeld_ = NewRadio(kPlayWhileHeldRadio, Ltrb(882, 368, 1162, 398));
    untilPressed_ = NewRadio(kPlayUntilPressedRadio, Ltrb(882, 402, 1162, 432));
    count_ = NewRadio(kPlayCountRadio, Ltrb(882, 436, 1040, 466));
    playCount_ = DigitsOnly(NewEdit(kPlayCountEdit, Ltrb(1044, 434, 1110, 468)), 4);
    texts.BindText(whileHeld_, txt::kRepeatWhileHeld);
    texts.BindText(untilPressed_, txt::kRepeatUntilPressed);
    texts.BindText(count_, txt::kRepeatCount);
    texts.BindComposed(
        playCount_, {txt::kPlayCountRange},
        [this] {
            return Text(txt::kPlayCountRange).replace(QStringLiteral("%d"), QString::number(countLimit_));
        },
        [this](const QString& s) { playCount_->setToolTip(s); });
    auto* plays = new QButtonGroup(this);
    for (QRadioButton* r : {whileHeld_, untilPressed_, count_}) plays->addButton(r);
    connect(whileHeld_, &QRadioButton::clicked, this, [this] { PlayChosen(kPlayWhileHeld); });
    connect(untilPressed_, &QRadioButton::clicked, this, [this] { PlayChosen(kPlayUntilPressed); });
    connect(count_, &QRadioButton::clicked, this, [this] { PlayChosen(kPlayTimes); });
    connect(playCount_, &QLineEdit::editingFinished, this, &MacroPlayPanel::PlayCountEdited);

    // Under the record button, where the recording's hint takes its place.
    tip_ = NewLabel(kPlayTip, Ltrb(882, 124, 1162, 168), 12, true);
    tip_->setWordWrap(true);
    tip_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    texts.BindText(tip_, txt::kPlayTip);

    SetRecording(false);
    ShowSettings(MacroRecord{});
}

void MacroPlayPanel::ShowMacro(int macroId) {
    macroId_ = macroId;
    // The play count's range depends on the mouse's protocol family.
    countLimit_ = MacroPlayCountLimit(host_.Actions());
    playCount_->setToolTip(
        Text(txt::kPlayCountRange).replace(QStringLiteral("%d"), QString::number(countLimit_)));
    MacroDetails details;
    if (macroId <= 0 || !quorvel::ShowMacro(host_.Actions(), macroId, &details).ok) details = MacroDetails{};
    ShowSettings(details.info.macro);
}

void MacroPlayPanel::ShowSettings(const MacroRecord& macro) {
    // delay_type: 0 none, 1 measured, 2 fixed with its delay.
    delayNone_->setChecked(macro.delay_type == kRecordNoDelays);
    delayMeasured_->setChecked(macro.delay_type == kRecordMeasuredDelays);
    delayFixed_->setChecked(macro.delay_type == kRecordFixedDelay);
    fixedDelay_->setEnabled(macro.delay_type == kRecordFixedDelay);
    fixedDelay_->setText(macro.delay_type == kRecordFixedDelay ? QString::number(macro.delay_time)
                                                               : QString::number(kDefaultFixedDelay));
    // play_type: 1 while held, 2 until pressed again, 0 a count.
    whileHeld_->setChecked(macro.play_type == kPlayWhileHeld);
    untilPressed_->setChecked(macro.play_type == kPlayUntilPressed);
    count_->setChecked(macro.play_type == kPlayTimes);
    playCount_->setEnabled(macro.play_type == kPlayTimes);
    playCount_->setText(macro.play_type == kPlayTimes ? QString::number(macro.play_times)
                                                      : QString::number(kDefaultPlayCount));
}

void MacroPlayPanel::SetRecording(bool recording) {
    recording_ = recording;
    record_->setText(Text(recording ? txt::kStop : txt::kRecord));
    const QIcon icon = Skin::Instance().Icon(recording ? QStringLiteral("icon\\icon_stop_rec.png")
                                                       : QStringLiteral("icon\\icon_rec.png"));
    record_->setIcon(icon);
    recordingHint_->setVisible(recording);
    tip_->setVisible(!recording);
    for (QWidget* w : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (w != record_ && w != recordingHint_) w->setEnabled(!recording);
    }
    if (!recording) {
        fixedDelay_->setEnabled(delayFixed_->isChecked());
        playCount_->setEnabled(count_->isChecked());
    }
}

int MacroPlayPanel::DelayMode() const {
    if (delayNone_->isChecked()) return kRecordNoDelays;
    return delayFixed_->isChecked() ? kRecordFixedDelay : kRecordMeasuredDelays;
}

int MacroPlayPanel::FixedDelay() {
    if (fixedDelay_->text().isEmpty()) fixedDelay_->setText(QString::number(kDefaultFixedDelay));
    return ClampEdit(fixedDelay_, kMinMacroDelayMs, kMaxMacroDelayMs);
}

void MacroPlayPanel::DelayChosen(int mode) {
    fixedDelay_->setEnabled(mode == kRecordFixedDelay);
    if (mode == kRecordFixedDelay) fixedDelay_->setText(QString::number(kDefaultFixedDelay));
    Save();
}

void MacroPlayPanel::PlayChosen(int playType) {
    playCount_->setEnabled(playType == kPlayTimes);
    if (playType == kPlayTimes) playCount_->setText(QString::number(kDefaultPlayCount));
    Save();
}

void MacroPlayPanel::FixedDelayEdited() {
    ClampEdit(fixedDelay_, kMinMacroDelayMs, kMaxMacroDelayMs);
    Save();
}

void MacroPlayPanel::PlayCountEdited() {
    ClampEdit(playCount_, 1, countLimit_);
    Save();
}

void MacroPlayPanel::Save() {
    if (macroId_ <= 0) return;
    MacroPlayChange change;
    change.delayType = DelayMode();
    if (*change.delayType == kRecordFixedDelay) change.delayTime = FixedDelay();
    if (count_->isChecked()) {
        if (playCount_->text().isEmpty()) playCount_->setText(QString::number(kDefaultPlayCount));
        change.playType = kPlayTimes;
        change.playTimes = ClampEdit(playCount_, 1, countLimit_);
    } else {
        change.playType = whileHeld_->isChecked() ? kPlayWhileHeld : kPlayUntilPressed;
    }
    if (!SetMacroPlaySettings(host_.Actions(), macroId_, change).ok) {
        OpenMessageBox(host_.Window(), txt::kPlayback, txt::kMacroNotChanged, kBoxOk, {});
        return;
    }
    emit settingsEdited(macroId_);
}

}  // namespace quorvel
