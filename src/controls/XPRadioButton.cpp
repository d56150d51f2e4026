#include "XPRadioButton.h"
#include <utility>
#include <vector>

namespace controls {

using namespace forms;

TXPRadioButton::TXPRadioButton(TComponent* owner) : TXPToggle(owner, 113, 17) { MakePictures(); }

void TXPRadioButton::MakePictures() {
    const std::pair<TBitmap*, const char*> pictures[] = {
        {&face_, "RD_UNPRESS"}, {&pressedFace_, "RD_PRESS"}, {&hotRing_, "RD_BORDER"},
        {&dot_, "RD_FLAG"},     {&disabledFace_, "RD_DISABLED"}, {&disabledDot_, "RD_DISFLAG"}};
    for (auto& [bitmap, name] : pictures) LoadPicture(*bitmap, name, true);
}

TXPRadioButton::~TXPRadioButton() = default;

void TXPRadioButton::SetChecked(bool v) {
    // A sibling that is itself checked (moved here from another parent) unchecks its siblings in
    // turn, this one among them: that call must not start over, or the two call each other for ever.
    if (checked_ == v || uncheckingSiblings_) return;
    // Each sibling that unchecks raises its click, whose handler may free this button or a
    // sibling not yet visited.
    const TLifeWatch self(this);
    if (TWinControl* parent = Parent()) {
        std::vector<std::pair<TXPRadioButton*, TLifeWatch>> siblings;
        for (TControl* c : parent->Controls())
            if (auto* radio = dynamic_cast<TXPRadioButton*>(c); radio && radio != this)
                siblings.emplace_back(radio, TLifeWatch(radio));
        uncheckingSiblings_ = true;
        for (auto& [radio, life] : siblings) {
            if (life.Alive()) radio->SetChecked(false);
            if (!self.Alive()) return;
        }
        uncheckingSiblings_ = false;
    }
    checked_ = v;
    RedrawBox();
    Click();
}

void TXPRadioButton::DoEnter() {
    const TLifeWatch self(this);
    SetChecked(true);
    if (self.Alive()) TXPToggle::DoEnter();
}

void TXPRadioButton::DrawBox(TCanvas& canvas, int x, int y) {
    const ToggleMetrics& m = Metrics();
    const int dot = (m.box - m.dot) / 2;
    // The circle pictures are see-through at their corners.
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(Color());
    canvas.FillRect({x, y, x + m.box, y + m.box});
    if (Enabled()) {
        canvas.Draw(x, y, Flags().Pressed ? pressedFace_ : face_);
        if (Flags().MouseInside && !Flags().Pressed) canvas.Draw(x + m.frame, y + m.frame, hotRing_);
        if (checked_) canvas.Draw(x + dot, y + dot, dot_);
    } else {
        canvas.Draw(x, y, disabledFace_);
        if (checked_) canvas.Draw(x + dot, y + dot, disabledDot_);
    }
}

}  // namespace controls
