// TTrackBar: the system's horizontal track bar (a thumb on a slot, with tick marks below it),
// wrapped thinly. OnChange follows every change of the position, the user's and the program's.
#pragma once
#include "WinControl.h"

namespace forms {

class TTrackBar : public TWinControl {
public:
    explicit TTrackBar(TComponent* owner);
    ~TTrackBar() override;

    int Min() const { return min_; }
    int Max() const { return max_; }
    void SetRange(int min, int max);
    int Position() const { return position_; }
    void SetPosition(int v);  // kept within the range
    int Frequency() const { return frequency_; }
    void SetFrequency(int v);  // a tick mark every this many values
    int LineSize() const { return lineSize_; }
    void SetLineSize(int v);   // the arrow keys' step
    int PageSize() const { return pageSize_; }
    void SetPageSize(int v);   // the Page Up / Page Down step
    int ThumbLength() const { return thumbLength_; }
    void SetThumbLength(int v);

    TNotifyEvent OnChange;

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void WndProc(TMessage& msg) override;
    void ColorChanged() override;

private:
    LRESULT Send(UINT msg, WPARAM wp, LPARAM lp);
    void PositionFromWindow();
    int min_ = 0, max_ = 10, position_ = 0;
    int frequency_ = 1, lineSize_ = 1, pageSize_ = 2, thumbLength_ = 20;
    Brush background_;
    COLORREF backgroundRgb_ = 0;
};

}  // namespace forms
