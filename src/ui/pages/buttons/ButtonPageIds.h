#pragma once
// Control ids of the button page (objectName "id<n>"), shared by the page and its panels.

namespace quorvel::button_page {

enum Id {
    kKeyPanel = 51,  // the key-combination panel's container
    kResetAll = 67,
    kButtonList = 68,
    kCaption = 70,
    kResetButton = 71,
    kMouseLabel = 72,
    kMouseMenu = 73,
    kMediaLabel = 74,
    kMediaMenu = 75,
    kMacroLabel = 76,
    kMacroMenu = 77,
    kShortcutLabel = 78,
    kShortcutMenu = 79,
    kDpiLabel = 80,
    kDpiMenu = 81,
    kSpecialLabel = 82,
    kSpecialMenu = 83,
    kKeyLabel = 84,
    kKeyOpen = 85,
    kClickLabel = 86,
    kClickOpen = 87,
    kFixedLabel = 88,
    kFixedButton = 89,
    kKeyClose = 91,
    kKeyTitle = 92,
    kKeyField = 93,
    kCtrlToggle = 94,
    kWinToggle = 95,
    kAltToggle = 96,
    kShiftToggle = 97,
    kKeyOk = 98,
    kClickTitle = 100,
    kSecondLabel = 101,
    kSecondEdit = 102,
    kFirstLabel = 103,
    kUnitLabel = 104,
    kFirstEdit = 105,
    kClickOk = 106,
    kClickClose = 107,
    kPicture = 108,
};

}  // namespace quorvel::button_page
