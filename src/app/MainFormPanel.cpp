// The monitor panel: one row per drive (name, temperature, picture) and the history chart.
#include "DriveFlags.h"
#include "DriveThresholds.h"
#include "HistoryChart.h"
#include "MainForm.h"
#include "forms/FlagScope.h"
#include "ServiceLink.h"
#include "Settings.h"
#include "TrayHint.h"
#include "label/OutlinedLabel.h"
#include <algorithm>
#include <array>

namespace thermowl {

double History[MaxDrives][HistoryLength] = {};

using namespace forms;

namespace {

std::string TemperatureText(int temperature) { return std::to_string(temperature) + "\xB0" "C"; }

int ReportedDrives() { return std::clamp<int>(DriveCount, 0, MaxDrives); }

// Every value of the drive's history set to its current temperature: the line starts flat.
void StartDriveHistory(int drive) {
    std::fill(std::begin(History[drive]), std::end(History[drive]), DriveTable[drive].Temperature);
}

}  // namespace

// --- building -------------------------------------------------------------------------------

label::TOutlinedLabel* TMainForm::MakeDriveLabel() {
    auto* l = new label::TOutlinedLabel(this);
    l->SetVisible(false);
    l->Colors().SetText(Settings.TextColor);
    l->Colors().SetDelineate(Settings.DelColor);
    // The colour key: relief and shadow never show.
    l->Colors().SetHighlight(clPurple);
    l->Colors().SetShadow(clPurple);
    l->Font().Assign(Font());
    l->Font().SetStyle(fsBold);
    l->SetOptions(OutlinedLabel1->Options());
    l->Cursor = IDC_HAND;
    l->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { FormMouseDown(s, b, sh, x, y); };
    // A label takes its text's size when it paints; the window grows or shrinks with it.
    l->OnResize = [this](TObject*) { FitToChildren(); };
    l->SetParent(this);
    return l;
}

TImage* TMainForm::MakeDriveIcon() {
    auto* icon = new TImage(this);
    icon->SetVisible(false);
    icon->SetBounds(0, 0, Scaled(105), Scaled(105));
    icon->Picture().Assign(Image1->Picture());
    icon->SetTransparent(true);
    icon->Cursor = IDC_HAND;
    icon->OnMouseDown = [this](TObject* s, TMouseButton b, TShiftState sh, int x, int y) { FormMouseDown(s, b, sh, x, y); };
    icon->SetParent(this);
    return icon;
}

void TMainForm::ClearAll() {
    auto release = [](auto& slots) {
        for (auto*& control : slots) {
            if (!control) continue;
            control->Hide();
            delete control;
            control = nullptr;
        }
    };
    release(NameLabels);
    release(TempLabels);
    release(DriveIcons);
    builtDrives_ = 0;
    Repaint();
}

void TMainForm::CreateIcons() {
    const int before = builtDrives_;
    ClearAll();
    // Sized once the rows stand; no label may resize the window halfway.
    SetAutoSize(false);
    while (Chart1->SeriesCount() > 0) delete Chart1->Series(Chart1->SeriesCount() - 1);
    const int drives = ReportedDrives();
    for (int i = 0; i < drives; ++i) {
        NameLabels[i] = MakeDriveLabel();
        TempLabels[i] = MakeDriveLabel();
        DriveIcons[i] = MakeDriveIcon();
        AddDriveSeries(*Chart1);
    }
    Chart1->SetCursor(chart::crHandPoint);
    Chart1->Hide();
    builtDrives_ = drives;
    // A row new to the panel starts its line flat at its temperature, whoever builds it.
    for (int i = before; i < drives; ++i) StartDriveHistory(i);

    SetBounds(Left(), Top(), 1, 1);
    LayOutRows();
    SetAutoSize(true);
    FitToChildren();
    Repaint();
    PullBackOnScreen();
}

void TMainForm::LayOutRows() {
    const bool names = Settings.ShowHddNames, icons = Settings.ShowIcons, chartShown = Settings.ShowChart;
    int y = 0;
    for (int i = 0; i < builtDrives_; ++i) {
        if (names) {
            NameLabels[i]->SetBounds(0, y, NameLabels[i]->Width(), NameLabels[i]->Height());
            NameLabels[i]->Show();
            y += Scaled(16);
        }
        if (icons) {
            DriveIcons[i]->SetBounds(0, y, Scaled(105), Scaled(105));
            DriveIcons[i]->Show();
            y += Scaled(32);
        }
        // Alone on its line when nothing else is shown; beside the icon, 6 pixels below its top.
        if (!icons && !names && !chartShown) {
            TempLabels[i]->SetBounds(0, y, TempLabels[i]->Width(), TempLabels[i]->Height());
            TempLabels[i]->Show();
            y += Scaled(16);
        }
        if (icons) {
            TempLabels[i]->SetBounds(Scaled(40), y - Scaled(26), TempLabels[i]->Width(), TempLabels[i]->Height());
            TempLabels[i]->Show();
        }
    }
    if (chartShown) {
        Chart1->SetBounds(0, y + Scaled(16), Chart1->Width(), Chart1->Height());
        Chart1->Show();
    }
}

void TMainForm::FitToChildren() {
    if (AutoSize()) AdjustSizeToChildren();
}

void TMainForm::PullBackOnScreen() {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (screenWidth < Left() + Width()) SetLeft(screenWidth - (Width() + 24));
    if (screenHeight < Top() + Height()) SetTop(screenHeight - Height());
}

// --- feeding --------------------------------------------------------------------------------

void TMainForm::StartHistory() {
    for (int i = 0; i < ReportedDrives(); ++i) StartDriveHistory(i);
}

void TMainForm::ShowInfo() {
    if (panelBusy_) {
        showPending_ = true;
        return;
    }
    // The latest reply is shown once after the one in hand, never inside it.
    do {
        showPending_ = false;
        forms::FlagScope busy(panelBusy_);
        ShowReading();
    } while (showPending_);
}

void TMainForm::ShowReading() {
    // A reply for another number of drives than the panel shows: the panel follows the drives.
    if (ReportedDrives() != builtDrives_) CreateIcons();
    const int shown = std::min(builtDrives_, Chart1->SeriesCount());
    // A reply taken meanwhile rewrites the table: this pass shows the one it started with.
    const auto table = std::to_array(DriveTable);

    double low = 100.0, high = 0.0;
    DriveHint.clear();
    for (int i = 0; i < shown; ++i) {
        const std::string name = DriveName(table[i]);
        const int temperature = table[i].Temperature;
        const std::string text = TemperatureText(temperature);
        // Without icons the name line carries the temperature too.
        NameLabels[i]->SetCaption(Settings.ShowHddNames && !Settings.ShowIcons ? name + " - " + text : name);
        TempLabels[i]->SetCaption(text);
        // An old reading (asleep, stale) is drawn dimmed; the label keeps its place.
        const bool old = OldReading(DriveTable[i]);
        TempLabels[i]->Colors().SetText(old ? DimmedColor(Settings.TextColor, Settings.DelColor) : Settings.TextColor);

        std::copy(std::begin(History[i]) + 1, std::end(History[i]), std::begin(History[i]));
        History[i][HistoryLength - 1] = temperature;
        chart::TChartSeries* series = Chart1->Series(i);
        series->ClearPoints();
        series->AppendValues(History[i]);
        low = std::min(low, series->MinY());
        high = std::max(high, series->MaxY());

        const std::string note = CrossedLimitNote(ThresholdsFor(name, DriveLimits[i]), temperature, "");
        AddHintLine(DriveHint, DriveHintLine(DriveTable[i], text), note);
        // An old reading raised its alarm when it was new.
        if (!old) AlarmCheck(i, name, temperature);
    }
    // No drive, no range: the axis keeps the one it has.
    if (shown > 0) SetValueRange(Chart1->LeftAxis(), low - 2, high + 2);
    UpdateHint();
}

void TMainForm::UpdateHint() {
    const std::string hint = TrayHintText(DriveHint, ServiceSilent());
    // Unchanged, the icon is left alone: each change is a call to the shell.
    if (TrayIcon1->Hint() != hint) TrayIcon1->SetHint(hint);
}

void TMainForm::SetAxisColor(TColor color) {
    chart::TChartAxis& axis = Chart1->LeftAxis();
    axis.Axis().SetColor(color);
    axis.LabelsFont().SetColor(color);
    axis.Ticks().SetColor(color);
}

}  // namespace thermowl
