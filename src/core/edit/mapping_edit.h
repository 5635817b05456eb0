#pragma once
// The one door every bulk change of the skin mapping goes through (imports,
// projections from the 3D view): each runs as a named step of the undo
// history, which keeps the mapping tables from before and after it.
#include <functional>

#include "model/mapping_edit.h"

namespace tarn {

struct MappingEditor {
    // Where the steps are recorded; null records nothing (tarn-cli).
    History* history = nullptr;

    void run(Mesh& mesh, const char* step, const std::function<void()>& change) const {
        MappingEdit edit(history, mesh);
        change();
        edit.commit(step);
    }
};

// Names of the steps, as a history shows them.
inline constexpr const char* kStepImportMapping = "Import mapping";
inline constexpr const char* kStepImportToSelected = "Import mapping to selected";
inline constexpr const char* kStepMapFromView = "Map from view";

}  // namespace tarn
