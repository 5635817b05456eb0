#pragma once
// The skin mapping as a whole, for those who look at it around a step: a
// history keeps the state before and after each one, and the window asks
// whether the mapping still stands as in the model file.
#include <array>
#include <cstdint>
#include <vector>

#include "model/mesh.h"

namespace tarn {

// What a mapping step can change: the MappingVerts in use, each Triangle's
// MappingVert indices, and its selected and hidden flags (the drag mark is
// scratch and never part of a state).
struct MappingState {
    std::vector<MappingVert> verts;
    std::vector<std::array<std::int16_t, 3>> mapping;
    std::vector<std::uint32_t> flags;
    friend bool operator==(const MappingState&, const MappingState&) = default;
};

MappingState captureMapping(const Mesh& mesh);
// Puts `state` back: the table, the indices and the flags, and each corner's
// coordinates from its MappingVert. A state that does not fit the Mesh (taken
// before a load of another model) is refused and changes nothing; returns
// whether it applied.
bool restoreMapping(Mesh& mesh, const MappingState& state);

// Where every corner lay on the skin when the model was last loaded or saved.
class SavedMapping {
public:
    explicit SavedMapping(const Mesh& mesh) : mesh_(mesh) {}
    // The mapping now stands as in the model file.
    void mark();
    // Whether any corner now lies elsewhere on the skin than in the file;
    // false until a model was loaded or saved.
    bool changed() const;

private:
    const Mesh& mesh_;
    std::vector<std::array<MappingVert, 3>> corners_;
    bool known_ = false;
};

}  // namespace tarn
