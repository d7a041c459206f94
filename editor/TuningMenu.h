// TuningMenu: the "Tuning" choices of the panel menu. The standard tuning
// first, then every tuning in the tuning folders by name (TuningLibrary.h),
// the one playing checked. A choice hands the plug-in the tuning, which it
// plays from its next block and saves with the bank.
//
// [ui thread] only.
#pragma once

#include <string>
#include <vector>

#include "plugin/OrvVst.h"
#include "tuning/TuningLibrary.h"
#include "vstgui/coptionmenu.h"

class TuningMenu {
public:
    static constexpr const char* kTitle = "Tuning";
    static constexpr const char* kStandard = "standard tuning";

    // Fills menu afresh from the folders.
    void fill(VSTGUI::COptionMenu& menu, const OrvVst& plugin,
              const std::vector<std::string>& folders = tuningFolders());

    // Entry (its position in the menu last filled) chosen: answers what the
    // readout shows, the tuning's description (its name when it has none),
    // or the one-line refusal of a file that no longer reads, in which case
    // the tuning playing stays.
    std::string choose(int32_t entry, OrvVst& plugin);

private:
    std::vector<TuningFile> files_;  // entry i + 1
};
