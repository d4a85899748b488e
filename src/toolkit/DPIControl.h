#pragma once
// The DPI levels of the performance page: one card per level with its indicator colour and its value; the
// active level carries the accent. A click on a card selects it (levelClicked); a click on a colour swatch
// asks for a new colour (colorClicked) without selecting; a double click, or a click on the value of the
// selected card, or Enter, edits the value in place (editStarted ... editFinished; Escape cancels without
// an end). Colours are stored values (red in the low byte). Hover, picking and the Left/Right keys come
// from ItemPicker; the keys stop at the first and the last level.

#include <QVector>

#include "toolkit/ItemPicker.h"

class QLineEdit;

namespace quorvel {

class DPIControl : public ItemPicker {
    Q_OBJECT
    friend struct DpiAccess;  // the accessible levels
public:
    explicit DPIControl(QWidget* parent = nullptr);

    void ClearList();
    int AddItem(int value, int colour);  // returns the level
    int GetItemCount() const { return static_cast<int>(levels_.size()); }
    // Levels that do not exist are ignored (a refresh sets seven values before the levels are rebuilt).
    void SetDPIValue(int level, int value);
    int GetDPIValue(int level) const;  // 0 for a level that does not exist
    void SetDPIColorValue(int level, int colour);
    int GetDPIColorValue(int level) const;
    void SetSelectItem(int level);  // -1 selects nothing
    int GetSelectItem() const { return selected_; }

    // The text typed into the last edit (what editFinished reports).
    QString GetEditText() const { return editText_; }
    bool IsEditing() const;
    void EditItem(int level);  // starts an edit as a double click would
    void EndEdit();            // ends an open edit as losing the focus does (editFinished)
    void CancelEdit();         // drops an open edit (no event)

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void levelClicked(int level);
    void colorClicked(int level);
    void editStarted(int level);
    void editFinished(int level, const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Level {
        int value = 0;
        int colour = 0;
    };
    QRectF CardRect(int level) const;
    QRectF SwatchRect(int level) const;
    QRectF ValueRect(int level) const;
    int ItemCount() const override { return GetItemCount(); }
    QRectF HitRect(int level) const override { return CardRect(level); }
    void Picked(int level) override { emit levelClicked(level); }
    int StepTarget(int step) const override;
    void PlaceEditor();
    void FinishEdit(bool commit);

    QVector<Level> levels_;
    int editing_ = -1;
    QString editText_;
    QLineEdit* editor_ = nullptr;  // created on the first edit
};

}  // namespace quorvel
