#pragma once
// The device list of the home page: one card per configured model with its picture, name, link (wired or
// wireless), connection state, battery and firmware version. Models are addressed by device type. Cards
// that do not fit are paged: SetSelectIndex(-1) (the arrows) turns to the next page and wraps, ScrollPage
// goes either way. A click on a card reports its device type (deviceClicked); the card is selected only when
// the owner takes the pick (SetSelectDevice), so a refused pick leaves the current card, or none, selected.

#include <QVector>

#include "toolkit/ItemPicker.h"

namespace quorvel {

// Words the cards show, set by the front end in the current language.
struct DeviceListTexts {
    QString connected = QStringLiteral("Connected");
    QString disconnected = QStringLiteral("Not connected");
    QString wired = QStringLiteral("Wired");
    QString wireless = QStringLiteral("Wireless");
    QString version = QStringLiteral("Firmware");
};

class CDeviceList : public ItemPicker {
    Q_OBJECT
public:
    explicit CDeviceList(QWidget* parent = nullptr);

    // Starts rendering the pictures of the current page's cards at their size on a pool thread: called once
    // the list is laid out at the start, so its first paint finds them ready.
    void PrerenderPictures();
    void ClearList();
    // `image` is a skin name or a full path (the product table gives the latter).
    void AddDevice(const QString& name, int deviceType, const QString& image);
    int GetDeviceCount() const { return static_cast<int>(devices_.size()); }
    int GetDeviceType(int index) const;  // 0 for no such card
    QString GetDeviceName(int index) const;
    int IndexOfDevice(int deviceType) const;

    // Link state: 1 connected, 0 not found, 2 lost (a wireless mouse out of range).
    void SetAllDeviceState(int state);
    void SetDeviceState(int deviceType, int linkMode, int linkState);
    void SetDeviceBattery(int deviceType, int status, int level);
    void SetDeviceVersion(int deviceType, quint32 release);
    int GetDeviceState(int deviceType) const;
    int GetDeviceLinkMode(int deviceType) const;
    int GetDeviceBatteryLevel(int deviceType) const;
    QString GetDeviceVersionText(int deviceType) const;  // "1.03"; empty before a version is known
    int GetOnlineDevCount() const;                       // cards whose state is 1

    void SetSelectDevice(int deviceType);  // the current card; an unknown type selects nothing
    int GetSelectDevice() const;           // 0 when nothing is selected
    // -1: next page (wrapping); another value: the page holding that card.
    void SetSelectIndex(int index);
    void ScrollPage(int delta);
    int GetPage() const { return page_; }
    int GetPageCount() const;

    void SetTexts(const DeviceListTexts& texts);
    const DeviceListTexts& Texts() const { return texts_; }

    QSize sizeHint() const override;

    // "1.03" from a release number: hexadecimal digits, the last two after the point.
    static QString VersionText(quint32 release);

signals:
    void deviceClicked(int deviceType);

protected:
    void paintEvent(QPaintEvent* event) override;
    int ItemCount() const override { return GetDeviceCount(); }
    QRectF HitRect(int index) const override { return CardRect(index); }
    void Picked(int index) override;
    // Left and Right move the selection, from none to the first card; Enter or Space picks it.
    int StepTarget(int step) const override;
    void Stepped(int index) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Device {
        QString name;
        int type = 0;
        QString image;
        int linkMode = 0;
        int state = 0;
        int batteryStatus = 0;
        int batteryLevel = 0;
        quint32 release = 0;
        bool hasRelease = false;
    };
    int CardsPerPage() const;
    QRectF CardRect(int index) const;  // empty when not on the current page
    static QRectF PictureRect(const QRectF& card);
    Device* Find(int deviceType);
    void PaintDevice(QPainter& painter, const QRectF& card, const Device& device, bool selected, bool hot);

    QVector<Device> devices_;
    int current_ = 0;  // the device type last taken (SetSelectDevice)
    int page_ = 0;
    DeviceListTexts texts_;
};

}  // namespace quorvel
