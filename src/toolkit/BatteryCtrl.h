#pragma once
// The battery of the current mouse: a cell that fills with the level (green, amber below 40 %, red below
// 20 %) and the percentage beside it. A level of 0 means "not reported" (also while it is being read) and
// shows an empty cell and a dash. Status 1 is drawn as charging (a bolt in the cell).

#include <QWidget>

namespace quorvel {

class BatteryCtrl : public QWidget {
    Q_OBJECT
public:
    explicit BatteryCtrl(QWidget* parent = nullptr);

    void SetBatteryInfo(int level, int status);
    int GetBatteryLevel() const { return level_; }
    int GetBatteryStatus() const { return status_; }
    QString LevelText() const;  // "80%", or "-" when not reported

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int level_ = 0;
    int status_ = 0;
};

// The battery cell itself, shared with the device cards.
void PaintBatteryCell(QPainter& painter, const QRectF& rect, int level, int status, bool enabled);

}  // namespace quorvel
