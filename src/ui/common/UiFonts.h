#pragma once
// Fonts. The interface font is Open Sans (semibold, as the product's design asks), with WenQuanYi Micro
// Hei for Chinese: in a Chinese interface the CJK font comes first so Han text, punctuation and the digits
// beside them share one face; elsewhere it is the fallback for any Han character (device names, macro
// names). The families are set on the application, so every widget follows a language change; controls
// set only size and weight.

#include <QFont>
#include <QStringList>

namespace quorvel {

inline constexpr char kLatinFamily[] = "Open Sans";
inline constexpr char kCjkFamily[] = "WenQuanYi Micro Hei";

// Whether the language is written with Han characters (Chinese, Japanese).
bool IsCjkLanguage(int lcid);
// The font families of the interface in that language, preferred first.
QStringList LanguageFamilies(int lcid);
// Makes them the application's font; call after the language changes (ChangeUiLanguage does).
void InstallLanguageFont(int lcid);

// A font of the given pixel size and weight whose families come from the application font.
QFont UiFont(int pixelSize, QFont::Weight weight = QFont::DemiBold);

}  // namespace quorvel
