#pragma once
// A mapping made in another tool brought back: each Triangle of the model is
// found among the file's triangles by where its corners lie in one Frame
// (whatever the order of faces and corners), and takes the file's texture
// coordinates as texels of the current skin size. Optionally every skin is
// re-baked onto the new mapping with Retro-Map's sampler, so painted texels
// follow the new layout.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "edit/foreign_model.h"
#include "image/history.h"
#include "image/skin_list.h"
#include "model/mesh.h"
#include "platform/dialogs.h"
#include "platform/progress.h"

namespace tarn {

class RefreshSink;

inline constexpr const char* kStepImportFromModel = "Import mapping from model";
inline constexpr const char* kImportFromModelTitle = "Import Mapping from Model";
inline constexpr const char* kMsgForeignOtherGeometry =
    "This file's triangles do not lie on the model's triangles: it holds other geometry.";
inline constexpr const char* kMsgForeignUvOutside =
    "This file's texture coordinates lie far outside the skin (0..1); TARN maps onto one skin, without tiling.";
inline constexpr const char* kAskRebakeSkins =
    "Re-bake every skin onto the imported mapping, so the painted texels follow it?";

// How far outside 0..1 a texture coordinate may lie (the format's corners on
// the skin's far edge, other tools' rounding); beyond is refused.
inline constexpr double kUvSlack = 0.01;

struct ModelMapping {
    std::vector<std::array<MappingVert, 3>> corners;  // per Triangle, where matched
    std::vector<std::uint8_t> matched;                // per Triangle
    int matchedCount = 0;
    std::vector<int> unmatched;  // Triangles that keep their mapping
    std::string refusal;         // the message; empty when the mapping can be applied
    bool ok() const { return refusal.empty(); }
};

// Matches `model`'s triangles to the Mesh's in Frame `frame` within a small
// fraction of the model's size, trying the model's axes as they are, as y-up
// (how glTF and OBJ writers turn them) and every other quarter turn and
// mirror, and keeps the orientation that lands most corners.
ModelMapping MatchModelMapping(const Mesh& mesh, int frame, const ForeignModel& model);
// Reads `path` through assimp and matches it; either refusal names the file.
ModelMapping ReadModelMapping(const Mesh& mesh, int frame, const std::string& path);

// The message naming the Triangles that kept their mapping; empty when none.
std::string unmatchedTrianglesMessage(const std::vector<int>& triangles);

struct SkinRebake {
    std::uint8_t background = 0;  // what no Triangle covers
    int padding = 0;              // as Retro-Map's
};

// Each skin re-baked from `mesh`'s mapping onto `mapping`'s: one entry per
// skin, empty for a skin not of the skin size. `mesh` is a copy it writes the
// new mapping into (its Frames are not read, see CopyWithoutFrames). Reads
// only its arguments, so it may run away from the window; nothing once
// `progress` is stopped.
std::vector<std::vector<std::uint8_t>> RebakeForModelMapping(Mesh mesh, const std::vector<const Skin*>& skins,
                                                             const ModelMapping& mapping, const SkinRebake& rebake,
                                                             Progress* progress = nullptr);
// Writes the matched corners and rebuilds the MappingVerts (the mapping
// backup is taken first, so Revert goes back to before the import), and puts
// in the re-baked skins, if any. One step of `history`.
void ApplyModelMapping(Mesh& mesh, SkinList& skins, const ModelMapping& mapping,
                       std::vector<std::vector<std::uint8_t>> rebaked, History* history);
// The same, re-baking every skin of the skin size first with `rebake`.
void ApplyModelMapping(Mesh& mesh, SkinList& skins, const ModelMapping& mapping,
                       const std::optional<SkinRebake>& rebake, History* history);

struct ModelMappingContext {
    Ui& ui;
    SettingsStore& settings;
    Folders& folders;
    RefreshSink& refresh;
    Mesh& mesh;
    SkinList& skins;
    std::uint8_t background;
    History* history = nullptr;
};

// Mapping > "Import Mapping from Model...": the file dialog, the match in the
// current Frame, the question whether to re-bake the skins (Cancel changes
// nothing), the change as one step, the Triangles left alone named.
void importMappingFromModelCommand(ModelMappingContext& c);

}  // namespace tarn
