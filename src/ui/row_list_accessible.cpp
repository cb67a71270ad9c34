#include "ui/row_list_accessible.h"

#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace quilo {
namespace {

// One row. It keeps the list and the row's number, not the row: rows come and
// go, and the item then speaks for whatever row stands there.
class RowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    RowAccessible(QWidget* view, AccessibleRows& rows, int index) : view_(view), rows_(rows), index_(index) {}

    bool isValid() const override { return view_ && index_ < rows_.count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return view_ ? view_->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(view_); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    void setText(QAccessible::Text, const QString&) override {}

    QString text(QAccessible::Text kind) const override {
        if (!isValid())
            return {};
        if (kind == QAccessible::Name)
            return rows_.name(index_);
        if (kind == QAccessible::Description)
            return rows_.description(index_);
        return {};
    }

    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect place = rows_.place(index_);
        return place.isEmpty() ? QRect() : QRect(view_->mapToGlobal(place.topLeft()), place.size());
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.selected = rows_.selected(index_);
        state.checkable = rows_.checkable(index_);
        state.checked = rows_.checked(index_);
        state.focusable = true;
        state.focused = view_->hasFocus() && rows_.focused(index_);
        state.invisible = !view_->isVisible();
        state.offscreen = rows_.place(index_).isEmpty();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }
    QStringList actionNames() const override { return isValid() ? rows_.actions(index_) : QStringList(); }
    void doAction(const QString& name) override {
        if (isValid() && rows_.actions(index_).contains(name))
            rows_.act(index_, name);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QWidget> view_;
    AccessibleRows& rows_;
    int index_;
};

} // namespace

RowListAccessible::RowListAccessible(QWidget* view, std::unique_ptr<AccessibleRows> rows,
                                     const QString& fallbackName)
    : QAccessibleWidget(view, QAccessible::List), rows_(std::move(rows)), fallbackName_(fallbackName) {}

RowListAccessible::~RowListAccessible() {
    for (const auto& [index, id] : items_)
        QAccessible::deleteAccessibleInterface(id);
}

QString RowListAccessible::text(QAccessible::Text kind) const {
    const QString text = QAccessibleWidget::text(kind);
    return kind == QAccessible::Name && text.isEmpty() ? fallbackName_ : text;
}

int RowListAccessible::childCount() const {
    return rows_->count();
}

QAccessibleInterface* RowListAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    const auto found = items_.find(index);
    if (found != items_.end())
        return QAccessible::accessibleInterface(found->second);
    auto* item = new RowAccessible(widget(), *rows_, index);
    items_[index] = QAccessible::registerAccessibleInterface(item);
    return item;
}

int RowListAccessible::indexOfChild(const QAccessibleInterface* child) const {
    for (const auto& [index, id] : items_)
        if (QAccessible::accessibleInterface(id) == child)
            return index < childCount() ? index : -1;
    return -1;
}

QAccessibleInterface* RowListAccessible::childAt(int x, int y) const {
    return child(rows_->rowAt(widget()->mapFromGlobal(QPoint(x, y))));
}

QAccessibleInterface* RowListAccessible::focusChild() const {
    for (int index = 0; index < childCount(); ++index)
        if (rows_->focused(index))
            return child(index);
    return nullptr;
}

} // namespace quilo
