#include "ui/common/UiFonts.h"

#include <QApplication>

namespace quorvel {

bool IsCjkLanguage(int lcid) {
    const int primary = lcid & 0x3FF;           // the primary language of an LCID
    return primary == 0x04 || primary == 0x11;  // Chinese (all forms), Japanese
}

QStringList LanguageFamilies(int lcid) {
    const QString latin = QString::fromLatin1(kLatinFamily), cjk = QString::fromUtf8(kCjkFamily);
    return IsCjkLanguage(lcid) ? QStringList{cjk, latin} : QStringList{latin, cjk};
}

void InstallLanguageFont(int lcid) {
    QFont font = QApplication::font();
    font.setFamilies(LanguageFamilies(lcid));
    font.setWeight(QFont::DemiBold);
    QApplication::setFont(font);
}

QFont UiFont(int pixelSize, QFont::Weight weight) {
    // Only size and weight are set: the rest resolves against the application font.
    QFont font;
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    return font;
}

}  // namespace quorvel
