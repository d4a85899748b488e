#include "ui/common/UiText.h"

#include <QAbstractButton>
#include <QLabel>
#include <QWidget>

#include "shell/Localisation.h"
#include "ui/common/UiFonts.h"

namespace quorvel {

QString Text(int id) {
    return QString::fromStdString(text("LAN", id));
}

LanguageNotifier& LanguageNotifier::Instance() {
    static LanguageNotifier* notifier = new LanguageNotifier;  // outlives every window; never destroyed
    return *notifier;
}

void ChangeUiLanguage(int lcid) {
    ChangeLanguage(lcid);
    InstallLanguageFont(lcid);
    emit LanguageNotifier::Instance().LanguageChanged(lcid);
}

TextRegistry::TextRegistry(QWidget* window) : QObject(window) {
    connect(&LanguageNotifier::Instance(), &LanguageNotifier::LanguageChanged, this, &TextRegistry::Retext);
}

void TextRegistry::Bind(QObject* control, const UiText& text, Apply apply) {
    std::vector<int> ids;
    if (text.Id()) ids.push_back(text.Id());
    Entry entry{control, std::move(ids), [text] { return text.Resolve(); }, std::move(apply)};
    entry.apply(entry.resolve());
    entries_.push_back(std::move(entry));
}

void TextRegistry::BindText(QLabel* label, const UiText& text) {
    Bind(label, text, [label](const QString& s) { label->setText(s); });
}

void TextRegistry::BindText(QAbstractButton* button, const UiText& text) {
    Bind(button, text, [button](const QString& s) { button->setText(s); });
}

void TextRegistry::BindToolTip(QWidget* widget, const UiText& text) {
    Bind(widget, text, [widget](const QString& s) { widget->setToolTip(s); });
}

void TextRegistry::BindComposed(QObject* control, std::vector<int> ids, std::function<QString()> compose,
                                Apply apply) {
    Entry entry{control, std::move(ids), std::move(compose), std::move(apply)};
    entry.apply(entry.resolve());
    entries_.push_back(std::move(entry));
}

void TextRegistry::Retext() {
    // Controls that died since they were bound are dropped; their setters would touch freed widgets.
    std::erase_if(entries_, [](const Entry& e) { return e.control.isNull(); });
    for (const Entry& e : entries_) e.apply(e.resolve());
}

std::vector<int> TextRegistry::IdsOf(const QObject* control) const {
    std::vector<int> ids;
    for (const Entry& e : entries_) {
        if (e.control == control) ids.insert(ids.end(), e.ids.begin(), e.ids.end());
    }
    return ids;
}

}  // namespace quorvel
