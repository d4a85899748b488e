#include "toolkit/Accessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <functional>

#include "toolkit/BatteryCtrl.h"
#include "toolkit/CColorButton.h"
#include "toolkit/CDeviceList.h"
#include "toolkit/CRecordList.h"
#include "toolkit/DPIControl.h"
#include "toolkit/DPISlider.h"
#include "toolkit/MPalette.h"
#include "toolkit/MTabCtrl.h"
#include "toolkit/MacroList.h"
#include "toolkit/MouseCtrl.h"
#include "toolkit/MouseKeyCtrl.h"
#include "toolkit/ReporteCtrl.h"
#include "toolkit/SkinSlider.h"

namespace quorvel {

// The protected item geometry and picking of the item controls, for their accessible items.
struct PickerAccess {
    static int Count(const ItemPicker& c) { return c.ItemCount(); }
    static QRect Rect(const ItemPicker& c, int i) { return c.HitRect(i).toAlignedRect(); }
    static bool CanPick(const ItemPicker& c, int i) { return c.CanPick(i); }
    static int Current(const ItemPicker& c) { return c.Current(); }
    static void Pick(ItemPicker& c, int i) { c.Pick(i); }
};
struct RowListAccess {
    static int Count(const RowList& c) { return c.RowCount(); }
    static QRect Rect(const RowList& c, int i) { return c.RowRect(i).toAlignedRect(); }
};
struct DpiAccess {
    static QRect Rect(const DPIControl& c, int i) { return c.CardRect(i).toAlignedRect(); }
};

namespace {

QString HexColour(int colour) {  // stored values hold red in the low byte
    return QStringLiteral("#%1%2%3")
        .arg(colour & 0xFF, 2, 16, QChar('0'))
        .arg((colour >> 8) & 0xFF, 2, 16, QChar('0'))
        .arg((colour >> 16) & 0xFF, 2, 16, QChar('0'))
        .toUpper();
}

// A control's name: its accessible name, else its tool tip, else the label that names it as its buddy.
QString NameOf(const QWidget* w) {
    if (!w->accessibleName().isEmpty()) return w->accessibleName();
    if (!w->toolTip().isEmpty()) return w->toolTip();
    if (w->parentWidget()) {
        for (const QLabel* label : w->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (label->buddy() == w) return label->text().remove(QLatin1Char('&'));
        }
    }
    return {};
}

// What the items of one control answer; `rect` is in the coordinates of `surface`.
struct Items {
    QAccessible::Role role = QAccessible::ListItem;
    std::function<int()> count;
    std::function<QString(int)> name;
    std::function<QString(int)> description = [](int) { return QString(); };
    std::function<QRect(int)> rect;
    std::function<bool(int)> selected;
    std::function<bool(int)> shown = [](int) { return true; };
    std::function<void(int)> activate = [](int) {};
    std::function<QWidget*()> surface;
};

class ItemAccessible;

// A control with items: its own role, name and value (the selected item's name), one child per item.
class ItemsAccessible : public QAccessibleWidget {
public:
    ItemsAccessible(QWidget* w, QAccessible::Role role, Items items)
        : QAccessibleWidget(w, role), items_(std::move(items)) {}
    ~ItemsAccessible() override {
        for (QAccessible::Id id : std::as_const(children_)) QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return NameOf(widget());
        if (t == QAccessible::Value) {
            for (int i = 0; i < items_.count(); ++i)
                if (items_.selected(i)) return items_.name(i);
            return {};
        }
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return items_.count(); }
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override {
        for (int i = 0; i < childCount(); ++i) {
            QAccessibleInterface* c = child(i);
            if (c && c->rect().contains(x, y)) return c;
        }
        return nullptr;
    }
    QAccessibleInterface* focusChild() const override {
        if (!widget()->hasFocus()) return nullptr;
        for (int i = 0; i < childCount(); ++i)
            if (items_.selected(i)) return child(i);
        return nullptr;  // the control itself has it
    }

    const Items& ItemsOf() const { return items_; }

private:
    Items items_;
    mutable QHash<int, QAccessible::Id> children_;
};

class ItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ItemAccessible(const ItemsAccessible* parent, QWidget* widget, int index)
        : parent_(parent), widget_(widget), index_(index) {}

