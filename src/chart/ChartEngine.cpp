// Palette, step sequence, number format and value lists.
#include "ChartEngine.h"
#include <cmath>
#include <cstdio>

namespace chart {

const TColor SeriesPalette[16] = {
    0x0000FF, 0x008000, 0x00FFFF, 0xFF0000, 0xFFFFFF, 0x808080, 0xFF00FF, 0x808000,
    0x800000, 0x000080, 0x00FF00, 0x008080, 0x800080, 0xC0C0C0, 0xFFFF00, 0x000000,
};

TColor PaletteColor(int index) { return SeriesPalette[((index % 16) + 16) % 16]; }

double NextNiceStep(double x) {
    // Zero, negative and non-finite steps have no successor; callers stop on them.
    if (!(x > 0) || !std::isfinite(x)) return x;
    double scale = 1;
    while (x >= 10) { x /= 10; scale *= 10; }
    while (x < 1) { x *= 10; scale /= 10; }
    double next = x < 2 ? 2 : x < 5 ? 5 : 10;
    return next * scale;
}

// --- number format ----------------------------------------------------------------------

std::string FormatFloat(const std::string& format, double value, char thousands, char decimal) {
    // Split the pattern: prefix, digit section, suffix.
    size_t first = format.find_first_of("#0,.");
    if (first == std::string::npos) return format;
    size_t last = format.find_last_of("#0,.");
    std::string prefix = format.substr(0, first), suffix = format.substr(last + 1);
    std::string digits = format.substr(first, last - first + 1);
    size_t dot = digits.find('.');
    std::string intPart = digits.substr(0, dot), fracPart = dot == std::string::npos ? "" : digits.substr(dot + 1);
    bool group = intPart.find(',') != std::string::npos;
    int minInt = 0, minDec = 0, maxDec = 0;
    for (char c : intPart) if (c == '0') ++minInt;
    for (char c : fracPart) {
        if (c == '0') { ++minDec; ++maxDec; }
        else if (c == '#') ++maxDec;
    }
    if (suffix.find('%') != std::string::npos) value *= 100;
    if (!std::isfinite(value)) return prefix + (std::isnan(value) ? "NAN" : value > 0 ? "INF" : "-INF") + suffix;

    char buf[512];
    std::snprintf(buf, sizeof buf, "%.*f", maxDec, std::fabs(value));
    std::string text = buf;
    size_t p = text.find('.');
    std::string whole = text.substr(0, p), frac = p == std::string::npos ? "" : text.substr(p + 1);
    while (static_cast<int>(frac.size()) > minDec && !frac.empty() && frac.back() == '0') frac.pop_back();
    if (whole == "0") whole.clear();
    while (static_cast<int>(whole.size()) < minInt) whole.insert(whole.begin(), '0');
    bool zero = whole.find_first_not_of('0') == std::string::npos && frac.find_first_not_of('0') == std::string::npos;
    if (group && thousands) {
        std::string grouped;
        int n = static_cast<int>(whole.size());
        for (int i = 0; i < n; ++i) {
            if (i > 0 && (n - i) % 3 == 0) grouped += thousands;
            grouped += whole[i];
        }
        whole = grouped;
    }
    std::string out = (value < 0 && !zero) ? "-" : "";
    out += whole;
    if (!frac.empty()) { out += decimal; out += frac; }
    return prefix + out + suffix;
}

std::string FormatFloat(const std::string& format, double value) {
    char sep[8] = ",", dec[8] = ".";
    if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, sep, sizeof sep)) sep[0] = ',';
    if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, dec, sizeof dec) || !dec[0]) dec[0] = '.';
    return FormatFloat(format, value, sep[0], dec[0]);
}

// --- value list -------------------------------------------------------------------------

TChartValueList::TChartValueList(TChartSeries* owner, std::string name, TChartListOrder order)
    : Name(std::move(name)), owner_(owner), order_(order) {}

void TChartValueList::SetMultiplier(double v) {
    if (v == multiplier_) return;
    multiplier_ = v;
    statsDirty_ = true;
    if (owner_) owner_->Repaint();
}

void TChartValueList::SetValue(int i, double v) {
    values_[i] = v;
    statsDirty_ = true;
}

int TChartValueList::AddOrdered(double x) {
    statsDirty_ = true;
    int n = Count();
    bool append = order_ == loNone || n == 0 || (order_ == loAscending ? !(x < values_[n - 1]) : !(x > values_[n - 1]));
    if (append) {
        values_.push_back(x);
        return n;
    }
    // Search back for the last value that may precede x; equal values stay in insertion order.
    int i = n - 1;
    while (i >= 0 && (order_ == loAscending ? values_[i] > x : values_[i] < x)) --i;
    values_.insert(values_.begin() + (i + 1), x);
    return i + 1;
}

void TChartValueList::InsertAt(int i, double v) {
    values_.insert(values_.begin() + i, v);
    statsDirty_ = true;
}

void TChartValueList::Delete(int i) {
    values_.erase(values_.begin() + i);
    statsDirty_ = true;
}

void TChartValueList::Clear() {
    values_.clear();
    values_.shrink_to_fit();
    statsDirty_ = true;
}

void TChartValueList::Refresh() {
    if (!statsDirty_) return;
    if (values_.empty()) {
        min_ = max_ = total_ = totalAbs_ = 0;
    } else {
        min_ = max_ = total_ = ValueAt(0);
        totalAbs_ = std::fabs(total_);
        for (int i = 1; i < Count(); ++i) {
            double v = ValueAt(i);
            if (v < min_) min_ = v;
            else if (v > max_) max_ = v;
            total_ += v;
            totalAbs_ += std::fabs(v);
        }
    }
    statsDirty_ = false;
}

}  // namespace chart
