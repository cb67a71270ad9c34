#include "ui/preview_panel.h"

#include "ui/open_dialog_filter.h"
#include "ui/trim_bar_view.h"

#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QStyle>
#include <QToolButton>

namespace quilo {
namespace {

constexpr int PictureWidth = 168;
constexpr int PictureHeight = 126;
constexpr int SideLeft = 180;
constexpr int FieldWidth = 72;

// The frame, scaled to fit and centred on black.
class FramePicture : public QWidget {
public:
    FramePicture(const PreviewPanelModel& model, QWidget* parent) : QWidget(parent), model_(model) {}

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::black);
        const Bitmap24* frame = model_.Picture();
        if (!frame || frame->empty())
            return;
        const QImage image(frame->Pixels.data(), frame->Width, frame->Height, frame->Width * 3,
                           QImage::Format_RGB888);
        QSize shown = image.size().scaled(size(), Qt::KeepAspectRatio);
        const QRect target(QPoint((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(target, image);
    }

private:
    const PreviewPanelModel& model_;
};

} // namespace

std::optional<SnapshotChoice> QtSnapshotDialog::chooseFile(const std::string& startFolder,
                                                           const std::string& fileName,
                                                           const std::string& filter) {
    QFileDialog dialog(parent_, QString(), QString::fromStdString(startFolder), QtFileDialogFilter(filter));
    dialog.setObjectName("snapshotDialog");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // The same dialog on every desktop, and one a test can drive.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.selectFile(QString::fromStdString(fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const int filterIndex = static_cast<int>(dialog.nameFilters().indexOf(dialog.selectedNameFilter()));
    return SnapshotChoice{dialog.selectedFiles().front().toStdString(),
                          filterIndex == 1 ? SnapshotFilter::Bmp : SnapshotFilter::Jpg};
}

PreviewPanel::PreviewPanel(PreviewPanelModel& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName("Panel_Preview");
    setFixedSize(PanelWidth, PanelHeight);

    picture_ = new FramePicture(model_, this);
    picture_->setObjectName("Image_Preview");
    picture_->setAccessibleName("Preview");
    picture_->setGeometry(4, 2, PictureWidth, PictureHeight);

    seeking_ = new QLabel(SeekingText, picture_);
    seeking_->setObjectName("Label_Info");
    seeking_->setAlignment(Qt::AlignCenter);
    seeking_->adjustSize();
    seeking_->move((PictureWidth - seeking_->width()) / 2, (PictureHeight - seeking_->height()) / 2);

    trimBar_ = new TrimBarView(model_, this);
    trimBar_->move(4, PictureHeight + 10);
    connect(trimBar_, &TrimBarView::dragged, this, &PreviewPanel::refresh);
    connect(trimBar_, &TrimBarView::released, this, [this] {
        refresh();
        emit clipTimesChanged();
    });

    start_ = addField("Start Time :", "suiEdit_Start", 4);
    end_ = addField("End Time :", "suiEdit_Stop", 46);
    connect(start_, &QLineEdit::textEdited, this, [this] {
        model_.EditStart(start_->displayText().toStdString());
        refresh();
        emit clipTimesChanged();
    });
    connect(end_, &QLineEdit::textEdited, this, [this] {
        model_.EditEnd(end_->displayText().toStdString());
        refresh();
        emit clipTimesChanged();
    });

    snapshot_ = new QToolButton(this);
    snapshot_->setObjectName("suiImageButton_Snapshoot");
    snapshot_->setText("Snapshot");
    snapshot_->setAccessibleName("Snapshot");
    snapshot_->setToolTip("Save the frame shown as a picture");
    snapshot_->setGeometry(SideLeft, 92, FieldWidth, 25);
    connect(snapshot_, &QToolButton::clicked, this, &PreviewPanel::snapshotClicked);

    refresh();
}

QLineEdit* PreviewPanel::addField(const QString& caption, const char* objectName, int top) {
    auto* label = new QLabel(caption, this);
    label->setGeometry(SideLeft, top, FieldWidth, 16);
    auto* field = new QLineEdit(this);
    field->setObjectName(objectName);
    field->setAccessibleName(caption.chopped(2));
    // Hours may be one digit; blanks count as 0, as the model reads them.
    field->setInputMask("90:00:00; ");
    field->setGeometry(SideLeft, top + 17, FieldWidth, 20);
    field->installEventFilter(this);
    label->setBuddy(field);
    return field;
}

bool PreviewPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut && (watched == start_ || watched == end_)) {
        if (watched == start_)
            model_.LeaveStart();
        else
            model_.LeaveEnd();
        refresh();
        emit clipTimesChanged();
    }
    return QWidget::eventFilter(watched, event);
}

void PreviewPanel::showField(QLineEdit* field, const TimeField& shown) {
    const QString text = QString::fromStdString(shown.Text);
    // Setting the same text again would put the cursor at the end while typing.
    if (field->displayText() != text)
        field->setText(text);
    // The skin colours the field by this property: worked out again only when it changes.
    const int colour = static_cast<int>(shown.Colour);
    if (field->property("fieldColour").toInt() == colour && field->property("fieldColour").isValid())
        return;
    field->setProperty("fieldColour", colour);
    field->style()->unpolish(field);
    field->style()->polish(field);
}

void PreviewPanel::refresh() {
    showField(start_, model_.Trim().StartField());
    showField(end_, model_.Trim().EndField());
    start_->setEnabled(model_.FieldsEnabled());
    end_->setEnabled(model_.FieldsEnabled());
    trimBar_->setEnabled(model_.TrimBarEnabled());
    snapshot_->setEnabled(model_.SnapshotEnabled());
    seeking_->setVisible(model_.Seeking());
    picture_->update();
    trimBar_->update();
}

void PreviewPanel::snapshotClicked() {
    QtSnapshotDialog dialog(window());
    model_.Snapshot(dialog);
    refresh();
}

} // namespace quilo
