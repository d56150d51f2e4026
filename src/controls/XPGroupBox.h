// TXPGroupBox: a container with a rounded frame in the XP look and its caption set into the top
// line of the frame.
#pragma once
#include "forms/DialogKeys.h"
#include "forms/WinControl.h"

namespace controls {

enum TCaptionAlignment { caLeft, caRight, caCenter };

class TXPGroupBox : public forms::TCustomControl, public forms::TDialogClient {
public:
    explicit TXPGroupBox(forms::TComponent* owner);
    ~TXPGroupBox() override;

    forms::TColor BorderColor() const { return borderColor_; }
    void SetBorderColor(forms::TColor v);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int v);    // kept within 1..10
    int CornersOffset() const { return cornersOffset_; }
    void SetCornersOffset(int v);  // kept within 1..30
    int CaptionOffset() const { return captionOffset_; }
    void SetCaptionOffset(int v);  // kept within 1..30
    TCaptionAlignment CaptionAlignment() const { return captionAlignment_; }
    void SetCaptionAlignment(TCaptionAlignment v);

protected:
    void CreateParams(forms::TCreateParams& params) override;
    void Paint() override;
    bool DialogChar(char key, forms::TShiftState shift) override;

private:
    void SetClamped(int& field, int v, int low, int high);

    forms::TColor borderColor_ = 0xB8D8D7;
    int borderWidth_ = 1;
    int cornersOffset_ = 10;
    int captionOffset_ = 10;
    TCaptionAlignment captionAlignment_ = caLeft;
};

}  // namespace controls
