#pragma once
// The mapping door of the history: the mapping tables of the Mesh taken before
// a change and compared after it (see image/history.h).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "image/history.h"
#include "model/mesh.h"

namespace tarn {

// Everything a mapping change can touch: the MappingVerts in use, each
// Triangle's indices into them, corner coordinates and vertex indices (an
// import replaces those too), and the stored mapping Revert returns to.
struct MappingTables {
    std::vector<MappingVert> verts;
    std::vector<std::array<std::int16_t, 3>> mapping;
    std::vector<std::array<MappingVert, 3>> corners;
    std::vector<std::array<std::int16_t, 3>> vertex;
    std::vector<MappingVert> backup;
    std::vector<std::array<std::int16_t, 3>> backupMapping;

    static MappingTables of(const Mesh& mesh);
    // Writes the tables back; false, changing nothing, when the Mesh no longer
    // has the triangles they were taken from.
    bool applyTo(Mesh& mesh) const;
    std::size_t bytes() const;
    bool operator==(const MappingTables&) const = default;
};

class MappingEdit {
public:
    MappingEdit(History* history, Mesh& mesh);
    // Records the change since construction as one step named `name`; nothing
    // when the tables are as they were. Commit once.
    void commit(const std::string& name);

private:
    History* history_;
    Mesh* mesh_;
    MappingTables before_;
    History::OpenEdit open_;
};

}  // namespace tarn
