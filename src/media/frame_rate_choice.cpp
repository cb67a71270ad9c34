#include "media/frame_rate_choice.h"

#include "media/clip_text.h"

#include <cmath>

namespace quilo {

bool IsPlausibleFrameRate(double rate) {
    for (double usual : {60.0, 50.0, 30.0}) {
        if (std::fabs(rate - usual) < 0.001)
            return true;
    }
    return rate > 8 && rate < 30;
}

FrameRateChoice::FrameRateChoice(ModalRunner runModal) : runModal_(std::move(runModal)) {}

float FrameRateChoice::ChooseFrameRate(const std::string& path, float first, float second) {
    const bool firstPlausible = IsPlausibleFrameRate(first);
    const bool secondPlausible = IsPlausibleFrameRate(second);
    if (!(firstPlausible && secondPlausible)) {
        if (firstPlausible)
            return first;
        return secondPlausible ? second : first;
    }
    message_ = path;
    firstText_ = FrameRateText(first);
    secondText_ = FrameRateText(second);
    firstChecked_ = false;
    secondChecked_ = false;
    calculate_ = false;
    ratesEnabled_ = true;
    ++showings_;
    if (runModal_)
        runModal_(*this);
    if (calculate_ || firstChecked_)
        return first;
    return second;
}

void FrameRateChoice::ClickFirst() {
    if (!ratesEnabled_)
        return;
    firstChecked_ = true;
    secondChecked_ = false;
    okEnabled_ = true;
}

void FrameRateChoice::ClickSecond() {
    if (!ratesEnabled_)
        return;
    secondChecked_ = true;
    firstChecked_ = false;
    okEnabled_ = true;
}

void FrameRateChoice::SetCalculate(bool checked) {
    calculate_ = checked;
    if (checked) {
        okEnabled_ = true;
        ratesEnabled_ = false;
    } else {
        ratesEnabled_ = true;
        if (!firstChecked_ && !secondChecked_)
            okEnabled_ = false;
    }
}

} // namespace quilo
