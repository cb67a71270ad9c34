#include "ui/clip_list_accessible.h"

#include "ui/clip_list_view.h"

#include <QAccessibleWidget>
#include <QPointer>
#include <QWindow>
#include <map>

namespace quilo {
namespace {

const TInfoListItem* rowOf(const ClipListView* view, int index) {
    if (!view || index < 0)
        return nullptr;
    const auto& rows = view->list().Rows();
    return index < static_cast<int>(rows.size()) ? rows[static_cast<size_t>(index)] : nullptr;
}

// One row. It keeps the view and the row's position, not the row: rows come and
// go with clips, and the item then speaks for whatever row stands there.
class ClipRowAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    ClipRowAccessible(ClipListView* view, int index) : view_(view), index_(index) {}

    bool isValid() const override { return rowOf(view_, index_) != nullptr; }
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
        const TInfoListItem* row = rowOf(view_, index_);
        if (!row)
            return {};
        if (kind == QAccessible::Name)
            return SpokenRowText(*row);
        if (kind == QAccessible::Description)
            return QString::fromStdString(row->Hint);
        return {};
    }

    QRect rect() const override {
        if (!isValid())
            return {};
        const int shown = index_ - view_->list().FirstVisibleRow();
        if (shown < 0 || shown >= ClipList::VisibleRows)
            return {};
        return {view_->mapToGlobal(QPoint(0, shown * RowHeight)), QSize(ClipListView::RowWidth, RowHeight)};
    }

    QAccessible::State state() const override {
        QAccessible::State state;
        const TInfoListItem* row = rowOf(view_, index_);
        if (!row) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.selected = row->Selected;
        state.checkable = true;
        state.checked = row->Checked;
        state.focusable = true;
        state.focused =
            view_->hasFocus() && row->Clip == view_->list().CurrentClip() && row->Kind == RowKind::Clip;
        state.invisible = !view_->isVisible();
        state.offscreen = rect().isEmpty();
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    // Press selects the row, as a click does; an audio row's toggle picks its stream.
    QStringList actionNames() const override {
        const TInfoListItem* row = rowOf(view_, index_);
        if (!row)
            return {};
        if (row->Kind == RowKind::Audio)
            return {pressAction(), toggleAction()};
        return {pressAction()};
    }

    void doAction(const QString& name) override {
        const TInfoListItem* row = rowOf(view_, index_);
        if (!row)
            return;
        auto* target = const_cast<TInfoListItem*>(row);
        if (name == toggleAction() && row->Kind == RowKind::Audio)
            view_->list().ClickAudioCheck(target);
        if (name == pressAction() || name == toggleAction())
            view_->pressRow(target);
    }

    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<ClipListView> view_;
    int index_;
};

class ClipListAccessible : public QAccessibleWidget {
public:
    explicit ClipListAccessible(ClipListView* view) : QAccessibleWidget(view, QAccessible::List) {}

    ~ClipListAccessible() override {
        for (const auto& [index, id] : rows_)
            QAccessible::deleteAccessibleInterface(id);
    }

    QString text(QAccessible::Text kind) const override {
        const QString text = QAccessibleWidget::text(kind);
        if (kind == QAccessible::Name && text.isEmpty())
            return QStringLiteral("Clip list");
        return text;
    }

    int childCount() const override { return static_cast<int>(view()->list().Rows().size()); }

    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount())
            return nullptr;
        const auto found = rows_.find(index);
        if (found != rows_.end())
            return QAccessible::accessibleInterface(found->second);
        auto* row = new ClipRowAccessible(view(), index);
        rows_[index] = QAccessible::registerAccessibleInterface(row);
        return row;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        for (const auto& [index, id] : rows_)
            if (QAccessible::accessibleInterface(id) == child)
                return index;
        return -1;
    }

    QAccessibleInterface* childAt(int x, int y) const override {
        const QPoint point = view()->mapFromGlobal(QPoint(x, y));
        TInfoListItem* row = view()->rowAt(point);
        if (!row)
            return nullptr;
        return child(view()->list().FirstVisibleRow() + point.y() / RowHeight);
    }

    QAccessibleInterface* focusChild() const override {
        const auto& rows = view()->list().Rows();
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i]->Kind == RowKind::Clip && rows[i]->Clip == view()->list().CurrentClip())
                return child(static_cast<int>(i));
        return nullptr;
    }

private:
    ClipListView* view() const { return static_cast<ClipListView*>(widget()); }

    mutable std::map<int, QAccessible::Id> rows_;
};

QAccessibleInterface* clipListFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(ClipListView::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new ClipListAccessible(static_cast<ClipListView*>(object));
    return nullptr;
}

} // namespace

QString SpokenRowText(const TInfoListItem& row) {
    QStringList parts;
    auto add = [&](RowLabel which) {
        const TLabelInfo* label = row.Label(which);
        // Labels are padded to their columns; the padding is not for reading.
        const QString text = label ? QString::fromStdString(label->Text).trimmed() : QString();
        if (!text.isEmpty())
            parts << text;
    };
    for (RowLabel which : ClipListView::DrawnLabels(row.Kind))
        add(which);
    return parts.join(QStringLiteral(", "));
}

void InstallClipListAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(clipListFactory);
        return true;
    }();
    (void)installed;
}

} // namespace quilo
