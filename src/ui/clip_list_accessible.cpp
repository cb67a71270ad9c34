#include "ui/clip_list_accessible.h"

#include "ui/clip_list_view.h"
#include "ui/row_list_accessible.h"

namespace quilo {
namespace {

// The clip rows and audio rows of the clip list.
class ClipRows : public AccessibleRows {
public:
    explicit ClipRows(ClipListView* view) : view_(view) {}

    int count() const override { return static_cast<int>(list().Rows().size()); }
    QString name(int row) const override { return SpokenRowText(*at(row)); }
    QString description(int row) const override { return QString::fromStdString(at(row)->Hint); }
    bool selected(int row) const override { return at(row)->Selected; }
    bool checkable(int) const override { return true; }
    bool checked(int row) const override { return at(row)->Checked; }
    bool focused(int row) const override {
        return at(row)->Kind == RowKind::Clip && at(row)->Clip == list().CurrentClip();
    }

    QRect place(int row) const override {
        const int shown = row - list().FirstVisibleRow();
        if (shown < 0 || shown >= ClipList::VisibleRows)
            return {};
        return {0, shown * RowHeight, ClipListView::RowWidth, RowHeight};
    }

    int rowAt(QPoint point) const override {
        return view_->rowAt(point) ? list().FirstVisibleRow() + point.y() / RowHeight : -1;
    }

    // Press selects the row, as a click does; an audio row's toggle picks its stream.
    QStringList actions(int row) const override {
        if (at(row)->Kind == RowKind::Audio)
            return {QAccessibleActionInterface::pressAction(), QAccessibleActionInterface::toggleAction()};
        return {QAccessibleActionInterface::pressAction()};
    }

    void act(int row, const QString& action) override {
        if (action == QAccessibleActionInterface::toggleAction())
            list().ClickAudioCheck(at(row));
        view_->pressRow(at(row));
    }

private:
    ClipList& list() const { return view_->list(); }
    TInfoListItem* at(int row) const { return list().Rows()[static_cast<size_t>(row)]; }

    ClipListView* view_;
};

QAccessibleInterface* clipListFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(ClipListView::staticMetaObject.className()) || !object ||
        !object->isWidgetType())
        return nullptr;
    auto* view = static_cast<ClipListView*>(object);
    return new RowListAccessible(view, std::make_unique<ClipRows>(view), QStringLiteral("Clip list"));
}

} // namespace

QString SpokenRowText(const TInfoListItem& row) {
    QStringList parts;
    for (RowLabel which : ClipListView::DrawnLabels(row.Kind)) {
        const TLabelInfo* label = row.Label(which);
        // Labels are padded to their columns; the padding is not for reading.
        const QString text = label ? QString::fromStdString(label->Text).trimmed() : QString();
        if (!text.isEmpty())
            parts << text;
    }
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
