// The monitor at the density of its screen: fonts keep their point size, the drive picture is the
// one drawn for the size, and the chart and the rows grow with it.
#include "MainForm.h"
#include "ServiceLink.h"
#include "chart/Chart.h"

namespace thermowl {

using namespace forms;

void TMainForm::ApplyDpi(int dpi) {
    dpi_ = dpi > 0 ? dpi : 96;
    Font().SetHeight(-Scaled(11));
    // Sharp pictures: the drive drawn for 200 %, 150 % or 125 % once the screen is that dense.
    Image1->Picture().LoadFromResourceName(
        GetModuleHandleA(nullptr), dpi_ >= 192 ? "DRIVE64" : dpi_ >= 144 ? "DRIVE48" : dpi_ >= 120 ? "DRIVE40" : "DRIVE");
    Image1->SetBounds(0, Scaled(16), Scaled(32), Scaled(32));
    Chart1->SetBounds(Chart1->Left(), Chart1->Top(), Scaled(145), Scaled(105));
    chart::TChartAxis& left = Chart1->LeftAxis();
    left.LabelsFont().SetHeight(-Scaled(9));
    left.SetTickLength(Scaled(6));
    left.SetMinorTickLength(Scaled(3));
    Chart1->BottomAxis().LabelsFont().SetHeight(-Scaled(11));
}

void TMainForm::DpiChanged(int dpi, const RECT& suggested) {
    if (dpi == dpi_) return;
    ApplyDpi(dpi);
    // The window keeps the place the system suggests on the new screen; its size is its rows'.
    SetBounds(suggested.left, suggested.top, Width(), Height());
    if (PanelReady) {
        CreateIcons();
        ShowInfo();
    }
}

}  // namespace thermowl