    bool isValid() const override { return widget_ && index_ < Model().count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent_->window(); }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return const_cast<ItemsAccessible*>(parent_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        if (!isValid()) return {};
        if (t == QAccessible::Name) return Model().name(index_);
        if (t == QAccessible::Description) return Model().description(index_);
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        QWidget* surface = Model().surface();
        const QRect r = Model().rect(index_);
        return QRect(surface->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return Model().role; }
    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const bool selected = Model().selected(index_);
        s.invisible = !Model().shown(index_) || !widget_->isVisible();
        s.disabled = !widget_->isEnabled();
        if (role() == QAccessible::RadioButton) {
            s.checkable = true;
            s.checked = selected;
        } else {
            s.selectable = true;
            s.selected = selected;
        }
        s.focusable = widget_->focusPolicy() != Qt::NoFocus;
        s.focused = selected && widget_->hasFocus();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override {
        if (name == pressAction() && isValid() && widget_->isEnabled()) Model().activate(index_);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    const Items& Model() const { return parent_->ItemsOf(); }

    const ItemsAccessible* parent_;
    QPointer<QWidget> widget_;
    int index_;
};

QAccessibleInterface* ItemsAccessible::child(int index) const {
    if (index < 0 || index >= childCount()) return nullptr;
    if (const auto it = children_.constFind(index); it != children_.constEnd())
        return QAccessible::accessibleInterface(*it);
    auto* item = new ItemAccessible(this, widget(), index);
    children_.insert(index, QAccessible::registerAccessibleInterface(item));
    return item;
}

int ItemsAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (auto it = children_.constBegin(); it != children_.constEnd(); ++it)
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key() < childCount() ? it.key() : -1;
    return -1;
}

// A control with one value in a range (sliders, the battery).
class RangeAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    RangeAccessible(QWidget* w, QAccessible::Role role, std::function<int()> value,
                    std::function<int()> minimum, std::function<int()> maximum,
                    std::function<QString()> valueText)
        : QAccessibleWidget(w, role),
          value_(std::move(value)),
          minimum_(minimum),
          maximum_(std::move(maximum)),
          text_(std::move(valueText)) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) return NameOf(widget());
        if (t == QAccessible::Value) return text_();
        return QAccessibleWidget::text(t);
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return value_(); }
    void setCurrentValue(const QVariant&) override {}  // values change through the page, which applies them
    QVariant maximumValue() const override { return maximum_(); }
    QVariant minimumValue() const override { return minimum_(); }
    QVariant minimumStepSize() const override { return 1; }

private:
    std::function<int()> value_;
    std::function<int()> minimum_;
    std::function<int()> maximum_;
    std::function<QString()> text_;
};

// A control whose value is a colour (colour buttons, the palette).
class ColourAccessible : public QAccessibleWidget {
public:
    ColourAccessible(QWidget* w, QAccessible::Role role, std::function<int()> colour)
        : QAccessibleWidget(w, role), colour_(std::move(colour)) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name) {
            const QString name = NameOf(widget());
            return name.isEmpty() ? HexColour(colour_()) : name;
        }
        if (t == QAccessible::Value) return HexColour(colour_());
        return QAccessibleWidget::text(t);
    }
    // One of an exclusive group is a choice, so a radio button; the group may come after the interface.
    QAccessible::Role role() const override {
        const auto* button = qobject_cast<const QAbstractButton*>(widget());
        if (!button) return QAccessibleWidget::role();
        return button->isCheckable() ? QAccessible::RadioButton : QAccessible::Button;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (const auto* button = qobject_cast<const QAbstractButton*>(widget());
            button && button->isCheckable()) {
            s.checkable = true;
            s.checked = button->isChecked();
        }
        return s;
    }
    QStringList actionNames() const override {
        if (qobject_cast<const QAbstractButton*>(widget()))
            return QStringList{pressAction()} + QAccessibleWidget::actionNames();
        return QAccessibleWidget::actionNames();
    }
    void doAction(const QString& name) override {
        auto* button = qobject_cast<QAbstractButton*>(widget());
        if (button && name == pressAction()) {
            if (button->isEnabled()) button->click();
            return;
        }
        QAccessibleWidget::doAction(name);
    }

private:
    std::function<int()> colour_;
};

Items PickerItems(ItemPicker* c, QAccessible::Role role, std::function<QString(int)> name) {
    Items items;
    items.role = role;
    items.count = [c] { return PickerAccess::Count(*c); };
    items.name = std::move(name);
    items.rect = [c](int i) { return PickerAccess::Rect(*c, i); };
    items.selected = [c](int i) { return PickerAccess::Current(*c) == i; };
    items.shown = [c](int i) { return PickerAccess::CanPick(*c, i) && !PickerAccess::Rect(*c, i).isEmpty(); };
    items.activate = [c](int i) { PickerAccess::Pick(*c, i); };
    items.surface = [c]() -> QWidget* { return c; };
    return items;
}

Items RowItems(RowList* c, std::function<QString(int)> name) {
    Items items;
    items.count = [c] { return RowListAccess::Count(*c); };
    items.name = std::move(name);
    items.rect = [c](int i) { return RowListAccess::Rect(*c, i); };
    items.selected = [c](int i) { return c->GetCurSel() == i; };
    items.shown = [c](int i) { return RowListAccess::Rect(*c, i).intersects(c->viewport()->rect()); };
    items.activate = [c](int i) {
        c->SetCurSel(i);
        emit c->itemClicked(i);
    };
    items.surface = [c]() -> QWidget* { return c->viewport(); };
    return items;
}

