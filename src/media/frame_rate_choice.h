// Which of two frame rates is the real one, when the engine and media analysis
// disagree about a clip: the rule, and the controls of the window that asks.
#pragma once

#include <functional>
#include <string>

namespace quilo {

class FrameRateChooser {
public:
    virtual ~FrameRateChooser() = default;
    // The probe's rate comes first, the engine's second.
    virtual float ChooseFrameRate(const std::string& path, float first, float second) = 0;
};

// Within 0.001 of 60, 50 or 30, or strictly between 8 and 30.
bool IsPlausibleFrameRate(double rate);

class FrameRateChoice : public FrameRateChooser {
public:
    // Shows the window modally and returns when it closes; the view (or a
    // test) works the controls below meanwhile.
    using ModalRunner = std::function<void(FrameRateChoice&)>;

    explicit FrameRateChoice(ModalRunner runModal);

    // Asks only when both rates are plausible; otherwise the plausible one, or
    // the first when neither is.
    float ChooseFrameRate(const std::string& path, float first, float second) override;

    // Controls.
    static constexpr const char* PromptText = "Please choose the original FPS for this video clip. ";
    static constexpr const char* CalculateText =
        " I'm not sure which one to choose. Please calculate for me. ";
    const std::string& MessageText() const { return message_; }
    const std::string& FirstRateText() const { return firstText_; }
    const std::string& SecondRateText() const { return secondText_; }
    bool FirstChecked() const { return firstChecked_; }
    bool SecondChecked() const { return secondChecked_; }
    bool RatesEnabled() const { return ratesEnabled_; }
    bool CalculateChecked() const { return calculate_; }
    bool OkEnabled() const { return okEnabled_; }
    int Showings() const { return showings_; }

    void ClickFirst();
    void ClickSecond();
    void SetCalculate(bool checked);

private:
    ModalRunner runModal_;
    std::string message_;
    std::string firstText_;
    std::string secondText_;
    bool firstChecked_ = false;
    bool secondChecked_ = false;
    bool ratesEnabled_ = true;
    bool calculate_ = false;
    bool okEnabled_ = false; // stays enabled once a choice was ever made
    int showings_ = 0;
};

} // namespace quilo
