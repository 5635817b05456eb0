#pragma once
// The one door every bulk change of the skin mapping goes through (imports,
// projections from the 3D view): each runs as a named step of the undo
// history, which keeps the mapping tables from before and after it.
#include <functional>

#include "model/mapping_edit.h"
#include "platform/ui.h"

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

// Commands that work on the selected Triangles say so when there are none,
// rather than doing nothing without a word.
inline constexpr const char* kMsgNoTrianglesSelected =
    "No Triangles are selected.\nSelect the Triangles to work on in Mapping Mode first.";
inline bool requireSelection(Ui& ui, const Mesh& mesh) {
    for (int i = 0; i < mesh.triangleCount; ++i)
        if (mesh.triangles[std::size_t(i)].flags & kTriSelected) return true;
    ui.message(kMsgNoTrianglesSelected);
    return false;
}

// Names of the steps, as a history shows them.
inline constexpr const char* kStepImportMapping = "Import mapping";
inline constexpr const char* kStepImportToSelected = "Import mapping to selected";
inline constexpr const char* kStepMapFromView = "Map from view";

}  // namespace tarn
