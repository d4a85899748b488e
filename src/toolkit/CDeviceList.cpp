#include "toolkit/CDeviceList.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>

#include "toolkit/BatteryCtrl.h"
#include "toolkit/Glyphs.h"
#include "toolkit/Paint.h"
#include "toolkit/Skin.h"
#include "toolkit/SkinStyle.h"
#include "toolkit/Theme.h"

namespace quorvel {

namespace {
constexpr qreal kCardMinWidth = 250;
constexpr qreal kCardMaxWidth = 320;
constexpr qreal kGap = 24;
}  // namespace

CDeviceList::CDeviceList(QWidget* parent) : ItemPicker(Qt::Horizontal, parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
}

QString CDeviceList::VersionText(quint32 release) {
    const QString hex = QString::number(release, 16).toUpper();
    if (hex.size() < 3) return hex;
    return hex.left(hex.size() - 2) + '.' + hex.right(2);
}

void CDeviceList::ClearList() {
    devices_.clear();
    current_ = 0;
    selected_ = -1;
    hover_ = -1;
    page_ = 0;
    update();
}

void CDeviceList::AddDevice(const QString& name, int deviceType, const QString& image) {
    Device device;
    device.name = name;
    device.type = deviceType;
    device.image = image;
    devices_.push_back(device);
    update();
}

QString CDeviceList::GetDeviceName(int index) const {
    return index >= 0 && index < GetDeviceCount() ? devices_[index].name : QString();
}

int CDeviceList::GetDeviceType(int index) const {
    return index >= 0 && index < GetDeviceCount() ? devices_[index].type : 0;
}

int CDeviceList::IndexOfDevice(int deviceType) const {
    for (int i = 0; i < GetDeviceCount(); ++i) {
        if (devices_[i].type == deviceType) return i;
    }
    return -1;
}

CDeviceList::Device* CDeviceList::Find(int deviceType) {
    const int index = IndexOfDevice(deviceType);
    return index >= 0 ? &devices_[index] : nullptr;
}

void CDeviceList::SetAllDeviceState(int state) {
    for (Device& device : devices_) device.state = state;
    update();
}

void CDeviceList::SetDeviceState(int deviceType, int linkMode, int linkState) {
    if (Device* device = Find(deviceType)) {
        device->linkMode = linkMode;
        device->state = linkState;
        update();
    }
}

void CDeviceList::SetDeviceBattery(int deviceType, int status, int level) {
    if (Device* device = Find(deviceType)) {
        device->batteryStatus = status;
        device->batteryLevel = level;
        update();
    }
}

void CDeviceList::SetDeviceVersion(int deviceType, quint32 release) {
    if (Device* device = Find(deviceType)) {
        device->release = release;
        device->hasRelease = true;
        update();
    }
}

int CDeviceList::GetDeviceState(int deviceType) const {
    const int index = IndexOfDevice(deviceType);
    return index >= 0 ? devices_[index].state : 0;
}

int CDeviceList::GetDeviceLinkMode(int deviceType) const {
    const int index = IndexOfDevice(deviceType);
    return index >= 0 ? devices_[index].linkMode : 0;
}

int CDeviceList::GetDeviceBatteryLevel(int deviceType) const {
    const int index = IndexOfDevice(deviceType);
    return index >= 0 ? devices_[index].batteryLevel : 0;
}

QString CDeviceList::GetDeviceVersionText(int deviceType) const {
    const int index = IndexOfDevice(deviceType);
    return index >= 0 && devices_[index].hasRelease ? VersionText(devices_[index].release) : QString();
}

int CDeviceList::GetOnlineDevCount() const {
    int count = 0;
    for (const Device& device : devices_) count += device.state == 1 ? 1 : 0;
    return count;
}

void CDeviceList::SetSelectDevice(int deviceType) {
    current_ = deviceType;
    selected_ = IndexOfDevice(deviceType);
    if (selected_ >= 0) page_ = selected_ / CardsPerPage();
    update();
}

int CDeviceList::GetSelectDevice() const {
    return GetDeviceType(selected_);
}

int CDeviceList::CardsPerPage() const {
    return qMax(1, static_cast<int>((width() + kGap) / (kCardMinWidth + kGap)));
}

int CDeviceList::GetPageCount() const {
    const int per = CardsPerPage();
    return qMax(1, (GetDeviceCount() + per - 1) / per);
}

void CDeviceList::ScrollPage(int delta) {
    const int pages = GetPageCount();
    page_ = ((page_ + delta) % pages + pages) % pages;
    hover_ = -1;
    update();
}

void CDeviceList::SetSelectIndex(int index) {
    if (index < 0) {
        ScrollPage(1);
    } else if (index < GetDeviceCount()) {
        page_ = index / CardsPerPage();
        update();
    }
}

void CDeviceList::SetTexts(const DeviceListTexts& texts) {
    texts_ = texts;
    update();
}

QSize CDeviceList::sizeHint() const {
    return QSize(1000, 420);
}

void CDeviceList::resizeEvent(QResizeEvent*) {
    page_ = qMin(page_, GetPageCount() - 1);
}

QRectF CDeviceList::PictureRect(const QRectF& card) {
    return QRectF(card.left() + 16, card.top() + 16, card.width() - 32, card.height() * 0.56);
}

void CDeviceList::PrerenderPictures() {
    for (int i = 0; i < GetDeviceCount(); ++i) {
        const QRectF card = CardRect(i);
        if (!card.isEmpty() && !devices_[i].image.isEmpty())
            Skin::Instance().PrerenderFit(devices_[i].image, PictureRect(card).size(), devicePixelRatioF());
    }
}

QRectF CDeviceList::CardRect(int index) const {
    const int per = CardsPerPage();
    if (index < 0 || index >= GetDeviceCount() || index / per != page_) return {};
    const int onPage = qMin(per, GetDeviceCount() - page_ * per);
    const qreal w = qBound(kCardMinWidth, (width() - kGap * (per - 1)) / per, kCardMaxWidth);
    const qreal h = qMin(height() - 2.0, w * 1.3);
    const qreal used = onPage * w + (onPage - 1) * kGap;
    const qreal left = (width() - used) / 2 + (index % per) * (w + kGap);
    return QRectF(left, (height() - h) / 2, w, h);
}

int CDeviceList::StepTarget(int step) const {
    if (selected_ < 0) return GetDeviceCount() > 0 ? 0 : -1;
    return ItemPicker::StepTarget(step);
}

void CDeviceList::Stepped(int index) {
    // Only selected: the card is opened by Enter, as by a click.
    selected_ = index;
    page_ = index / CardsPerPage();
    update();
}

void CDeviceList::Picked(int index) {
    const int type = devices_[index].type;
    // Until the owner takes the pick, the current card stays the selected one.
    selected_ = IndexOfDevice(current_);
    update();
    emit deviceClicked(type);
}

void CDeviceList::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && selected_ >= 0) {
        Picked(selected_);
        return;
    }
    ItemPicker::keyPressEvent(event);
}

