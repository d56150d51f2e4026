// The options dialog's layout: the banner, the three pages with their controls at their design
// places, colours and captions, and the three buttons below the pages.
#include "ConfForm.h"
#include "ConfFormPlace.h"
#include "MainForm.h"
#include "forms/Jpeg.h"

namespace thermowl {

using namespace forms;
using namespace controls;

void TConfForm::BuildForm() {
    SetCaption("Thermowl Options");
    SetBorderStyle(bsSingle);
    SetFormStyle(fsStayOnTop);
    Font().SetName("MS Sans Serif");
    Font().SetHeight(-Scaled(DesignFontHeight));
    SetColor(clBtnFace);

    Image1 = Place<TImage>(this, this, "Image1", 0, 0, 304, 60);
    LoadJpegResource(GetModuleHandleA(nullptr), "BANNER", Image1->Picture());

    PageControl1 = Place<TPageControl>(this, this, "PageControl1", 8, 64, 289, 225);
    SetFont(PageControl1, Font(), clNavy, fsBold);
    if (monitor_) PageControl1->SetImages(monitor_->ImageList1);
    PageControl1->SetTabMargin(Scaled(TabMargin));
    struct Page { TTabSheet*& sheet; const char* name; const char* caption; int image; };
    for (const Page& p : {Page{TabSheet1, "TabSheet1", "General", 2}, Page{TabSheet2, "TabSheet2", "Monitor", 4},
                          Page{TabSheet3, "TabSheet3", "About", 0}, Page{TabSheet4, "TabSheet4", "Drives", -1}}) {
        p.sheet = new TTabSheet(this);
        p.sheet->Name = p.name;
        p.sheet->SetCaption(p.caption);
        p.sheet->SetImageIndex(p.image);
        p.sheet->Font().Assign(Font());
        p.sheet->SetPageControl(PageControl1);
    }
    PageControl1->SetActivePageIndex(0);

    ColorDialog1 = new TColorDialog(this);
    ColorDialog1->Name = "ColorDialog1";
    ColorDialog1->Color = 0xA00000;
}

void TConfForm::BuildGeneralPage() {
    auto group = [this](const char* name, const char* caption, int top) {
        auto* g = Place<TXPGroupBox>(this, TabSheet1, name, 8, top, 265, 89);
        g->SetCaption(caption);
        g->SetBorderColor(GroupBorder);
        SetFont(g, Font(), GroupCaption, fsBold);
        return g;
    };
    auto label = [this](TWinControl* parent, const char* name, const char* caption, int left, int top) {
        auto* l = Place<TLabel>(this, parent, name, left, top);
        SetFont(l, Font(), ControlText);
        l->SetCaption(caption);
        return l;
    };
    auto check = [this](TWinControl* parent, const char* name, const char* caption, int left, int top, int width) {
        auto* c = Place<TXPCheckBox>(this, parent, name, left, top, width);
        SetFont(c, Font(), ControlText);
        c->SetCaption(caption);
        return c;
    };
    auto spin = [this](TWinControl* parent, const char* name, int left, int top, int width) {
        auto* s = Place<TSpinEdit>(this, parent, name, left, top, width, 22);
        SetFont(s, Font(), ControlText);
        return s;
    };

    XPGroupBox1 = group("XPGroupBox1", "Options", 0);
    XPCheckBox1 = check(XPGroupBox1, "XPCheckBox1", "Load at windows startup", 16, 17, 137);
    XPCheckBox2 = check(XPGroupBox1, "XPCheckBox2", "Show Icon in tray", 16, 37, 137);
    Label1 = label(XPGroupBox1, "Label1", "Refresh time :", 27, 62);
    SpinEdit1 = spin(XPGroupBox1, "SpinEdit1", 101, 59, 40);
    SpinEdit1->MinValue = 1;
    SpinEdit1->MaxValue = 60;
    Label9 = label(XPGroupBox1, "Label9", "sec", 144, 62);

    XPGroupBox2 = group("XPGroupBox2", "Alarms", 96);
    XPCheckBox6 = check(XPGroupBox2, "XPCheckBox6", "Enable", 15, 18, 96);
    XPCheckBox6->OnClick = [this](TObject* s) { Guarded([&] { XPCheckBox6Click(s); }); };
    Label10 = label(XPGroupBox2, "Label10", "Warning temp :", 29, 40);
    SpinEdit2 = spin(XPGroupBox2, "SpinEdit2", 106, 37, 41);
    Label11 = label(XPGroupBox2, "Label11", "", 149, 40);
    Label12 = label(XPGroupBox2, "Label12", "Alarm temp :", 43, 64);
    SpinEdit3 = spin(XPGroupBox2, "SpinEdit3", 106, 61, 41);
    Label13 = label(XPGroupBox2, "Label13", "", 148, 64);
}

void TConfForm::BuildMonitorPage() {
    auto group = [this](const char* name, const char* caption, int left, int top, int width, int height) {
        auto* g = Place<TXPGroupBox>(this, TabSheet2, name, left, top, width, height);
        g->SetCaption(caption);
        g->SetBorderColor(GroupBorder);
        SetFont(g, Font(), GroupCaption, fsBold);
        return g;
    };
    auto check = [this](TWinControl* parent, const char* name, const char* caption, int top) {
        auto* c = Place<TXPCheckBox>(this, parent, name, 8, top);
        SetFont(c, Font(), ControlText);
        c->SetCaption(caption);
        return c;
    };
    auto label = [this](TWinControl* parent, const char* name, const char* caption, int left, int top) {
        auto* l = Place<TLabel>(this, parent, name, left, top);
        SetFont(l, Font(), ControlText);
        l->SetCaption(caption);
        return l;
    };
    // A colour link: the colour itself as its background, "change" in the group's font.
    auto link = [this](TWinControl* parent, const char* name, int top, void (TConfForm::*click)(TObject*)) {
        auto* l = Place<TLabel>(this, parent, name, 88, top);
        l->SetAutoSize(false);
        Design(l, 88, top, 43, 13);
        l->SetCaption("change");
        l->Cursor = IDC_HAND;
        l->OnClick = [this, click](TObject* s) { Guarded([&] { (this->*click)(s); }); };
        return l;
    };
    auto radio = [this](const char* name, const char* caption, int left, int width) {
        auto* r = Place<TXPRadioButton>(this, XPGroupBox5, name, left, 16, width);
        SetFont(r, Font(), ControlText);
        r->SetCaption(caption);
        return r;
    };

    XPGroupBox3 = group("XPGroupBox3", "Show", 8, 0, 113, 89);
    XPCheckBox3 = check(XPGroupBox3, "XPCheckBox3", "HDD Name", 16);
    XPCheckBox4 = check(XPGroupBox3, "XPCheckBox4", "Icons", 40);
    XPCheckBox5 = check(XPGroupBox3, "XPCheckBox5", "Chart", 64);

    XPGroupBox4 = group("XPGroupBox4", "Colors", 128, 0, 145, 89);
    Label3 = label(XPGroupBox4, "Label3", "Text color : ", 32, 16);
    Label6 = link(XPGroupBox4, "Label6", 16, &TConfForm::Label6Click);
    Label4 = label(XPGroupBox4, "Label4", "Delineate color : ", 8, 40);
    Label7 = link(XPGroupBox4, "Label7", 40, &TConfForm::Label7Click);
    Label5 = label(XPGroupBox4, "Label5", "Chart axis color : ", 8, 64);
    Label8 = link(XPGroupBox4, "Label8", 64, &TConfForm::Label8Click);

    XPGroupBox5 = group("XPGroupBox5", "Position", 8, 96, 265, 41);
    // Narrower than a radio button's own width, which would reach over "Desktop"'s circle.
    XPRadioButton1 = radio("XPRadioButton1", "Stay on top", 8, 96);
    XPRadioButton2 = radio("XPRadioButton2", "Desktop", 104, 73);
    XPRadioButton3 = radio("XPRadioButton3", "Normal", 192, 65);
    XPRadioButton3->SetEnabled(false);  // only the two layers a user may choose

    XPGroupBox6 = group("XPGroupBox6", "Transparency %", 8, 144, 265, 49);
    TrackBar1 = Place<TTrackBar>(this, XPGroupBox6, "TrackBar1", 16, 16, 233, 25);
    TrackBar1->SetRange(0, 255);
    TrackBar1->SetFrequency(1);
    TrackBar1->SetLineSize(1);
    TrackBar1->SetPageSize(2);
    TrackBar1->OnChange = [this](TObject* s) { Guarded([&] { TrackBar1Change(s); }); };
}

void TConfForm::BuildAboutPage() {
    XPGroupBox7 = Place<TXPGroupBox>(this, TabSheet3, "XPGroupBox7", 8, 5, 265, 178);
    XPGroupBox7->SetBorderColor(clOlive);
    SetFont(XPGroupBox7, Font(), clBlack);
    auto line = [this](const char* name, int top, int width) {
        auto* b = Place<TBevel>(this, XPGroupBox7, name, 9, top, width, 3);
        b->SetShape(bsTopLine);
        return b;
    };
    auto label = [this](const char* name, const char* caption, int left, int top, TFontStyles style = 0) {
        auto* l = Place<TLabel>(this, XPGroupBox7, name, left, top);
        SetFont(l, Font(), clBlack, style);
        l->SetCaption(caption);
        return l;
    };
    auto link = [&label, this](const char* name, int top, void (TConfForm::*click)(TObject*)) {
        auto* l = label(name, "", 80, top, fsUnderline);
        l->Font().SetColor(clBlue);
        l->Cursor = IDC_HAND;
        l->OnClick = [this, click](TObject* s) { Guarded([&] { (this->*click)(s); }); };
        return l;
    };

    Bevel1 = line("Bevel1", 19, 248);
    Label14 = label("Label14", "Thermowl      Version 1.2", 9, 25, fsBold);
    Label15 = label("Label15", "Hard disk temperature monitor for Windows.", 8, 41);
    Label20 = label("Label20", "Free to use and to pass on unchanged.", 8, 57);
    Bevel2 = line("Bevel2", 75, 245);
    Label16 = label("Label16", "Home page : ", 10, 84);
    Label17 = link("Label17", 84, &TConfForm::Label17Click);
    Label18 = label("Label18", "Support : ", 27, 100);
    Label19 = link("Label19", 100, &TConfForm::Label19Click);
    Bevel3 = line("Bevel3", 123, 245);
}

void TConfForm::BuildButtons() {
    auto button = [this](const char* name, const char* caption, int left, int width, TColor color,
                         void (TConfForm::*click)(TObject*)) {
        auto* b = Place<TXPButton>(this, this, name, left, 296, width, 25);
        SetFont(b, Font(), color, fsBold);
        b->SetCaption(caption);
        b->OnClick = [this, click](TObject* s) { Guarded([&] { (this->*click)(s); }); };
        return b;
    };
    XPButton1 = button("XPButton1", "Reset to default", 8, 113, clNavy, &TConfForm::XPButton1Click);
    XPButton2 = button("XPButton2", "Apply", 128, 81, clGreen, &TConfForm::XPButton2Click);
    XPButton2->SetShowFocusRect(false);
    XPButton2->TabStop = false;
    XPButton3 = button("XPButton3", "Cancel", 216, 81, clMaroon, &TConfForm::XPButton3Click);
}

}  // namespace thermowl
