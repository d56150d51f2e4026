// Shows every styled dialog control in each of its states: a sheet of pictures taken of real
// controls driven into each state (hover, focus and press do not hold still otherwise), and
// below it live controls to try by hand.
//   controls-gallery [--seconds N]   closes itself after N seconds (for screenshots)
#include "controls/XPButton.h"
#include "controls/XPCheckBox.h"
#include "controls/XPGroupBox.h"
#include "controls/XPRadioButton.h"
#include "forms/Application.h"
#include "forms/Timer.h"
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

using namespace controls;
using namespace forms;

namespace {

constexpr TColor DialogColor = 0xD8E9EC;  // the XP dialog face

// A picture of each state with its name under it, in rows.
class TStateSheet : public TCustomControl {
public:
    explicit TStateSheet(TComponent* owner) : TCustomControl(owner) { SetParentColor(true); }
    void Add(const std::string& name, std::unique_ptr<TBitmap> picture) {
        entries_.push_back({name, std::move(picture), row_});
    }
    void NextRow(const std::string& title) { titles_.push_back(title); ++row_; }

protected:
    void Paint() override {
        TCanvas& c = Canvas();
        c.Brush().SetColor(Color());
        c.FillRect(ClientRect());
        c.Font().SetColor(clBlack);
        int y = 4, row = -1, x = 0, rowHeight = 0;
        for (auto& e : entries_) {
            if (e.row != row) {
                y += rowHeight;
                row = e.row;
                x = 8;
                rowHeight = 0;
                c.Font().SetStyle(fsBold);
                c.TextOut(8, y, titles_[row]);
                c.Font().SetStyle(0);
                y += 16;
            }
            int w = std::max(e.picture->Width(), c.TextWidth(e.name));
            c.Draw(x, y, *e.picture);
            c.Brush().SetStyle(bsClear);
            c.TextOut(x, y + e.picture->Height() + 2, e.name);
            c.Brush().SetStyle(bsSolid);
            x += w + 12;
            rowHeight = std::max(rowHeight, e.picture->Height() + 22);
        }
    }

private:
    struct Entry {
        std::string name;
        std::unique_ptr<TBitmap> picture;
        int row;
    };
    std::vector<Entry> entries_;
    std::vector<std::string> titles_;
    int row_ = -1;
};

// The live controls and the staging place where pictures are taken.
class TGalleryForm : public TForm {
public:
    explicit TGalleryForm(TComponent* owner) : TForm(owner) {
        SetBorderStyle(bsSingle);
        SetFormStyle(fsStayOnTop);
        SetCaption("Styled controls");
        SetColor(DialogColor);
        SetBounds(10, 10, 900, 730);
        sheet_ = new TStateSheet(this);
        sheet_->SetParent(this);
        sheet_->SetBounds(0, 0, 900, 505);
        BuildLive();
    }

