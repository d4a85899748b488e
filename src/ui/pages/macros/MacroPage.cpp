#include "ui/pages/macros/MacroPage.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "actions/MacroActions.h"
#include "device/DeviceView.h"
#include "toolkit/CRecordList.h"
#include "toolkit/KeyCaptureFilter.h"
#include "toolkit/MacroList.h"
#include "toolkit/Theme.h"
#include "ui/common/DesignLayout.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/common/UiText.h"
#include "ui/dialogs/CUIMessageBox.h"
#include "ui/pages/macros/MacroEventEditor.h"
#include "ui/pages/macros/MacroEventPanel.h"
#include "ui/pages/macros/MacroListPanel.h"
#include "ui/pages/macros/MacroPageIds.h"
#include "ui/pages/macros/MacroPlayPanel.h"
#include "ui/window/DeviceEvents.h"

namespace quorvel {

using namespace macro_page;

namespace {
constexpr QRect kCaption = QRect(4, 0, 600, 40);
constexpr QSize kDesignSize(1180, 658);
}  // namespace

bool MacroPage::RefreshesOn(unsigned pages) const {
    return pages & kPageMacros;
}

MacroPage::MacroPage(PageHost& host, QWidget* parent) : Page(host, parent) {
    setObjectName(QStringLiteral("MacroPage"));
    connect(&host.Events(), &DeviceEvents::macroRecordingStopped, this, &MacroPage::StopMacroRecording);
    caption_ = new QLabel(this);
    caption_->setObjectName(ControlName(kMacroCaption));
    caption_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    Host().Texts().BindText(caption_, txt::kMacroSettings);

    list_ = new MacroListPanel(host, this);
    events_ = new MacroEventPanel(host, this);
    editor_ = new MacroEventEditor(host, this);
    play_ = new MacroPlayPanel(host, this);

    connect(list_, &MacroListPanel::macroChosen, this, &MacroPage::ShowMacro);
    connect(list_, &MacroListPanel::macrosChanged, this, &MacroPage::macrosChanged);
    connect(events_, &MacroEventPanel::eventClicked, this, &MacroPage::ShowChosenEvent);
    connect(events_, &MacroEventPanel::eventsShown, this, [this] {
        if (editor_->Showing()) ShowChosenEvent();
    });
    connect(editor_, &MacroEventEditor::valueChanged, events_, &MacroEventPanel::ChangeChosen);
    connect(editor_, &MacroEventEditor::moveRequested, events_, &MacroEventPanel::MoveChosen);
    connect(events_, &MacroEventPanel::eventsEdited, this, &MacroPage::SendAgain);
    connect(play_, &MacroPlayPanel::settingsEdited, this, &MacroPage::SendAgain);
    connect(play_, &MacroPlayPanel::recordClicked, this, [this] {
        if (Recording()) {
            StopRecording();
        } else {
            StartRecording();
        }
    });

    capture_ = new KeyCaptureFilter(this);
    connect(capture_, &KeyCaptureFilter::keyCaptured, this, &MacroPage::KeyRecorded);

    layout_ = new DesignLayout(this, kDesignSize);
    layout_->SetFontRule({12, true});
    layout_->Add(caption_, kCaption, 22, QFont::Bold);
    for (MacroPanel* panel : std::initializer_list<MacroPanel*>{list_, events_, editor_, play_})
        layout_->Add(panel, panel->Design());
    UISize(1.0);
}

void MacroPage::UISize(qreal scale) {
    scale_ = scale;
    layout_->SetScale(scale);
    for (MacroPanel* panel : std::initializer_list<MacroPanel*>{list_, events_, editor_, play_})
        panel->UISize(scale);
    list_->List()->SetRowHeight(qRound(40 * scale));
    events_->List()->SetRowHeight(qRound(34 * scale));
}

void MacroPage::Refresh() {
    // A reload while recording (the mouse came back, the model changed) ends the recording first.
    if (Recording()) StopRecording();
    list_->Reload(macroId_);
}

void MacroPage::ShowMacro(int macroId) {
    macroId_ = macroId;
    play_->ShowMacro(macroId);
    events_->ShowEvents(macroId);
    editor_->ShowEvent(nullptr);
}

void MacroPage::ShowChosenEvent() {
    RecordItem item;
    const int chosen = events_->List()->GetSelectEvent();
    editor_->ShowEvent(events_->List()->GetRecordInfo(chosen, &item) ? &item : nullptr);
}

bool MacroPage::Recording() const {
    return recorder_.Active();
}

void MacroPage::SetRecordingClock(MacroRecorder::Clock clock) {
    if (!Recording()) recorder_ = MacroRecorder(std::move(clock));
}

void MacroPage::StartRecording() {
    if (macroId_ <= 0) {
        OpenMessageBox(Host().Window(), txt::kRecord, txt::kNoMacroChosen, kBoxOk, {});
        return;
    }
    const int mode = play_->DelayMode();
    const int fixed = mode == kRecordFixedDelay ? play_->FixedDelay() : 0;
    if (!StartMacroRecording(Host().Actions(), macroId_, mode, fixed, recorder_).ok) {
        OpenMessageBox(Host().Window(), txt::kRecord, txt::kMacroNotChanged, kBoxOk, {});
        return;
    }
    editor_->EndCapture();
    editor_->ShowEvent(nullptr);
    events_->ShowEvents(macroId_);
    // Every key the program receives is recorded, whichever control has the focus.
    qApp->installEventFilter(capture_);
    capture_->SetActive(true);
    LockForRecording(true);
}

void MacroPage::KeyRecorded(const CapturedKey& key) {
    const MacroRecorder::Step step = recorder_.Key(key.virtualKey, key.up != 0);
    if (step == MacroRecorder::Step::kIgnored) return;
    events_->AppendRecorded(recorder_.Events());
    if (step == MacroRecorder::Step::kRecorded) return;
    StopRecording();
    OpenMessageBox(Host().Window(), txt::kEventList, txt::kEventLimit, kBoxOk, {});
}

void MacroPage::StopRecording() {
    capture_->SetActive(false);
    qApp->removeEventFilter(capture_);
    bool modelChanged = false;
    const int skipped = recorder_.SkippedKeys();
    const ActionResult stored = StoreMacroRecording(Host().Actions(), recorder_, &modelChanged);
    LockForRecording(false);
    if (!modelChanged) events_->ShowEvents(macroId_);
    if (!stored.ok) {
        OpenMessageBox(Host().Window(), txt::kRecord,
                       modelChanged ? txt::kMouseChangedWhileRecording : txt::kRecordingNotSaved, kBoxOk, {});
        return;
    }
    SendAgain(macroId_);
    // Said once, at the end: a box per skipped key would interrupt the recording itself.
    if (skipped > 0)
        OpenMessageBox(
            Host().Window(), txt::kRecord,
            UiText(Text(txt::kKeysSkipped).replace(QStringLiteral("%s"), QString::number(skipped))), kBoxOk,
            {});
}

void MacroPage::SendAgain(int macroId) {
    // The buttons of the current profile that play the macro get it again: the mouse plays what was
    // edited, not its previous events.
    ActionResult resend;
    resend.ok = true;
    resend.tasks = MacroResendRequests(Host().Actions(), macroId);
    if (!resend.tasks.empty()) Host().Queue(resend);
}

void MacroPage::LockForRecording(bool recording) {
    play_->SetRecording(recording);
    list_->setEnabled(!recording);
    events_->setEnabled(!recording);
    editor_->setEnabled(!recording);
    Host().SetRecording(recording);
}

void MacroPage::StopMacroRecording() {
    if (Recording()) StopRecording();
}

void MacroPage::CloseTransient() {
    list_->CloseTransient();
    events_->CloseTransient();
    editor_->EndCapture();
    StopMacroRecording();
}

}  // namespace quorvel
