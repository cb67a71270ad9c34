#include "skin/skin_palette.h"

#include <cmath>

namespace quilo::skin {
namespace {

double linear(int channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& colour) {
    return 0.2126 * linear(colour.red()) + 0.7152 * linear(colour.green()) + 0.0722 * linear(colour.blue());
}

} // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

std::vector<InkOnGround> TextColourPairs() {
    return {
        {"text on a window", Ink, WindowGround},
        {"caption on a window", MutedInk, WindowGround},
        {"disabled text on a window", DisabledInk, WindowGround},
        {"link on a window", LinkInk, WindowGround},
        {"text in a field", Ink, FieldGround},
        {"hint in a field", MutedInk, FieldGround},
        {"disabled text in a field", DisabledInk, FieldGround},
        {"text on a button", Ink, ButtonGround},
        {"text on a selected row", Ink, SelectedGround},
        {"audio row on a selected row", MutedInk, SelectedGround},
        {"text on the accent", BrightInk, AccentGround},
        {"text on the accent, hovered", BrightInk, AccentGroundHover},
        {"text on a grey selector", SelectorInk, SelectorGrey},
        {"text on a white selector", SelectorInk, SelectorWhite},
        {"text on a green selector", SelectorInk, SelectorGreen},
        {"disabled text on a white selector", SelectorDisabledInk, SelectorWhite},
        {"disabled text on a grey selector", SelectorDisabledInk, SelectorGrey},
        {"text on a lime trim field", SelectorInk, FieldLime},
        {"text on a red trim field", BrightInk, FieldRed},
    };
}

QPalette Palette() {
    QPalette palette;
    const auto both = [&palette](QPalette::ColorRole role, const QColor& colour) {
        palette.setColor(QPalette::Active, role, colour);
        palette.setColor(QPalette::Inactive, role, colour);
    };
    both(QPalette::Window, WindowGround);
    both(QPalette::WindowText, Ink);
    both(QPalette::Base, FieldGround);
    both(QPalette::AlternateBase, WindowGround);
    both(QPalette::Text, Ink);
    both(QPalette::PlaceholderText, MutedInk);
    both(QPalette::Button, ButtonGround);
    both(QPalette::ButtonText, Ink);
    both(QPalette::BrightText, BrightInk);
    both(QPalette::Highlight, AccentGround);
    both(QPalette::HighlightedText, BrightInk);
    both(QPalette::ToolTipBase, FieldGround);
    both(QPalette::ToolTipText, Ink);
    both(QPalette::Link, LinkInk);
    both(QPalette::LinkVisited, LinkInk);
    both(QPalette::Light, Border.lighter(150));
    both(QPalette::Midlight, Border.lighter(120));
    both(QPalette::Mid, Border);
    both(QPalette::Dark, FieldGround);
    both(QPalette::Shadow, Qt::black);
    for (QPalette::ColorRole role :
         {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::AlternateBase, QPalette::ToolTipBase,
          QPalette::Light, QPalette::Midlight, QPalette::Mid, QPalette::Dark, QPalette::Shadow,
          QPalette::Highlight})
        palette.setColor(QPalette::Disabled, role, palette.color(QPalette::Active, role));
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText,
                                     QPalette::PlaceholderText, QPalette::Link, QPalette::ToolTipText})
        palette.setColor(QPalette::Disabled, role, DisabledInk);
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, BrightInk);
    return palette;
}

} // namespace quilo::skin