    void TakePictures() {
        sheet_->NextRow("TXPButton");
        Picture<TXPButton>("normal", [](TXPButton&) {});
        Picture<TXPButton>("hot", [this](TXPButton& b) { Hover(b); });
        Picture<TXPButton>("focused", [](TXPButton& b) { b.SetFocus(); });
        Picture<TXPButton>("focused, no rect", [](TXPButton& b) { b.SetShowFocusRect(false); b.SetFocus(); });
        Picture<TXPButton>("pressed", [this](TXPButton& b) { Hover(b); Down(b); });
        Picture<TXPButton>("pressed, outside", [this](TXPButton& b) { Hover(b); Down(b); Move(b, -40, -40); });
        Picture<TXPButton>("default", [](TXPButton& b) { b.SetDefault(true); });
        Picture<TXPButton>("disabled", [](TXPButton& b) { b.SetEnabled(false); });
        sheet_->NextRow("TXPButton (more)");
        Picture<TXPButton>("long caption", [](TXPButton& b) { b.SetCaption("Reset to the defaults now"); });
        Picture<TXPButton>("glyph", [this](TXPButton& b) { b.SetGlyph(Glyph()); b.SetCaption("Colour"); });
        Picture<TXPButton>("glyph, disabled", [this](TXPButton& b) {
            b.SetGlyph(Glyph()); b.SetCaption("Colour"); b.SetEnabled(false); });
        Picture<TXPButton>("ring width 4", [this](TXPButton& b) { b.SetMouseBorderWidth(4); Hover(b); });
        Picture<TXPButton>("&accelerator", [](TXPButton& b) { b.SetCaption("&Apply"); });

        sheet_->NextRow("TXPCheckBox");
        Picture<TXPCheckBox>("unchecked", [](TXPCheckBox&) {});
        Picture<TXPCheckBox>("checked", [](TXPCheckBox& c) { c.SetChecked(true); });
        Picture<TXPCheckBox>("grayed", [](TXPCheckBox& c) { c.SetState(cbGrayed); });
        Picture<TXPCheckBox>("hot", [this](TXPCheckBox& c) { Hover(c); });
        Picture<TXPCheckBox>("pressed", [this](TXPCheckBox& c) { Hover(c); c.SetFocus(); Down(c); });
        Picture<TXPCheckBox>("focused", [](TXPCheckBox& c) { c.SetChecked(true); c.SetFocus(); });
        Picture<TXPCheckBox>("right aligned", [](TXPCheckBox& c) { c.SetAlignment(taRight); c.SetChecked(true); });
        sheet_->NextRow("TXPCheckBox (more)");
        Picture<TXPCheckBox>("disabled", [](TXPCheckBox& c) { c.SetEnabled(false); });
        Picture<TXPCheckBox>("disabled, checked", [](TXPCheckBox& c) { c.SetChecked(true); c.SetEnabled(false); });
        Picture<TXPCheckBox>("disabled, grayed", [](TXPCheckBox& c) { c.SetState(cbGrayed); c.SetEnabled(false); });
        Picture<TXPCheckBox>("long caption, focused", [](TXPCheckBox& c) {
            c.SetCaption("Show the drive pictures"); c.SetFocus(); });

        sheet_->NextRow("TXPRadioButton");
        Picture<TXPRadioButton>("unchecked", [](TXPRadioButton&) {});
        Picture<TXPRadioButton>("checked", [](TXPRadioButton& r) { r.SetChecked(true); });
        Picture<TXPRadioButton>("hot", [this](TXPRadioButton& r) { Hover(r); });
        Picture<TXPRadioButton>("pressed", [this](TXPRadioButton& r) { Hover(r); Down(r); });
        Picture<TXPRadioButton>("disabled", [](TXPRadioButton& r) { r.SetEnabled(false); });
        Picture<TXPRadioButton>("disabled, checked", [](TXPRadioButton& r) { r.SetChecked(true); r.SetEnabled(false); });
        Picture<TXPRadioButton>("right aligned", [](TXPRadioButton& r) { r.SetAlignment(taRight); });

        sheet_->NextRow("TXPGroupBox");
        Picture<TXPGroupBox>("caption left", [](TXPGroupBox& g) { g.SetCaption("Alarm"); }, 150, 60);
        Picture<TXPGroupBox>("caption centred", [](TXPGroupBox& g) {
            g.SetCaption("Colours"); g.SetCaptionAlignment(caCenter); }, 150, 60);
        Picture<TXPGroupBox>("caption right", [](TXPGroupBox& g) {
            g.SetCaption("Window"); g.SetCaptionAlignment(caRight); }, 150, 60);
        Picture<TXPGroupBox>("border 3, corners 20", [](TXPGroupBox& g) {
            g.SetCaption("&Monitor"); g.SetBorderWidth(3); g.SetCornersOffset(20); }, 150, 60);
        Picture<TXPGroupBox>("no caption", [](TXPGroupBox&) {}, 150, 60);

        sheet_->NextRow("Bitmap resources, three times their size");
        for (const char* name : {"CB_UNPRESS", "CB_PRESS", "CB_BORDER", "CB_FLAG", "CB_GRAYED", "CB_DISFLAG",
                                 "CB_DISGRAYED", "RD_UNPRESS", "RD_PRESS", "RD_BORDER", "RD_FLAG", "RD_DISABLED",
                                 "RD_DISFLAG", "SpinUp", "SpinDown"}) {
            TBitmap resource;
            resource.LoadFromResourceName(GetModuleHandleA(nullptr), name);
            auto big = std::make_unique<TBitmap>(resource.Width() * 3, resource.Height() * 3);
            big->Canvas().StretchDraw({0, 0, big->Width(), big->Height()}, resource);
            std::string label = name;
            for (char& ch : label) ch = static_cast<char>(tolower(static_cast<unsigned char>(ch)));
            sheet_->Add(label.substr(label.find('_') + 1), std::move(big));
        }
        sheet_->Invalidate();
    }

private:
    // Makes a control on the form, drives it into a state, and keeps a picture of it.
    template <typename T, typename Setup>
    void Picture(const std::string& name, Setup setup, int width = 0, int height = 0) {
        std::unique_ptr<T> control(new T(nullptr));
        control->SetParent(this);
        control->SetBounds(700, 600, width ? width : control->Width(), height ? height : control->Height());
        if constexpr (!std::is_same_v<T, TXPGroupBox>) control->SetCaption(Named(name));
        else if (control->Caption().empty() && name != "no caption") control->SetCaption(name);
        setup(*control);
        auto picture = std::make_unique<TBitmap>(control->Width(), control->Height());
        SendMessageA(control->Handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture->Canvas().Handle()),
                     PRF_CLIENT);
        if (GetCapture() == control->Handle()) ReleaseCapture();
        ::SetFocus(Handle());
        sheet_->Add(name, std::move(picture));
    }

