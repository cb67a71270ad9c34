// Custom-drawn lists as assistive tools see them: a list with one item per row
// it holds, named by what the row shows, with the row's states and the actions a
// click would do. A list tells its rows through `AccessibleRows`.
#pragma once

#include <QAccessibleWidget>
#include <QStringList>
#include <map>
#include <memory>

namespace quilo {

// What the list shows, by row number (0 is the list's first row, shown or not).
class AccessibleRows {
public:
    virtual ~AccessibleRows() = default;
    virtual int count() const = 0;
    virtual QString name(int row) const = 0;
    virtual QString description(int /*row*/) const { return {}; }
    virtual bool selected(int row) const = 0;
    virtual bool checkable(int /*row*/) const { return false; }
    virtual bool checked(int /*row*/) const { return false; }
    virtual bool focused(int /*row*/) const { return false; }
    // Where the row is drawn in the view; empty while it is scrolled out of sight.
    virtual QRect place(int row) const = 0;
    virtual int rowAt(QPoint point) const = 0; // -1 outside the rows
    virtual QStringList actions(int row) const = 0;
    virtual void act(int row, const QString& action) = 0;
};

class RowListAccessible : public QAccessibleWidget {
public:
    RowListAccessible(QWidget* view, std::unique_ptr<AccessibleRows> rows, const QString& fallbackName);
    ~RowListAccessible() override;

    QString text(QAccessible::Text kind) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    std::unique_ptr<AccessibleRows> rows_;
    QString fallbackName_;
    // Items are made when first asked for and kept: a tool holds on to them.
    mutable std::map<int, QAccessible::Id> items_;
};

} // namespace quilo
