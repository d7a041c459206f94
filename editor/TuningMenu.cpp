#include "editor/TuningMenu.h"

using VSTGUI::COptionMenu;

void TuningMenu::fill(COptionMenu& menu, const OrvVst& plugin, const std::vector<std::string>& folders) {
    files_ = findTunings(folders);
    const Tuning playing = plugin.tuning();
    menu.removeAllEntry();
    menu.addEntry(kStandard);
    menu.checkEntry(0, playing.isStandard());
    for (const TuningFile& file : files_) {
        menu.addEntry(file.name.c_str());
        // The texts, not the names, say which one plays: a project may have
        // brought it.
        std::string scale, map, error;
        const bool same = !playing.isStandard() && readTuningFile(file.scale, scale, error) &&
                          scale == playing.scale &&
                          (file.map.empty() ? playing.keyboardMap.empty()
                                            : readTuningFile(file.map, map, error) && map == playing.keyboardMap);
        menu.checkEntry(menu.getNbEntries() - 1, same);
    }
}

std::string TuningMenu::choose(int32_t entry, OrvVst& plugin) {
    if (entry == 0) {
        plugin.setTuning(Tuning());
        return kStandard;
    }
    if (entry < 1 || entry > static_cast<int32_t>(files_.size())) return "";
    const TuningFile& file = files_[static_cast<std::size_t>(entry - 1)];
    Tuning tuning;
    std::string error;
    if (!loadTuning(file, tuning, error)) return error;
    plugin.setTuning(tuning);
    return tuning.description.empty() ? file.name : tuning.description;
}
