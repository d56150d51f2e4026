// The monitor panel: one row per drive (name, temperature, picture) and the history chart.
#include "MainForm.h"
#include "ServiceLink.h"
#include "Settings.h"

namespace thermowl {

using namespace forms;

void TMainForm::CreateIcons() {
    // The per-drive rows (name, temperature, picture) and the chart's series are made here once
    // the outlined labels and the history chart are part of the program.
}

void TMainForm::ShowInfo() {
    // Shows the last reading in the panel, the chart and the tray hint once those exist.
}

void TMainForm::StartHistory() {}

void TMainForm::SetAxisColor(TColor) {}

}  // namespace thermowl
