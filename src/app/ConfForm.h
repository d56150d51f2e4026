// The options dialog: created hidden at start, it edits the settings through its controls,
// previews colours and opacity on the monitor window, and stores everything on Apply.
#pragma once
#include "controls/Spin.h"
#include "controls/XPButton.h"
#include "controls/XPCheckBox.h"
#include "controls/XPGroupBox.h"
#include "controls/XPRadioButton.h"
#include "forms/Bevel.h"
#include "forms/ColorDialog.h"
#include "forms/Form.h"
#include "forms/Image.h"
#include "forms/Label.h"
#include "forms/PageControl.h"
#include "forms/TrackBar.h"
#include <array>
#include <exception>
#include <functional>
#include <map>
#include <string>

namespace thermowl {

class TMainForm;

// The dialog's pages, as the tray menu asks for them.
enum ConfPage { cpGeneral = 0, cpMonitor = 1, cpAbout = 2, cpDrives = 3 };

// The texts of the About page's links.
extern const char* const HomePage;
extern const char* const SupportAddress;
extern const char* const RestartText;  // "Please restart application!        "

class TConfForm : public forms::TForm {
public:
    TConfForm(forms::TComponent* owner, TMainForm* monitor);
    ~TConfForm() override;

    // Shows the dialog and brings it to front on the page; an open dialog keeps its edits.
    void ShowPage(int page);

    // The density the dialog is at; sizes designed for 96 pixels per inch grow by dpi / 96.
    int Dpi() const { return dpi_; }
    int Scaled(int pixels) const { return MulDiv(pixels, dpi_, 96); }
    // Places a control at its 96-dpi design rectangle grown to the dialog's density, and keeps
    // the design for a change of density (ConfFormDpi.cpp).
    void Design(forms::TControl* control, int left, int top, int width, int height);
    // The title bar's icons at the dialog's density.
    void LoadWindowIcons();
    static constexpr int DesignFontHeight = 11;  // every font of the dialog, in pixels at 96 dpi

    forms::TImage* Image1;  // the banner
    forms::TPageControl* PageControl1;
    forms::TTabSheet *TabSheet1, *TabSheet2, *TabSheet3;
    controls::TXPButton* XPButton1;  // Reset to default
    controls::TXPButton* XPButton2;  // Apply
    controls::TXPButton* XPButton3;  // Cancel
    forms::TColorDialog* ColorDialog1;

    // Page "General".
    controls::TXPGroupBox *XPGroupBox1, *XPGroupBox2;
    controls::TXPCheckBox *XPCheckBox1, *XPCheckBox2, *XPCheckBox6;
    forms::TLabel *Label1, *Label9, *Label10, *Label11, *Label12, *Label13;
    controls::TSpinEdit *SpinEdit1, *SpinEdit2, *SpinEdit3;

    // Page "Monitor".
    controls::TXPGroupBox *XPGroupBox3, *XPGroupBox4, *XPGroupBox5, *XPGroupBox6;
    controls::TXPCheckBox *XPCheckBox3, *XPCheckBox4, *XPCheckBox5;
    forms::TLabel *Label3, *Label4, *Label5;
    forms::TLabel *Label6, *Label7, *Label8;  // the colour links: their own colour is the setting
    controls::TXPRadioButton *XPRadioButton1, *XPRadioButton2, *XPRadioButton3;
    forms::TTrackBar* TrackBar1;

    // Page "About".
    controls::TXPGroupBox* XPGroupBox7;
    forms::TBevel *Bevel1, *Bevel2, *Bevel3;
    forms::TLabel *Label14, *Label15, *Label20, *Label16, *Label17, *Label18, *Label19;

    // Page "Drives": per drive the limits in force and where they come from, and the user's own
    // pair for the chosen drive, stored at once by Set and removed by Clear (ConfFormDrives.cpp).
    forms::TTabSheet* TabSheet4;
    controls::TXPGroupBox *XPGroupBox8, *XPGroupBox9;
    std::array<controls::TXPRadioButton*, 8> DriveRadios{};  // one per drive, the name as caption
    std::array<forms::TLabel*, 8> DriveLimitLabels{};         // "55/70 °C drive/default"
    forms::TLabel *Label21, *Label22;
    controls::TSpinEdit *SpinEdit4, *SpinEdit5;  // the chosen drive's warning and alarm
    controls::TXPButton *XPButton4, *XPButton5;  // Set, Clear
    void ShowDriveLimits();
    void DriveRadioClick(int drive);
    void XPButton4Click(forms::TObject* sender);
    void XPButton5Click(forms::TObject* sender);

    void FormCreate();
    void FormShow(forms::TObject* sender);
    void XPCheckBox6Click(forms::TObject* sender);
    void TrackBar1Change(forms::TObject* sender);
    void Label6Click(forms::TObject* sender);
    void Label7Click(forms::TObject* sender);
    void Label8Click(forms::TObject* sender);
    void UpdateColl();
    void XPButton2Click(forms::TObject* sender);  // Apply
    void XPButton3Click(forms::TObject* sender);  // Cancel
    void XPButton1Click(forms::TObject* sender);  // Reset to default
    void Label17Click(forms::TObject* sender);
    void Label19Click(forms::TObject* sender);
    void FormClose(forms::TObject* sender, forms::TCloseAction& action);

protected:
    void CreateParams(forms::TCreateParams& params) override;
    void WndProc(forms::TMessage& msg) override;
    void DoShow() override;
    void Notification(forms::TComponent* component, forms::TOperation operation) override;

private:
    // Layout (ConfFormPages.cpp).
    void BuildForm();
    void BuildGeneralPage();
    void BuildMonitorPage();
    void BuildAboutPage();
    void BuildDrivesPage();
    // The drive whose row is chosen; -1 for none.
    int ChosenDrive() const;
    void BuildButtons();
    // Parts of the handlers (ConfFormHandlers.cpp).
    void PickColor(forms::TLabel* link);
    void ShowDriveColors(forms::TColor text, forms::TColor delineate, forms::TColor axis);
    int ChosenPlacement() const;
    // The error box of a failed Apply: owned by the dialog, so on top of it.
    void ShowError(std::exception_ptr error);
    // Runs a handler as the window procedure would: its failure goes to the error box.
    void Guarded(const std::function<void()>& handler);

    // The density's own parts (ConfFormDpi.cpp): the dialog moved onto a screen of another
    // density takes it, from the design values, so a way back gives the very same layout.
    void DpiChanged(int dpi, const RECT& suggested);
    void ApplyDensityExtras();          // track bar thumb, banner stretch
    // Four tabs in the dialog's width: a narrower margin beside each caption keeps them all in
    // view, without the scroll arrows that would hide the first. Set before the tabs are laid
    // out (added, or a new font), which is when the tab control takes it into account.
    static constexpr int TabMargin = 3;
    void FitClientArea(int left, int top);
    void FitDriveNames();
    struct DesignRect { forms::TControl* control; int left, top, width, height; };
    std::map<forms::TComponent*, DesignRect> designs_;  // by the control, forgotten as it goes

    TMainForm* monitor_;
    int dpi_ = 96;
    bool placed_ = false;  // centred on the desktop at the first show
    forms::TIcon bigIcon_, smallIcon_;
};

}  // namespace thermowl