QString DeviceDescription(const CDeviceList* c, int i) {
    const int type = c->GetDeviceType(i);
    const DeviceListTexts& words = c->Texts();
    QStringList parts;
    parts << (c->GetDeviceState(type) == 1 ? words.connected : words.disconnected);
    parts << (c->GetDeviceLinkMode(type) == 1 ? words.wireless : words.wired);
    if (c->GetDeviceBatteryLevel(type) > 0)
        parts << QStringLiteral("%1%").arg(c->GetDeviceBatteryLevel(type));
    const QString version = c->GetDeviceVersionText(type);
    if (!version.isEmpty()) parts << words.version + QLatin1Char(' ') + version;
    return parts.join(QStringLiteral(", "));
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
    auto* w = qobject_cast<QWidget*>(object);
    if (!w) return nullptr;
    if (auto* c = qobject_cast<ReporteCtrl*>(w))
        return new ItemsAccessible(c, QAccessible::List, PickerItems(c, QAccessible::RadioButton, [c](int i) {
                                       return c->GetItemText(i);
                                   }));
    if (auto* c = qobject_cast<MTabCtrl*>(w))
        return new ItemsAccessible(
            c, QAccessible::PageTabList,
            PickerItems(c, QAccessible::PageTab, [c](int i) { return c->GetItemText(i); }));
    if (auto* c = qobject_cast<MouseCtrl*>(w))
        return new ItemsAccessible(c, QAccessible::List, PickerItems(c, QAccessible::ListItem, [c](int i) {
                                       return c->GetItemCaption(i);
                                   }));
    if (auto* c = qobject_cast<MouseKeyCtrl*>(w)) {
        Items items = PickerItems(c, QAccessible::ListItem, [c](int i) { return c->GetItemKeyName(i); });
        items.description = [c](int i) { return c->GetItemKeyDesc(i); };
        return new ItemsAccessible(c, QAccessible::List, std::move(items));
    }
    if (auto* c = qobject_cast<CDeviceList*>(w)) {
        Items items = PickerItems(c, QAccessible::ListItem, [c](int i) { return c->GetDeviceName(i); });
        items.description = [c](int i) { return DeviceDescription(c, i); };
        return new ItemsAccessible(c, QAccessible::List, std::move(items));
    }
    if (auto* c = qobject_cast<DPIControl*>(w)) {
        Items items;
        items.count = [c] { return c->GetItemCount(); };
        items.name = [c](int i) { return QStringLiteral("%1 DPI").arg(c->GetDPIValue(i)); };
        items.description = [c](int i) { return HexColour(c->GetDPIColorValue(i)); };
        items.rect = [c](int i) { return DpiAccess::Rect(*c, i); };
        items.selected = [c](int i) { return c->GetSelectItem() == i; };
        items.activate = [c](int i) {
            c->SetSelectItem(i);
            emit c->levelClicked(i);
        };
        items.surface = [c]() -> QWidget* { return c; };
        return new ItemsAccessible(c, QAccessible::List, std::move(items));
    }
    if (auto* c = qobject_cast<MacroList*>(w))
        return new ItemsAccessible(c, QAccessible::List,
                                   RowItems(c, [c](int i) { return c->GetItemText(i); }));
    if (auto* c = qobject_cast<CRecordList*>(w))
        return new ItemsAccessible(c, QAccessible::List, RowItems(c, [c](int i) {
                                       RecordItem item;
                                       return c->GetRecordInfo(i, &item) ? item.text : QString();
                                   }));
    if (auto* c = qobject_cast<CColorButton*>(w))
        return new ColourAccessible(c, QAccessible::Button, [c] { return c->GetColor(); });
    if (auto* c = qobject_cast<MPalette*>(w))
        return new ColourAccessible(c, QAccessible::ColorChooser, [c] { return c->GetSelectColor(); });
    if (auto* c = qobject_cast<SkinSlider*>(w)) {
        auto* dpi = qobject_cast<DPISlider*>(c);
        return new RangeAccessible(
            c, QAccessible::Slider, [c] { return c->GetProgress(); }, [c] { return c->GetMinimum(); },
            [c] { return c->GetMaximum(); },
            [c, dpi] {
                return dpi && !dpi->GetValueText().isEmpty() ? dpi->GetValueText()
                                                             : QString::number(c->GetProgress());
            });
    }
    if (auto* c = qobject_cast<BatteryCtrl*>(w))
        return new RangeAccessible(
            c, QAccessible::Indicator, [c] { return c->GetBatteryLevel(); }, [] { return 0; },
            [] { return 100; }, [c] { return c->LevelText(); });
    return nullptr;
}

}  // namespace

void InstallAccessibleControls() {
    static const bool installed = (QAccessible::installFactory(Factory), true);
    (void)installed;
}

}  // namespace quorvel
