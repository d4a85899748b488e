#include "ui/pages/performance/PowerPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "actions/FeatureActions.h"
#include "actions/PerformanceActions.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"

namespace quorvel {

namespace {

// The sleep choices: the number shown and its unit (538 seconds, 537 minutes), and the stored value
// (tenths of the time in seconds).
struct SleepChoice {
    int number;
    int unit;
    int data;
};
constexpr SleepChoice kSleepChoices[] = {
    {10, txt::kSeconds, 1}, {30, txt::kSeconds, 3},  {1, txt::kMinutes, 6},    {2, txt::kMinutes, 12},
    {5, txt::kMinutes, 30}, {10, txt::kMinutes, 60}, {20, txt::kMinutes, 120}, {30, txt::kMinutes, 180}};

}  // namespace

PowerPanel::PowerPanel(PageHost& host, QWidget* parent) : PerformancePanel(host, parent, QSize(1180, 176)) {
    title_ = NewTitle(kTitle, txt::kPowerSaving);

    sleepLabel_ = NewLabel(kSleepLabel, txt::kSleepTime);
    sleep_ = new QComboBox(this);
    sleep_->setObjectName(ControlName(kSleep));
    for (const SleepChoice& choice : kSleepChoices) sleep_->addItem(QString(), choice.data);
    // The items say "10 sec", "1 min" ... in the current language.
    Host().Texts().BindComposed(
        sleep_, {txt::kMinutes, txt::kSeconds}, [] { return QString(); },
        [sleep = sleep_](const QString&) {
            for (int i = 0; i < sleep->count(); ++i) {
                const SleepChoice& choice = kSleepChoices[i];
                sleep->setItemText(i, QStringLiteral("%1 %2").arg(choice.number).arg(Text(choice.unit)));
            }
        });
    sleep_->setCurrentIndex(-1);
    connect(sleep_, &QComboBox::activated, this, [this](int index) {
        PowerChange change;
        change.sleepSeconds = sleep_->itemData(index).toInt() * 10;
        Submit(SetPower(Host().Actions(), change));
    });

    responseLabel_ = NewLabel(kResponseLabel, txt::kResponseTime);
    responseTime_ = new QLineEdit(this);
    responseTime_->setObjectName(ControlName(kResponseTime));
    responseTime_->setAlignment(Qt::AlignCenter);
    responseTime_->setMaxLength(4);
    responseTime_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]{0,3}")), responseTime_));
    connect(responseTime_, &QLineEdit::editingFinished, this, &PowerPanel::ResponseTimeEdited);

    wake_ = NewCheckBox(kWake, txt::kWakeOnMotion);
    connect(wake_, &QCheckBox::clicked, this, [this](bool on) {
        PowerChange change;
        change.wakeOnMove = on;
        Submit(SetPower(Host().Actions(), change));
    });
    lightsOff_ = NewCheckBox(kLightsOff, txt::kLightsOffMoving);
    connect(lightsOff_, &QCheckBox::clicked, this, [this](bool on) {
        PowerChange change;
        change.lightsOffMoving = on;
        Submit(SetPower(Host().Actions(), change));
    });
    Place(title_, Ltrb(20, 12, 360, 42), 16);
    Place(sleepLabel_, Ltrb(24, 56, 236, 88), 14);
    Place(sleep_, Ltrb(240, 56, 360, 88), 14);
    Place(responseLabel_, Ltrb(24, 104, 236, 136), 14);
    Place(responseTime_, Ltrb(240, 104, 300, 136), 14);
    Place(wake_, Ltrb(390, 56, 600, 88), 14);
    Place(lightsOff_, Ltrb(390, 104, 600, 136), 14);
}

void PowerPanel::Load(const PerformanceSettings& settings) {
    // Only the settings that mean something on this model: a mouse on a cable never sleeps, one without
    // lights has none to switch off.
    const ModelFeatures features = ReadModelFeatures(Host().Actions());
    sleepLabel_->setVisible(features.sleepTime);
    sleep_->setVisible(features.sleepTime);
    wake_->setVisible(features.wakeOnMove);
    lightsOff_->setVisible(features.lightsOffMoving);
    responseLabel_->setVisible(features.responseTime);
    responseTime_->setVisible(features.responseTime);
    // The rows shown close up from the top of each column.
    const auto rowTop = [](int row) { return 56 + 48 * row; };
    int left = 0, right = 0;
    if (features.sleepTime) {
        Move(sleepLabel_, Ltrb(24, rowTop(left), 236, rowTop(left) + 32));
        Move(sleep_, Ltrb(240, rowTop(left), 360, rowTop(left) + 32));
        ++left;
    }
    if (features.responseTime) {
        Move(responseLabel_, Ltrb(24, rowTop(left), 236, rowTop(left) + 32));
        Move(responseTime_, Ltrb(240, rowTop(left), 300, rowTop(left) + 32));
    }
    if (features.wakeOnMove) {
        Move(wake_, Ltrb(390, rowTop(right), 600, rowTop(right) + 32));
        ++right;
    }
    if (features.lightsOffMoving) Move(lightsOff_, Ltrb(390, rowTop(right), 600, rowTop(right) + 32));
    responseTime_->setText(QString::number(settings.buttonResponseTime));
    responseTime_->setModified(false);
    sleep_->setCurrentIndex(sleep_->findData(settings.sleepSeconds / 10));
    wake_->setChecked(settings.wakeOnMove);
    lightsOff_->setChecked(settings.lightsOffMoving);
}

void PowerPanel::ResponseTimeEdited() {
    // Enter and leaving the field both end an edit; only a typed change is stored and sent.
    if (!responseTime_->isModified()) return;
    responseTime_->setModified(false);
    PowerChange change;
    change.buttonResponseTime = responseTime_->text().toInt();  // not a number: 0
    const ActionResult result = SetPower(Host().Actions(), change);
    if (!Submit(result)) return;
    // The stored time, clamped to 0-20: typing 35 shows 20.
    responseTime_->setText(QString::fromStdString(result.stored.back().second));
}

}  // namespace quorvel
