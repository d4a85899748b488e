#pragma once
// Control ids of the macro page (objectName "id<n>"), shared by the page and its panels, and the items of
// its pop-up menus.

namespace quorvel::macro_page {

enum Id {
    kMacroCaption = 152,
    kMacroListLabel = 154,
    kMacroListCtrl = 156,
    kMacroNew = 157,
    kMacroDelete = 158,
    kRecordingHint = 159,
    kEventListLabel = 160,
    kEditorHint = 162,
    kEventListCtrl = 166,
    kEventInsert = 167,
    kEventDelete = 168,
    kEventClear = 169,
    kEditorDelayLabel = 170,
    kEditorDelayUnit = 171,
    kRecordButton = 172,
    kDelayLabel = 173,
    kDelayNone = 174,
    kDelayMeasured = 175,
    kDelayFixed = 176,
    kEditorKeyLabel = 177,
    kFixedDelayEdit = 178,
    kFixedDelayUnit = 179,
    kPlayLabel = 180,
    kPlayWhileHeldRadio = 181,
    kPlayUntilPressedRadio = 182,
    kPlayCountRadio = 183,
    kPlayCountEdit = 184,
    kEditorKindLabel = 185,
    kEditorKind = 186,
    kEditorValue = 187,
    kEditorButton = 188,
    kEditorButtonLabel = 189,
    kEventUp = 190,
    kEventDown = 191,
    kPlayTip = 153,
    kEmptyHint = 155,
};

// Items of the macro list's menu.
enum ListMenuItem {
    kMenuImportMacro = 101,
    kMenuExportMacro = 102,
    kMenuImportList = 105,
    kMenuExportAll = 106,
};

// Items of the insert menu.
enum InsertMenuItem {
    kInsertKey = 101,
    kInsertDelay = 103,
    kInsertLeft = 105,
    kInsertMiddle = 106,
    kInsertRight = 107,
};

// Items of the event menu.
enum EventMenuItem {
    kMoveTop = 100,
    kMoveUp = 101,
    kMoveDown = 102,
    kMoveBottom = 103,
};

}  // namespace quorvel::macro_page
