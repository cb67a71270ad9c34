#include "ui/crop_dialog_view.h"

#include "media/preview_grabber.h"
#include "skin/skin_pictures.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

namespace quilo {
namespace {

const QColor AreaBackground(0x1e, 0x1e, 0x1e);
constexpr CropHandle AllHandles[] = {CropHandle::TL,    CropHandle::Top, CropHandle::TR,     CropHandle::Left,
                                     CropHandle::Right, CropHandle::BL,  CropHandle::Bottom, CropHandle::BR};

QRect toQRect(const PanelRect& r) {
    return {r.Left, r.Top, r.Width, r.Height};
}

} // namespace

CropArea::CropArea(CropDialog& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName("Panel_Back");
    setAccessibleName("Crop picture");
    setFixedSize(CropGeometry::AreaWidth, CropGeometry::AreaHeight);
    setMouseTracking(true);
}

QRect CropArea::cropRect() const {
    const PanelRect& panel = model_.Geometry.Panel();
    return toQRect(model_.Geometry.Rectangle()).translated(panel.Left, panel.Top);
}

QRect CropArea::handleRect(CropHandle handle) const {
    const PanelRect& panel = model_.Geometry.Panel();
    return toQRect(model_.Geometry.HandlePlace(handle)).translated(panel.Left, panel.Top);
}

QPoint CropArea::panelPoint(QPoint point) const {
    const PanelRect& panel = model_.Geometry.Panel();
    return point - QPoint(panel.Left, panel.Top);
}

void CropArea::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), AreaBackground);
    const QRect panel = toQRect(model_.Geometry.Panel());
    const Bitmap24& picture = model_.Picture();
    if (model_.PictureVisible() && !picture.empty()) {
        const QImage image(picture.Pixels.data(), picture.Width, picture.Height, picture.Width * 3,
                           QImage::Format_RGB888);
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawImage(panel, image);
    }
    // What lies outside the rectangle is shaded: above, below, left, right.
    const QRect crop = cropRect();
    const QBrush hatch(QColor(192, 192, 192), Qt::BDiagPattern);
    painter.fillRect(QRect(panel.left(), panel.top(), panel.width(), crop.top() - panel.top()), hatch);
    painter.fillRect(QRect(panel.left(), crop.bottom() + 1, panel.width(), panel.bottom() - crop.bottom()),
                     hatch);
    painter.fillRect(QRect(panel.left(), crop.top(), crop.left() - panel.left(), crop.height()), hatch);
    painter.fillRect(QRect(crop.right() + 1, crop.top(), panel.right() - crop.right(), crop.height()), hatch);
    painter.setPen(QColor(0, 255, 0));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(crop.adjusted(0, 0, -1, -1));
    for (CropHandle handle : AllHandles) {
        const QRect place = handleRect(handle);
        painter.fillRect(place, QColor(0, 255, 0));
        painter.setPen(AreaBackground);
        painter.drawRect(place.adjusted(0, 0, -1, -1));
    }
    if (model_.LabelVisible()) {
        painter.setPen(Qt::white);
        painter.drawText(rect(), Qt::AlignCenter, SeekingText);
    }
}

void CropArea::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    drag_ = Drag::None;
    for (CropHandle handle : AllHandles)
        if (handleRect(handle).contains(point)) {
            drag_ = Drag::Handle;
            handle_ = handle;
            break;
        }
    if (drag_ == Drag::None && cropRect().contains(point))
        drag_ = Drag::Rectangle;
    if (drag_ == Drag::None)
        return;
    const QPoint at = panelPoint(point);
    model_.Geometry.Press(at.x(), at.y());
}

void CropArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (drag_ == Drag::None) {
        Qt::CursorShape shape = Qt::ArrowCursor;
        for (CropHandle handle : AllHandles)
            if (handleRect(handle).contains(point))
                shape = Qt::CrossCursor;
        if (shape == Qt::ArrowCursor && cropRect().contains(point))
            shape = Qt::SizeAllCursor;
        setCursor(shape);
        return;
    }
    const QPoint at = panelPoint(point);
    if (drag_ == Drag::Rectangle)
        model_.Geometry.DragRectangle(at.x(), at.y());
    else
        model_.Geometry.DragHandle(handle_, at.x(), at.y());
    update();
    emit changed();
}

void CropArea::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        drag_ = Drag::None;
}

CropTimeSlider::CropTimeSlider(CropDialog& model, QWidget* parent) : QWidget(parent), model_(model) {
    setObjectName("suiImageButton_Snapshoot");
    setAccessibleName("Time");
    setFixedSize(CropDialog::SliderMin + CropDialog::SliderTravel + KnobWidth + 4, 20);
}

QRect CropTimeSlider::knobRect() const {
    return {model_.SliderLeft(), 2, KnobWidth, 16};
}

void CropTimeSlider::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0x3a, 0x46, 0x57));
    painter.drawRoundedRect(QRectF(CropDialog::SliderMin, 8, CropDialog::SliderTravel + KnobWidth, 4), 2, 2);
    painter.setBrush(isEnabled() ? skin::Accent : QColor(0x6b, 0x7d, 0x93));
    painter.drawRoundedRect(QRectF(knobRect()), 4, 4);
}

void CropTimeSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !knobRect().contains(event->position().toPoint()))
        return;
    dragging_ = true;
    model_.SliderPress(event->position().toPoint().x());
}

void CropTimeSlider::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_)
        return;
    model_.SliderMove(event->position().toPoint().x());
    update();
    emit moved();
}

void CropTimeSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging_)
        return;
    dragging_ = false;
    model_.SliderRelease();
    update();
    emit released();
}

CropDialogView::CropDialogView(CropDialog& model, QWidget* parent) : QDialog(parent), model_(model) {
    setObjectName("TEffectForm");
    setWindowTitle("Crop");
    setModal(true);

    auto* grid = new QGridLayout(this);
    area_ = new CropArea(model_, this);
    grid->addWidget(area_, 0, 0, 1, 1);
    slider_ = new CropTimeSlider(model_, this);
    timeLabel_ = new QLabel(this);
    timeLabel_->setObjectName("Label5");
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(slider_);
    sliderRow->addWidget(timeLabel_, 1);
    grid->addLayout(sliderRow, 1, 0);

    auto* side = new QGridLayout;
    side->addWidget(new QLabel("Original Size :", this), 0, 0);
    sizeLabel_ = new QLabel(this);
    sizeLabel_->setObjectName("Label2");
    side->addWidget(sizeLabel_, 0, 1);
    const std::pair<CropField, const char*> fields[] = {{CropField::W, "Width :"},
                                                        {CropField::H, "Height :"},
                                                        {CropField::X, "Left Margin :"},
                                                        {CropField::Y, "Top Margin :"}};
    const char* names[] = {"suiSpinEdit_W", "suiSpinEdit_H", "suiSpinEdit_X", "suiSpinEdit_Y"};
    int row = 1;
    for (const auto& [which, caption] : fields) {
        auto* label = new QLabel(caption, this);
        auto* box = new QSpinBox(this);
        box->setRange(0, 99999);
        box->setObjectName(names[static_cast<int>(which)]);
        box->setAccessibleName(QString(caption).chopped(2));
        label->setBuddy(box);
        side->addWidget(label, row, 0);
        side->addWidget(box, row, 1);
        ++row;
        fields_[static_cast<int>(which)] = box;
        connect(box, &QSpinBox::valueChanged, this, [this, which = which](int value) {
            model_.Geometry.EditField(which, value);
            refresh();
        });
    }
    keep_ = new QCheckBox(" Keep Aspect Ratio", this);
    keep_->setObjectName("suiCheckBox_Keep");
    connect(keep_, &QCheckBox::toggled, this, [this](bool on) { model_.Geometry.KeepAspect = on; });
    side->addWidget(keep_, row++, 0, 1, 2);
    side->setRowStretch(row++, 1);
    restore_ = new QPushButton("Restore", this);
    restore_->setObjectName("suiImageButton_Restore");
    ok_ = new QPushButton("OK", this);
    ok_->setObjectName("suiImageButton_OK");
    cancel_ = new QPushButton("Cancel", this);
    cancel_->setObjectName("suiImageButton_Cancel");
    side->addWidget(restore_, row++, 0, 1, 2);
    side->addWidget(ok_, row++, 0, 1, 2);
    side->addWidget(cancel_, row++, 0, 1, 2);
    grid->addLayout(side, 0, 1, 2, 1);

    connect(area_, &CropArea::changed, this, &CropDialogView::refresh);
    connect(slider_, &CropTimeSlider::moved, this, &CropDialogView::refresh);
    connect(slider_, &CropTimeSlider::released, this, &CropDialogView::refresh);
    connect(restore_, &QPushButton::clicked, this, [this] {
        model_.Restore();
        refresh();
    });
    connect(ok_, &QPushButton::clicked, this, [this] {
        showing_ = false;
        model_.Ok();
        QDialog::accept();
    });
    connect(cancel_, &QPushButton::clicked, this, &CropDialogView::reject);
    model_.SetMessageListener([this] {
        if (showing_)
            refresh();
    });
}

CropDialogView::~CropDialogView() {
    model_.SetMessageListener({});
}

void CropDialogView::showEvent(QShowEvent* event) {
    showing_ = true;
    QSignalBlocker block(keep_);
    keep_->setChecked(model_.Geometry.KeepAspect);
    refresh();
    QDialog::showEvent(event);
}

void CropDialogView::reject() {
    // Cancel and the title bar's close button leave the clip as it was.
    showing_ = false;
    model_.Cancel();
    QDialog::reject();
}

void CropDialogView::refresh() {
    const CropRect& values = model_.Geometry.Fields();
    const int shown[] = {values.W, values.H, values.X, values.Y};
    for (int i = 0; i < 4; ++i) {
        // Showing the model is no edit of the user's.
        QSignalBlocker block(fields_[i]);
        fields_[i]->setValue(shown[i]);
    }
    timeLabel_->setText(QString::fromStdString(model_.TimeLabel()));
    sizeLabel_->setText(QString::fromStdString(model_.SizeLabel()));
    area_->update();
    slider_->update();
}

} // namespace quilo
