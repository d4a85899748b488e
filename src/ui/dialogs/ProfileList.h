#pragma once
// The list of the profile dialog: one row per profile with its shown name, a mark on the active profile
// and a pencil at the right end. A click on a row (or Enter) chooses it; a click on the pencil (or F2)
// renames the row in place instead. The profile number is the row's Qt::UserRole data.

#include <QListWidget>

namespace quorvel {

class ProfileList : public QListWidget {
    Q_OBJECT
public:
    static constexpr int kProfileRole = Qt::UserRole;
    static constexpr int kActiveRole = Qt::UserRole + 1;
    // The applications the profile follows, as one line shown small under the name (empty: none).
    static constexpr int kAppsRole = Qt::UserRole + 2;

    explicit ProfileList(QWidget* parent = nullptr);

    void SetRowHeight(int height);
    bool IsEditing() const { return state() == EditingState; }
    // Stores an in-place rename still being typed and ends it (as leaving the field does).
    void CommitEdit();
    int RowHeight() const { return rowHeight_; }
    // Where the pencil of a row lies (viewport coordinates).
    static QRect PencilRect(const QRect& row);

signals:
    void entryChosen(QListWidgetItem* item);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int rowHeight_ = 36;
    QListWidgetItem* pressed_ = nullptr;  // the row pressed outside its pencil
};

}  // namespace quorvel
