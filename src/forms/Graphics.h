// Font, pen and brush descriptions that make their GDI handle on demand and tell their users
// before and after every change (a canvas must deselect a handle before it is deleted).
#pragma once
#include "Colors.h"
#include "Gdi.h"
#include <functional>
#include <string>

namespace forms {

class TObject {
public:
    virtual ~TObject() = default;
};
using TNotifyEvent = std::function<void(TObject* sender)>;

class TGraphicsObject : public TObject {
public:
    TNotifyEvent OnChanging;  // before the handle goes away
    TNotifyEvent OnChange;    // after a property changed
protected:
    void Changing() { if (OnChanging) OnChanging(this); }
    void Changed() { if (OnChange) OnChange(this); }
};

enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };
using TFontStyles = unsigned;
enum TFontPitch { fpDefault, fpVariable, fpFixed };
// fqNonAntialiased: every pixel of the text is the font's colour or untouched, as a colour key
// needs; smoothed edges would mix the text into the key.
enum TFontQuality { fqDefault, fqNonAntialiased, fqAntialiased };

class TFont : public TGraphicsObject {
public:
    TFont();
    TFont(const TFont&) = delete;
    TFont& operator=(const TFont&) = delete;

    void Assign(const TFont& other);  // copies the description, not the handle or the events
    bool SameAs(const TFont& other) const;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& v);
    int Height() const { return height_; }  // negative: character height in pixels
    void SetHeight(int v);
    int Size() const;                        // points, from the height at the screen's density
    void SetSize(int points);
    TFontStyles Style() const { return style_; }
    void SetStyle(TFontStyles v);
    TColor Color() const { return color_; }
    void SetColor(TColor v);
    BYTE Charset() const { return charset_; }
    void SetCharset(BYTE v);
    TFontPitch Pitch() const { return pitch_; }
    void SetPitch(TFontPitch v);
    int Orientation() const { return orientation_; }  // tenths of a degree
    void SetOrientation(int v);
    TFontQuality Quality() const { return quality_; }
    void SetQuality(TFontQuality v);

    LOGFONTA LogFont() const;
    HFONT Handle();

private:
    template <typename T> void Set(T& field, const T& v);
    std::string name_ = "MS Sans Serif";
    int height_ = -11;
    TFontStyles style_ = 0;
    TColor color_ = clWindowText;
    BYTE charset_ = DEFAULT_CHARSET;
    TFontPitch pitch_ = fpDefault;
    int orientation_ = 0;
    TFontQuality quality_ = fqDefault;
    Font handle_;
};

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode { pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
                pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor };

// The ROP2 code (R2_...) a pen mode draws with.
int Rop2(TPenMode mode);

class TPen : public TGraphicsObject {
public:
    TPen() = default;
    TPen(const TPen&) = delete;
    TPen& operator=(const TPen&) = delete;
    void Assign(const TPen& other);

    TColor Color() const { return color_; }
    void SetColor(TColor v);
    int Width() const { return width_; }
    void SetWidth(int v);
    TPenStyle Style() const { return style_; }
    void SetStyle(TPenStyle v);
    TPenMode Mode() const { return mode_; }
    void SetMode(TPenMode v);
    int Rop2() const;  // the ROP2 code of Mode

    HPEN Handle();

private:
    TColor color_ = clBlack;
    int width_ = 1;
    TPenStyle style_ = psSolid;
    TPenMode mode_ = pmCopy;
    Pen handle_;
};

enum TBrushStyle { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };

class TBrush : public TGraphicsObject {
public:
    TBrush() = default;
    TBrush(const TBrush&) = delete;
    TBrush& operator=(const TBrush&) = delete;
    void Assign(const TBrush& other);

    TColor Color() const { return color_; }
    void SetColor(TColor v);
    TBrushStyle Style() const { return style_; }
    void SetStyle(TBrushStyle v);
    HBITMAP Pattern() const { return pattern_; }   // not owned; null: none
    void SetPattern(HBITMAP v);

    HBRUSH Handle();

private:
    TColor color_ = clWhite;
    TBrushStyle style_ = bsSolid;
    HBITMAP pattern_ = nullptr;
    Brush handle_;
};

}  // namespace forms
