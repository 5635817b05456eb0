#pragma once
// The one door every bulk change of the skin mapping goes through (imports,
// projections from the 3D view): each runs as a named step, so that whoever
// keeps a history can take the state before and after it, and the mapping is
// marked as changed since the model was last saved.
#include <functional>

#include "model/mesh.h"

namespace tarn {

struct MappingEditor {
    // Told around each step; both may be left empty.
    std::function<void(const Mesh& mesh, const char* step)> before;
    std::function<void(const Mesh& mesh, const char* step)> after;
    // Marks the mapping as unsaved work; empty where nothing keeps the mark.
    std::function<void()> markChanged;

    void run(Mesh& mesh, const char* step, const std::function<void()>& change) const {
        if (before) before(mesh, step);
        change();
        if (markChanged) markChanged();
        if (after) after(mesh, step);
    }
};

// Names of the steps, as a history shows them.
inline constexpr const char* kStepImportMapping = "Import mapping";
inline constexpr const char* kStepImportToSelected = "Import mapping to selected";
inline constexpr const char* kStepMapFromView = "Map from view";

}  // namespace tarn
