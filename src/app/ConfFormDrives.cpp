// The options dialog's "Drives" page: the warning and alarm temperatures in force for each
// drive and where they come from, and the user's own pair for one drive.
#include "ConfForm.h"
#include "ConfFormPlace.h"
#include "DriveThresholds.h"
#include "ServiceLink.h"
#include "forms/Application.h"
#include "forms/Bitmap.h"
#include "forms/Platform.h"
#include <algorithm>

namespace thermowl {

using namespace forms;
using namespace controls;

namespace {

const char* SourceName(LimitSource source) {
    switch (source) {
    case LimitSource::User: return "user";
    case LimitSource::Drive: return "drive";
    case LimitSource::Default: break;
    }
    return "default";
}

// "55/70 °C drive/default", one source when both come from the same place.
std::string LimitsText(const DriveThresholds& t) {
    std::string from = SourceName(t.warnFrom);
    if (t.alarmFrom != t.warnFrom) from += std::string("/") + SourceName(t.alarmFrom);
    return std::to_string(t.warn) + "/" + std::to_string(t.alarm) + " \xB0" "C " + from;
}

int ShownDrives() { return std::clamp<int>(DriveCount, 0, MaxDrives); }

// The drive's name as the radio button beside its limits has room for it: a long model name is
// cut and ends in "...".
std::string FittedName(TXPRadioButton* radio, std::string name) {
    TBitmap probe(1, 1);
    probe.Canvas().Font().Assign(radio->Font());
    const int room = radio->Width() - radio->BoxSize() - 5;
    if (probe.Canvas().TextWidth(name) <= room) return name;
    while (!name.empty() && probe.Canvas().TextWidth(name + "...") > room) name.pop_back();
    return name + "...";
}

}  // namespace

void TConfForm::BuildDrivesPage() {
    auto group = [this](const char* name, const char* caption, int top, int height) {
        auto* g = Place<TXPGroupBox>(this, TabSheet4, name, 8, top, 265, height);
        g->SetCaption(caption);
        g->SetBorderColor(GroupBorder);
        SetFont(g, Font(), GroupCaption, fsBold);
        return g;
    };
    auto label = [this](const char* name, const char* caption, int left, int top) {
        auto* l = Place<TLabel>(this, XPGroupBox9, name, left, top);
        SetFont(l, Font(), ControlText);
        l->SetCaption(caption);
        return l;
    };
    auto spin = [this](const char* name, int left) {
        auto* s = Place<TSpinEdit>(this, XPGroupBox9, name, left, 16, 41, 22);
        SetFont(s, Font(), ControlText);
        s->MinValue = 10;
        s->MaxValue = 150;
        return s;
    };
    auto button = [this](const char* name, const char* caption, int left, void (TConfForm::*click)(TObject*)) {
        auto* b = Place<TXPButton>(this, XPGroupBox9, name, left, 42, 57, 21);
        SetFont(b, Font(), clNavy, fsBold);
        b->SetCaption(caption);
        b->OnClick = [this, click](TObject* s) { Guarded([&] { (this->*click)(s); }); };
        return b;
    };

    XPGroupBox8 = group("XPGroupBox8", "Warning / alarm per drive", 0, 121);
    for (int i = 0; i < MaxDrives; ++i) {
        const std::string index = std::to_string(i + 1);
        DriveRadios[i] = Place<TXPRadioButton>(this, XPGroupBox8, ("DriveRadio" + index).c_str(), 8, 15 + 13 * i, 110, 13);
        SetFont(DriveRadios[i], Font(), ControlText);
        DriveRadios[i]->OnClick = [this, i](TObject*) { Guarded([&] { DriveRadioClick(i); }); };
        DriveLimitLabels[i] = Place<TLabel>(this, XPGroupBox8, ("DriveLimits" + index).c_str(), 120, 15 + 13 * i);
        SetFont(DriveLimitLabels[i], Font(), ControlText);
    }

    XPGroupBox9 = group("XPGroupBox9", "Own limits of the chosen drive", 124, 69);
    Label21 = label("Label21", "Warning :", 12, 19);
    SpinEdit4 = spin("SpinEdit4", 62);
    Label22 = label("Label22", "Alarm :", 124, 19);
    SpinEdit5 = spin("SpinEdit5", 162);
    label("Label23", "\xB0" "C", 207, 19);
    XPButton4 = button("XPButton4", "Set", 62, &TConfForm::XPButton4Click);
    XPButton5 = button("XPButton5", "Clear", 146, &TConfForm::XPButton5Click);
}

void TConfForm::ShowDriveLimits() {
    const int drives = ShownDrives();
    for (int i = 0; i < MaxDrives; ++i) {
        const bool shown = i < drives;
        DriveRadios[i]->SetVisible(shown);
        DriveLimitLabels[i]->SetVisible(shown);
        if (shown) DriveLimitLabels[i]->SetCaption(LimitsText(ThresholdsForDrive(i)));
    }
    FitDriveNames();
    // The first drive is chosen unless one still is.
    if (drives > 0 && ChosenDrive() < 0) DriveRadios[0]->SetChecked(true);
    const int chosen = ChosenDrive();
    for (TControl* c : std::initializer_list<TControl*>{SpinEdit4, SpinEdit5, XPButton4, XPButton5})
        c->SetEnabled(chosen >= 0);
    if (chosen >= 0) DriveRadioClick(chosen);
}

void TConfForm::FitDriveNames() {
    for (int i = 0; i < ShownDrives(); ++i)
        DriveRadios[i]->SetCaption(FittedName(DriveRadios[i], DriveName(DriveTable[i])));
}

int TConfForm::ChosenDrive() const {
    for (int i = 0; i < ShownDrives(); ++i)
        if (DriveRadios[i]->Checked()) return i;
    return -1;
}

void TConfForm::DriveRadioClick(int drive) {
    if (!DriveRadios[drive]->Checked() || drive >= ShownDrives()) return;
    // The pair in force is where the user's own starts from.
    const DriveThresholds t = ThresholdsForDrive(drive);
    SpinEdit4->SetValue(t.warn);
    SpinEdit5->SetValue(t.alarm);
    XPButton5->SetEnabled(t.warnFrom == LimitSource::User);
}

void TConfForm::XPButton4Click(TObject*) {
    const int drive = ChosenDrive();
    if (drive < 0) return;
    const UserPair pair{SpinEdit4->Value(), SpinEdit5->Value()};
    if (!ValidUserPair(pair)) {
        platform.MessageBoxA(Handle(), "The warning temperature must be below the alarm temperature (10 to 150 \xB0" "C).",
                             Application->Title.c_str(), MB_OK | MB_ICONWARNING);
        return;
    }
    StoreUserPair(DriveKey(DriveName(DriveTable[drive]), DriveLimits[drive]), pair);
    ShowDriveLimits();
}

void TConfForm::XPButton5Click(TObject*) {
    const int drive = ChosenDrive();
    if (drive < 0) return;
    ClearUserPair(DriveKey(DriveName(DriveTable[drive]), DriveLimits[drive]));
    ShowDriveLimits();
}

}  // namespace thermowl