void CDeviceList::PaintDevice(QPainter& p, const QRectF& card, const Device& device, bool selected,
                              bool hot) {
    const bool online = device.state == 1;
    PaintCard(p, card, 16, selected ? CardState::Selected : hot ? CardState::Hot : CardState::Normal);

    // Picture over a soft floor light; a drawn mouse when the skin lacks it.
    const QRectF picture = PictureRect(card);
    p.setOpacity(online ? 1.0 : 0.55);
    if (device.image.isEmpty() || !Skin::Instance().PaintFit(p, picture, device.image)) {
        const qreal side = qMin(picture.width(), picture.height()) * 0.7;
        PaintGlyph(p, QRectF(picture.center() - QPointF(side / 2, side / 2), QSizeF(side, side)),
                   Glyph::Mouse, palette::kTextDim);
    }
    p.setOpacity(1.0);

    const qreal line = qBound(12.0, card.height() * 0.055, 18.0);
    qreal y = picture.bottom() + 12;
    p.setFont(PixelFont(font(), line * 1.25, QFont::Bold));
    p.setPen(palette::kText);
    DrawElided(p, QRectF(card.left() + 20, y, card.width() - 40, line * 1.8),
               Qt::AlignLeft | Qt::AlignVCenter, device.name);
    y += line * 1.9;

    // State: a dot, the link and whether it is connected.
    const QColor dot = online ? palette::kGood : device.state == 2 ? palette::kWarn : palette::kTextDisabled;
    p.setPen(Qt::NoPen);
    p.setBrush(WithAlpha(dot, 70));
    p.drawEllipse(QPointF(card.left() + 25, y + line * 0.7), 6, 6);
    p.setBrush(dot);
    p.drawEllipse(QPointF(card.left() + 25, y + line * 0.7), 3.5, 3.5);
    p.setFont(PixelFont(font(), line));
    p.setPen(online ? palette::kText : palette::kTextDim);
    const QString link = device.linkMode == 1 ? texts_.wireless : texts_.wired;
    const QString state = online ? texts_.connected : texts_.disconnected;
    DrawElided(p, QRectF(card.left() + 38, y, card.width() - 58, line * 1.4),
               Qt::AlignLeft | Qt::AlignVCenter, online ? link + QStringLiteral("  ·  ") + state : state);
    y += line * 1.8;

    // Battery and version along the bottom, once known.
    const qreal bottom = card.bottom() - 16 - line * 1.4;
    y = qMax(y, bottom);
    if (online && device.linkMode == 1) {
        const QRectF cell(card.left() + 20, y + line * 0.2, line * 2.0, line * 1.0);
        PaintBatteryCell(p, cell, device.batteryLevel, device.batteryStatus, true);
        p.setPen(palette::kTextDim);
        p.drawText(QRectF(cell.right() + 6, y, 70, line * 1.4), Qt::AlignLeft | Qt::AlignVCenter,
                   device.batteryLevel > 0 ? QStringLiteral("%1%").arg(qMin(device.batteryLevel, 100))
                                           : QStringLiteral("-"));
    }
    if (online && device.hasRelease) {
        p.setPen(palette::kTextDim);
        const qreal versionLeft = card.left() + 20 + line * 2.0 + 56;  // after the battery and its percentage
        DrawElided(p, QRectF(versionLeft, y, card.right() - 20 - versionLeft, line * 1.4),
                   Qt::AlignRight | Qt::AlignVCenter,
                   texts_.version + QStringLiteral(" v") + VersionText(device.release));
    }
}

