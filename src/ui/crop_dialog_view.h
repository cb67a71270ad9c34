// The crop dialog: a frame of the clip with the crop rectangle, its eight
// handles and the shaded outside; the W/H/X/Y fields, Keep Aspect Ratio, the
// time slider, Restore, OK and Cancel. Geometry and engine are the model's.
#pragma once

#include "conversion/crop_dialog.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace quilo {

class CropArea;
class CropTimeSlider;

class CropDialogView : public QDialog {
    Q_OBJECT
public:
    CropDialogView(CropDialog& model, QWidget* parent = nullptr);
    ~CropDialogView() override;

    // Shows the model's state; called when the dialog opens and after every change.
    void refresh();

    const CropDialog& model() const { return model_; }
    CropArea* area() const { return area_; }
    CropTimeSlider* timeSlider() const { return slider_; }
    QSpinBox* field(CropField which) const { return fields_[static_cast<int>(which)]; }
    QCheckBox* keepAspect() const { return keep_; }
    QPushButton* restoreButton() const { return restore_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    CropDialog& model_;
    CropArea* area_ = nullptr;
    CropTimeSlider* slider_ = nullptr;
    QLabel* timeLabel_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QSpinBox* fields_[4] = {};
    QCheckBox* keep_ = nullptr;
    QPushButton *restore_ = nullptr, *ok_ = nullptr, *cancel_ = nullptr;
    bool showing_ = false;
};

// The 400 x 300 picture area.
class CropArea : public QWidget {
    Q_OBJECT
public:
    CropArea(CropDialog& model, QWidget* parent);
    // Where a handle's picture lies in this widget.
    QRect handleRect(CropHandle handle) const;
    // The crop rectangle in this widget.
    QRect cropRect() const;

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QPoint panelPoint(QPoint point) const;

    CropDialog& model_;
    enum class Drag { None, Rectangle, Handle } drag_ = Drag::None;
    CropHandle handle_ = CropHandle::TL;
};

// The slider under the picture that picks the second shown.
class CropTimeSlider : public QWidget {
    Q_OBJECT
public:
    static constexpr int KnobWidth = 24;
    CropTimeSlider(CropDialog& model, QWidget* parent);
    QRect knobRect() const;

signals:
    void moved();
    void released();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    CropDialog& model_;
    bool dragging_ = false;
};

} // namespace quilo
