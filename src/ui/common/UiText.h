#pragma once
// Every text a window shows comes from the language files by text id. A window keeps a TextRegistry of
// (control, text id) pairs: the registry sets each text when it is bound and sets them all again when the
// language changes, so an open window follows the language list at once.

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <vector>

class QAbstractButton;
class QLabel;
class QWidget;

namespace quorvel {

// Text `id` of the current language ("LAN" section); empty when the language file lacks it.
QString Text(int id);

// A text shown in a window: a text id (looked up again after a language change) or a fixed text the
// caller built (a device name, a message composed of several texts).
class UiText {
public:
    // Implicit: texts are passed by id almost everywhere.
    UiText(int id) : id_(id) {}
    UiText(QString fixed) : fixed_(std::move(fixed)) {}
    UiText(const char* fixed) : fixed_(QString::fromUtf8(fixed)) {}

    int Id() const { return id_; }  // 0 for a fixed text
    QString Resolve() const { return id_ ? Text(id_) : fixed_; }

private:
    int id_ = 0;
    QString fixed_;
};

// Tells every registry that the current language changed. One per process, created on first use.
class LanguageNotifier : public QObject {
    Q_OBJECT
public:
    static LanguageNotifier& Instance();

signals:
    void LanguageChanged(int lcid);
};

// The settings page's language choice: the language becomes current and is stored (LCID), the interface
// font follows it (UiFonts.h), and every open window is re-texted.
void ChangeUiLanguage(int lcid);

class TextRegistry : public QObject {
    Q_OBJECT
public:
    using Apply = std::function<void(const QString&)>;

    // Lives as long as `window` (its parent).
    explicit TextRegistry(QWidget* window);

    // Sets the text now and again after each language change, for as long as the control lives.
    void Bind(QObject* control, const UiText& text, Apply apply);
    void BindText(QLabel* label, const UiText& text);
    void BindText(QAbstractButton* button, const UiText& text);
    void BindToolTip(QWidget* widget, const UiText& text);
    // A text composed of several ids ("%s: v%s" of text 17 and a version): `compose` builds it anew.
    void BindComposed(QObject* control, std::vector<int> ids, std::function<QString()> compose, Apply apply);

    // Looks every bound text up again and sets it.
    void Retext();

    struct Entry {
        QPointer<QObject> control;
        std::vector<int> ids;  // empty for a fixed text
        std::function<QString()> resolve;
        Apply apply;
    };
    // What is bound (tests check that every visible text has its id).
    const std::vector<Entry>& Entries() const { return entries_; }
    // The ids bound to a control, in binding order.
    std::vector<int> IdsOf(const QObject* control) const;

private:
    std::vector<Entry> entries_;
};

}  // namespace quorvel