    static std::string Named(const std::string& state) {
        return state == "&accelerator" ? "&Apply" : state.find("long") == 0 ? state : "Caption";
    }
    static void Move(TWinControl& c, int x, int y) {
        POINT p = c.ClientToScreen({x, y});
        SetCursorPos(p.x, p.y);
        SendMessageA(c.Handle(), WM_MOUSEMOVE, GetCapture() == c.Handle() ? MK_LBUTTON : 0, MAKELPARAM(x, y));
    }
    void Hover(TWinControl& c) { Move(c, c.Width() / 2, c.Height() / 2); }
    static void Down(TWinControl& c) {
        SendMessageA(c.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(c.Width() / 2, c.Height() / 2));
    }
    TBitmap& Glyph() {
        if (glyph_.Empty()) {
            glyph_.SetSize(12, 12);
            TCanvas& c = glyph_.Canvas();
            c.Brush().SetColor(clFuchsia);
            c.FillRect({0, 0, 12, 12});
            c.Brush().SetColor(0x2080F0);
            c.Pen().SetColor(clMaroon);
            c.Ellipse(0, 0, 12, 12);
        }
        return glyph_;
    }

    void BuildLive() {
        auto* group = new TXPGroupBox(this);
        group->SetParent(this);
        group->SetCaption("Live controls: try them (Tab, Space, Enter, Alt+letter)");
        group->SetBounds(8, 510, 870, 180);
        int y = 28;
        auto* status = new TXPCheckBox(this);
        const char* captions[] = {"&Reset to default", "A&pply", "&Cancel"};
        for (int i = 0; i < 3; ++i) {
            auto* b = new TXPButton(this);
            b->SetParent(group);
            b->SetBounds(16 + 110 * i, y, 100, 25);
            b->SetCaption(captions[i]);
            b->SetDefault(i == 1);
            b->OnClick = [status, b](TObject*) { status->SetCaption("clicked: " + b->Caption()); };
        }
        for (int i = 0; i < 3; ++i) {
            auto* c = new TXPCheckBox(this);
            c->SetParent(group);
            c->SetBounds(16, y + 40 + 22 * i, 160, 17);
            c->SetCaption(i == 0 ? "&Show monitor" : i == 1 ? "Tray &icon" : "Three states");
            c->AllowGrayed = i == 2;
        }
        for (int i = 0; i < 3; ++i) {
            auto* r = new TXPRadioButton(this);
            r->SetParent(group);
            r->SetBounds(200, y + 40 + 22 * i, 160, 17);
            r->SetCaption(i == 0 ? "On &top" : i == 1 ? "On the &desktop" : "Normal");
        }
        status->SetParent(group);
        status->SetBounds(400, y + 2, 300, 17);
        status->SetCaption("clicked: (nothing yet)");
    }

    TStateSheet* sheet_ = nullptr;
    TBitmap glyph_;
};

}  // namespace

int main(int argc, char** argv) {
    int seconds = 0;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::atoi(argv[i + 1]);
    Application->Initialize();
    Application->Title = "Styled controls";
    auto* form = Application->CreateForm<TGalleryForm>();
    form->Show();
    form->TakePictures();
    TTimer* closer = nullptr;
    if (seconds > 0) {
        closer = new TTimer(form);
        closer->SetInterval(seconds * 1000);
        closer->OnTimer = [](TObject*) { Application->Terminate(); };
        closer->SetEnabled(true);
    }
    Application->Run();
    Application->Finalize();
    return 0;
}
