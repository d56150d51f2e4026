// The colours of a label: face, outline, relief and background, passive and under the mouse,
// and the rule that derives highlight and shadow from the colour the label stands on.
#pragma once
#include "forms/Colors.h"
#include "forms/Graphics.h"

namespace label {

class TCustomLabelColors;

// Colours of the passive and disabled text; changes go through OnTextColorsChange.
class TCustomTextColors : public forms::TObject {
public:
    forms::TColor Text() const { return text_; }
    void SetText(forms::TColor v) { Set(text_, v); }
    forms::TColor TextDisabled() const { return textDisabled_; }
    void SetTextDisabled(forms::TColor v) { Set(textDisabled_, v); }
    forms::TColor Delineate() const { return delineate_; }
    void SetDelineate(forms::TColor v) { Set(delineate_, v); }
    forms::TColor Background() const { return background_; }
    void SetBackground(forms::TColor v) { Set(background_, v); }
    forms::TColor Highlight() const { return highlight_; }
    void SetHighlight(forms::TColor v) { Set(highlight_, v); }
    forms::TColor Shadow() const { return shadow_; }
    void SetShadow(forms::TColor v) { Set(shadow_, v); }

    forms::TNotifyEvent OnTextColorsChange;

private:
    friend void ApplyAutoColors(forms::TColor base, TCustomLabelColors& colors);
    void Set(forms::TColor& field, forms::TColor v) {
        if (field == v) return;
        field = v;
        if (OnTextColorsChange) OnTextColorsChange(this);
    }
    forms::TColor text_ = forms::clBlack;
    forms::TColor textDisabled_ = forms::clGray;
    forms::TColor delineate_ = forms::clWhite;
    forms::TColor background_ = forms::clBtnFace;
    forms::TColor highlight_ = forms::clBtnHighlight;
    forms::TColor shadow_ = forms::clBtnShadow;
};

// Adds the colours under the mouse and the automatic relief; changes go through
// OnLabelColorsChange.
class TCustomLabelColors : public TCustomTextColors {
public:
    forms::TColor TextActive() const { return textActive_; }
    void SetTextActive(forms::TColor v) { Set(textActive_, v); }
    forms::TColor DelineateActive() const { return delineateActive_; }
    void SetDelineateActive(forms::TColor v) { Set(delineateActive_, v); }
    bool AutoHighlight() const { return autoHighlight_; }
    void SetAutoHighlight(bool v) { Set(autoHighlight_, v); }
    bool AutoShadow() const { return autoShadow_; }
    void SetAutoShadow(bool v) { Set(autoShadow_, v); }
    forms::TColor BackgroundActive() const { return backgroundActive_; }
    void SetBackgroundActive(forms::TColor v) { Set(backgroundActive_, v); }
    int ColorHighlightShift() const { return highlightShift_; }
    void SetColorHighlightShift(int v) { Set(highlightShift_, v); }
    int ColorShadowShift() const { return shadowShift_; }
    void SetColorShadowShift(int v) { Set(shadowShift_, v); }

    forms::TNotifyEvent OnLabelColorsChange;

private:
    template <typename T> void Set(T& field, T v) {
        if (field == v) return;
        field = v;
        if (OnLabelColorsChange) OnLabelColorsChange(this);
    }
    forms::TColor textActive_ = forms::clBlack;
    forms::TColor delineateActive_ = forms::clWhite;
    bool autoHighlight_ = false;
    bool autoShadow_ = false;
    forms::TColor backgroundActive_ = forms::clBtnFace;
    int highlightShift_ = 40;
    int shadowShift_ = 60;
};

class TLabelColors : public TCustomLabelColors {};

// Derives Shadow (AutoShadow) and Highlight (AutoHighlight) from base, a colour or a system
// colour, by the configured shifts; writes them without a change notification.
void ApplyAutoColors(forms::TColor base, TCustomLabelColors& colors);

}  // namespace label