void CDeviceList::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    if (devices_.isEmpty()) {
        const qreal w = qMin(qreal(width()), kCardMaxWidth);
        const QRectF card((width() - w) / 2, 0, w, qMin(height() * 1.0, w * 1.3));
        PaintCard(p, card, 16, CardState::Disabled);
        const qreal side = card.width() * 0.3;
        PaintGlyph(p, QRectF(card.center() - QPointF(side / 2, side / 2), QSizeF(side, side)), Glyph::Mouse,
                   palette::kTextDisabled);
        return;
    }
    for (int i = 0; i < GetDeviceCount(); ++i) {
        const QRectF card = CardRect(i);
        if (!card.isEmpty()) PaintDevice(p, card, devices_[i], i == selected_, i == hover_);
    }
    if (hasFocus()) {
        // Around the card the keys act on; the whole list while none is picked.
        const QRectF card = CardRect(selected_);
        const QRectF around = card.isEmpty() ? QRectF(rect()) : card.adjusted(-4, -4, 4, 4) & QRectF(rect());
        PaintFocusMark(p, around, 18);
    }
    const int pages = GetPageCount();
    if (pages > 1) {
        // Page dots under the cards.
        const qreal y = height() - 6;
        for (int i = 0; i < pages; ++i) {
            p.setPen(Qt::NoPen);
            p.setBrush(i == page_ ? AccentColor() : palette::kBorder);
            p.drawEllipse(QPointF(width() / 2.0 + (i - (pages - 1) / 2.0) * 14, y), 3.5, 3.5);
        }
    }
}

}  // namespace quorvel
