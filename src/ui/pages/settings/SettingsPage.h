#pragma once
// The settings page of the main window (container 56, opened with the caption's settings button): the
// language (279), start at log-in (281) and start minimised (282), what closing the window does (286 hide,
// 287 exit), the software update check (276 with its result 275), About, the product's web links
// (289-291), profiles that follow the game (292, with its hint 293) and the way back (273). Preferences are
// written when a control changes; the page reads them again each time it opens.

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;

namespace quorvel {

struct ProductConfig;
class TextRegistry;

class SettingsPage : public QWidget {
    Q_OBJECT
public:
    enum Id {
        kContainer = 56,
        kLeave = 273,
        kSoftwareCheck = 275,
        kCheckSoftware = 276,
        kLanguage = 279,
        kAutorun = 281,
        kStartMinimised = 282,
        kHideOnClose = 286,
        kExitOnClose = 287,
        kWebsite = 289,
        kFeedback = 290,
        kQuestions = 291,
        kFollow = 292,
        kFollowHint = 293,
        kTitle = 711,
        kAbout = 717,
        kTrayHint = 714,
    };
    // What the software check label says.
    enum class Check { Idle, Checking, UpToDate, Newer, Failed };

    SettingsPage(TextRegistry& texts, const ProductConfig& product, QWidget* window);

    // The controls from the preferences (the autorun entry, autorun_minimize, exit_mode, the language).
    void Refresh();
    // Whether a notification area exists: without one, "hide on close" minimises, and the page says so.
    void SetTrayAvailable(bool available);
    void SetSoftwareCheck(Check check, const QString& newest = QString());
    // Profiles that follow the game: the switch as stored; without an X11 or XWayland display the switch
    // is disabled and the hint says why.
    void SetFollow(bool on, bool available);
    // Opens web addresses (xdg-open by default; tests record them).
    void SetOpener(std::function<bool(const std::string&)> opener) { opener_ = std::move(opener); }

signals:
    void leaveRequested();
    void aboutRequested();
    void checkSoftwareRequested();
    void followToggled(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildGeneral(TextRegistry& texts);
    QWidget* BuildClosing(TextRegistry& texts);
    QWidget* BuildUpdates(TextRegistry& texts);
    QWidget* BuildLinks(TextRegistry& texts, const ProductConfig& product);
    QLabel* SectionLabel(TextRegistry& texts, int textId);
    void OnAutorunClicked(bool on);
    void ShowTrayHint();
    QString CheckText() const;
    // Closes the sections up when the column does not fit this height.
    void FitColumn(int height);

    QScrollArea* scroll_ = nullptr;  // holds the column: a short window scrolls it
    QWidget* column_ = nullptr;
    QPushButton* leave_ = nullptr;
    QComboBox* language_ = nullptr;
    QCheckBox* autorun_ = nullptr;
    QCheckBox* minimised_ = nullptr;
    QRadioButton* hide_ = nullptr;
    QRadioButton* exit_ = nullptr;
    QLabel* trayHint_ = nullptr;
    bool trayAvailable_ = true;
    QCheckBox* follow_ = nullptr;
    QLabel* followHint_ = nullptr;
    bool followAvailable_ = true;
    QLabel* check_ = nullptr;
    Check checkState_ = Check::Idle;
    QString newest_;
    QString installed_;
    std::function<bool(const std::string&)> opener_;
};

}  // namespace quorvel
