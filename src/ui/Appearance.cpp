#include "ui/Appearance.h"

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>

#include "toolkit/Theme.h"

namespace quorvel {

void InstallAppearance() {
    if (QStyle* fusion = QStyleFactory::create(QStringLiteral("Fusion"))) QApplication::setStyle(fusion);
    QPalette p;
    p.setColor(QPalette::Window, palette::kWindow);
    p.setColor(QPalette::WindowText, palette::kText);
    p.setColor(QPalette::Base, palette::kSurface);
    p.setColor(QPalette::AlternateBase, palette::kRaised);
    p.setColor(QPalette::Text, palette::kText);
    p.setColor(QPalette::Button, palette::kRaised);
    p.setColor(QPalette::ButtonText, palette::kText);
    p.setColor(QPalette::BrightText, Qt::white);
    p.setColor(QPalette::ToolTipBase, palette::kRaised);
    p.setColor(QPalette::ToolTipText, palette::kText);
    p.setColor(QPalette::PlaceholderText, palette::kTextDim);
    p.setColor(QPalette::Highlight, AccentColor());
    p.setColor(QPalette::HighlightedText, palette::kWindow);
    p.setColor(QPalette::Link, AccentColor());
    p.setColor(QPalette::Mid, palette::kBorder);
    p.setColor(QPalette::Dark, palette::kWindow.darker(130));
    p.setColor(QPalette::Light, palette::kHover);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        p.setColor(QPalette::Disabled, role, palette::kTextDisabled);
    QApplication::setPalette(p);
}

}  // namespace quorvel
