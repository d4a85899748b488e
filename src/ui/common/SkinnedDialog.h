#pragma once
// The base of the program's frameless dialogs and indicators: a fixed design size, the skin's look painted
// under the controls (a picture, or the drawn look without it), placement over the owner or the screen,
// and the way out when the mouse the dialog was about goes away (closeForDeviceChange).

#include <QColor>
#include <QDialog>
#include <QString>

namespace quorvel {

class DesignLayout;

// How a dialog is painted.
struct DialogLook {
    enum class Image { None, Stretched, Framed };
    QString image;  // the skin's picture; without it the drawn look below
    Image mode = Image::None;
    QColor fill;         // the drawn look: background (the panel colour when invalid)
    QColor border;       // one-pixel border (the border colour when invalid)
    bool accent = true;  // a 3-pixel accent line along the top, over the border
};

class SkinnedDialog : public QDialog {
    Q_OBJECT
public:
    // Where the dialog goes when it shows.
    enum class Placement { Own, OverOwner, OnScreen };
    // The result of a dialog closed because the device changed.
    static constexpr int kClosedForDevice = 2;

    // `name`: object name and window title; `designSize`: the fixed size, the frame of the design layout.
    SkinnedDialog(QWidget* owner, Qt::WindowFlags flags, const char* name, QSize designSize,
                  DialogLook look = {});

    void SetLook(DialogLook look);
    void SetPlacement(Placement placement) { placement_ = placement; }
    // Centred over the owner's window (nothing without an owner), or on the owner's screen.
    void CentreOnOwner();
    void CentreOnScreen();

    // The design layout of the controls: rectangles in the dialog's design size, in design pixels.
    DesignLayout& Layout() { return *layout_; }

public slots:
    // The device the dialog is about changed: rejected with kClosedForDevice.
    void closeForDeviceChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    DialogLook look_;
    Placement placement_ = Placement::Own;
    DesignLayout* layout_;
};

}  // namespace quorvel
