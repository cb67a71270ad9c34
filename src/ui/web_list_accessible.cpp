#include "ui/web_list_accessible.h"

#include "ui/row_list_accessible.h"
#include "ui/web_list_view.h"

namespace quilo {
namespace {

class WebRows : public AccessibleRows {
public:
    explicit WebRows(WebListView* view) : view_(view) {}

    int count() const override { return static_cast<int>(rows().size()); }
    QString name(int row) const override { return SpokenWebRowText(at(row)); }
    bool selected(int row) const override { return at(row).selected; }
    bool focused(int row) const override { return at(row).isLink && at(row).selected; }

    QRect place(int row) const override {
        const int shown = row - view_->firstRow();
        if (shown < 0 || shown >= view_->visibleRows())
            return {};
        return {0, shown * WebVideoRows::RowHeight, view_->width(), WebVideoRows::RowHeight};
    }

    int rowAt(QPoint point) const override {
        if (!view_->rect().contains(point))
            return -1;
        const int row = view_->firstRow() + point.y() / WebVideoRows::RowHeight;
        return row < count() ? row : -1;
    }

    // Press selects the row's link, as a click does.
    QStringList actions(int) const override { return {QAccessibleActionInterface::pressAction()}; }
    void act(int row, const QString&) override { view_->pressRow(row); }

private:
    const std::vector<WebRow>& rows() const { return view_->links().Rows().Rows(); }
    const WebRow& at(int row) const { return rows()[static_cast<size_t>(row)]; }

    WebListView* view_;
};

QAccessibleInterface* webListFactory(const QString& className, QObject* object) {
    if (className != QLatin1String(WebListView::staticMetaObject.className()) || !object ||
        !object->isWidgetType())
        return nullptr;
    auto* view = static_cast<WebListView*>(object);
    return new RowListAccessible(view, std::make_unique<WebRows>(view), QStringLiteral("Web video list"));
}

} // namespace

QString SpokenWebRowText(const WebRow& row) {
    QStringList parts;
    for (const WebCell& cell : row.cells) {
        const QString text = QString::fromStdString(cell.text).trimmed();
        if (!text.isEmpty())
            parts << text;
    }
    return parts.join(QStringLiteral(", "));
}

void InstallWebListAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(webListFactory);
        return true;
    }();
    (void)installed;
}

} // namespace quilo
