#include "ui/pages/performance/PerformancePanel.h"

#include <QCheckBox>
#include <QLabel>
#include <QPainter>
#include <QToolTip>

#include "actions/ActionResult.h"
#include "device/PageState.h"
#include "toolkit/CImageButton.h"
#include "toolkit/Skin.h"
#include "toolkit/Theme.h"
#include "ui/common/PageHost.h"
#include "ui/common/TextIds.h"
#include "ui/common/UiRect.h"
#include "ui/dialogs/CUIMessageBox.h"

namespace quorvel {

namespace {

void SetTextColour(QWidget* widget, const QColor& colour) {
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    widget->setPalette(p);
}

}  // namespace

PerformancePanel::PerformancePanel(PageHost& host, QWidget* parent, QSize designSize)
    : QWidget(parent), host_(host), layout_(new DesignLayout(this, designSize)) {
    layout_->SetFontRule({8, false});
}

DeviceState PerformancePanel::Device() {
    return host_.Actions().core.Snapshot();
}

bool PerformancePanel::Submit(const ActionResult& result) {
    if (!result.ok) {
        // The actions' own message is for the command line; the page says what the user can do.
        OpenMessageBox(host_.Window(), txt::kPerformance, txt::kChangeNotSaved, kBoxOk, nullptr);
        emit changeRefused();
        return false;
    }
    host_.Queue(result);
    return true;
}

QLabel* PerformancePanel::NewTitle(int id, const UiText& text) {
    QLabel* label = NewLabel(id, text);
    SetTextColour(label, palette::kText);
    return label;
}

QLabel* PerformancePanel::NewLabel(int id, const UiText& text) {
    auto* label = new QLabel(this);
    label->setObjectName(ControlName(id));
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    SetTextColour(label, palette::kTextDim);
    host_.Texts().BindText(label, text);
    return label;
}

QCheckBox* PerformancePanel::NewCheckBox(int id, const UiText& text) {
    auto* box = new QCheckBox(this);
    box->setObjectName(ControlName(id));
    host_.Texts().BindText(box, text);
    return box;
}

CImageButton* PerformancePanel::NewHelpButton(int id) {
    auto* help = new CImageButton(QString(), Glyph::Help, this);
    help->setObjectName(ControlName(id));
    help->setCursor(Qt::WhatsThisCursor);
    connect(help, &QAbstractButton::clicked, this, [help] {
        QToolTip::showText(help->mapToGlobal(QPoint(0, help->height())), help->toolTip(), help);
    });
    return help;
}

CImageButton* PerformancePanel::NewResetButton(int id, int toolTip) {
    auto* reset = new CImageButton(QStringLiteral("btn_reset.png"), Glyph::Reset, this);
    reset->setObjectName(ControlName(id));
    reset->SetTintImage(true);
    host_.Texts().BindToolTip(reset, toolTip);
    return reset;
}

void PerformancePanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (Skin::Instance().PaintFrame(p, rect(), QStringLiteral("img_area_bkg.png"), QMargins(16, 16, 16, 16)))
        return;
    p.setPen(palette::kBorder);
    p.setBrush(palette::kSurface);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 12, 12);
}

}  // namespace quorvel
