#pragma once
// Mirrored mapping: the Triangles of one side of a symmetric model take the
// mapping of the selected Triangles on the other side, flipped across the
// skin's mirror line or sharing the same texels.
#include <optional>
#include <string>
#include <vector>

#include "model/mesh.h"
#include "model/symmetry.h"

namespace tarn {

class Ui;
struct MappingEditor;

// The line about which the mapping is most symmetric: each Triangle corner's
// skin position against that of its mirror, the vertical and horizontal
// candidates through the median midpoints, the one whose pairs agree best.
// The skin's vertical centre line when no corner has a mirror elsewhere.
SkinMirrorLine skinMirrorLine(const Mesh& mesh, const Mirror& mirror);

struct MirrorMappingResult {
    int mapped = 0;                 // Triangles that took a mirrored mapping
    std::vector<int> partlyOutside; // some corners' mirrors land outside the selection
    int offSkin = 0;                // mapped Triangles with a corner off the skin
};

// Every unselected Triangle whose corners' mirrors land on selected
// Triangles takes, at each corner, the mapping there, flipped across `line`
// unless `share`. The three corners are looked up in one chart of the
// selection: a selected Triangle holding all three mirrors when there is one,
// else the chart holding the most, the others taken from its nearest point;
// a mirror on a vertex takes that vertex's MappingVert exactly. Coordinates
// are kept where they fall, on the skin or off it. Triangles whose corners do
// not all find a place in one chart are listed and left alone. The
// MappingVert table is rebuilt.
MirrorMappingResult mirrorMapping(Mesh& mesh, const Mirror& mirror, const SkinMirrorLine& line, bool share);

// The message that names the Triangles left alone; empty when there are none.
std::string partlyOutsideMessage(const std::vector<int>& triangles);
// The message that counts the mapped Triangles with corners off the skin;
// empty when there are none.
std::string offSkinMessage(int triangles);

inline constexpr const char* kStepMirrorMapping = "Mirror mapping";
inline constexpr const char* kMsgNoMirrorLanded =
    "No Triangle's mirror lands on the selected Triangles.\nSelect one side of the model and try again.";

// The command: needs a selection, runs as one step of `editor`, and reports
// through `ui` the Triangles left alone and those off the skin (or that
// nothing landed). The skin's line is `line` when given, else the mapping's
// own. Returns the result so the caller can refresh.
MirrorMappingResult mirrorMappingCommand(Ui& ui, const MappingEditor& editor, Mesh& mesh, const Mirror& mirror,
                                         bool share, const std::optional<SkinMirrorLine>& line = {});

}  // namespace tarn
