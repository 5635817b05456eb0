#pragma once
// Whether the skin mapping still stands as in the model file: the window
// marks its title and the close offers to save while it does not.
#include <array>
#include <vector>

#include "model/mesh.h"

namespace tarn {

// Where every corner lay on the skin when the model was last loaded or saved.
class SavedMapping {
public:
    explicit SavedMapping(const Mesh& mesh) : mesh_(mesh) {}
    // The mapping now stands as in the model file.
    void mark();
    // Whether any corner now lies elsewhere on the skin than in the file
    // (renumbering is no change); false until a model was loaded or saved.
    bool changed() const;

private:
    const Mesh& mesh_;
    std::vector<std::array<MappingVert, 3>> corners_;
    bool known_ = false;
};

}  // namespace tarn
