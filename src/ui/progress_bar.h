// The progress window's bar: a filled part of a fixed full width.
#pragma once

#include <QWidget>

namespace quilo {

class ProgressBar : public QWidget {
public:
    explicit ProgressBar(int fullWidth, QWidget* parent = nullptr);
    void setFilled(int pixels);
    int filled() const { return filled_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int filled_ = 0;
};

} // namespace quilo
