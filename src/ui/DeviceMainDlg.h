#pragma once
// The main window. Today the frame: background, caption bar with the logo, the title and the caption
// buttons (close, minimise, maximise/restore, settings), the bottom bar with the version label, and the
// About box (settings button, logo, F1). The tabs and pages come next and sit in the frame's content area.
//
// Geometry is the design's: a 1400 x 788 client area, controls placed from the client edges (UISize);
// the layout scale is the client height / 788.

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>

class QLabel;

namespace quorvel {

class CaptionButton;
class LogoWidget;
class TextRegistry;

class DeviceMainDlg : public QWidget {
    Q_OBJECT
public:
    // Frame control ids (objectName "id<n>").
    enum Id {
        kLogo = 34,
        kTitle = 35,
        kVersion = 36,
        kBottomText = 37,
        kClose = 38,
        kMinimise = 39,
        kSettings = 40,
        kMaximise = 41,
    };
    static constexpr QSize kDesignSize{1400, 788};
    static constexpr int kCaptionHeight = 50;

    // title: the device name; softwareVersion: the version of config.xml.
    DeviceMainDlg(const QString& title, const QString& softwareVersion);
    ~DeviceMainDlg() override;

    // Where About finds the HID release number of the first wired mouse (0 when there is none).
    void SetReleaseSource(std::function<uint32_t()> source) { releaseSource_ = std::move(source); }

    // Size for the screen (the design size, smaller when the screen is) and centred on it.
    void PlaceOnScreen();
    // A second start of the program asked for the window: shown, restored and raised.
    void ShowFromOutside();
    // The About box, modal.
    void ShowAbout();
    // The close button: hides the window when the exit mode says so (preference exit_mode 1), otherwise
    // asks the program to end (ExitRequested).
    void OnCloseButton();

    qreal LayoutScale() const { return scale_; }
    TextRegistry& Texts() { return *texts_; }

signals:
    // The user ends the program; the application quits its event loop and shuts down in order.
    void ExitRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void BuildFrame(const QString& title);
    void UISize();
    void ToggleMaximised();
    bool InCaption(const QPoint& pos) const;

    QString softwareVersion_;
    std::function<uint32_t()> releaseSource_;
    TextRegistry* texts_ = nullptr;
    qreal scale_ = 1.0;
    bool iconPending_ = false;  // set once the first show asked for it

    LogoWidget* logo_ = nullptr;
    QLabel* title_ = nullptr;
    QLabel* version_ = nullptr;
    QLabel* bottomText_ = nullptr;
    CaptionButton* close_ = nullptr;
    CaptionButton* minimise_ = nullptr;
    CaptionButton* maximise_ = nullptr;
    CaptionButton* settings_ = nullptr;
};

}  // namespace quorvel
