#pragma once
// The Mapping menu's rules over the Triangle flags: which Triangles are
// selected or hidden, and the return to the stored mapping. Connectivity runs
// through shared MappingVerts (the same index at a corner), never through
// shared 3D vertices, so two skin islands stay apart even where the model
// joins them. Hidden Triangles take no part in Connected, Grow and Shrink.
#include "model/mesh.h"

namespace tarn {

void SelectAll(Mesh& mesh);
void SelectNone(Mesh& mesh);
void InvertSelection(Mesh& mesh);
// The whole region of visible Triangles reachable from the selection.
void SelectConnected(Mesh& mesh);
// One ring outward: every visible Triangle sharing a MappingVert with the
// selection, and any visible Triangle whose corners all lie on those.
void GrowSelection(Mesh& mesh);
// One ring inward: a selected Triangle stays only when no visible unselected
// Triangle shares one of its MappingVerts.
void ShrinkSelection(Mesh& mesh);
// Selected Triangles become hidden and unselected.
void HideSelected(Mesh& mesh);
// Hidden Triangles become visible and selected.
void UnhideAll(Mesh& mesh);
// The mapping as the last StoreMapping left it, merged again.
void RevertMapping(Mesh& mesh);

// Step names of the Mapping menu's Store and Revert.
inline constexpr const char* kStepStoreMapping = "Store mapping";
inline constexpr const char* kStepRevertMapping = "Revert mapping";

// MappingVert marks (Mesh::mappingSelection), scratch of one operation.
inline constexpr std::uint8_t kMarkSelected = 1;  // used by a selected Triangle
inline constexpr std::uint8_t kMarkRing = 2;      // next to the selection, or on its border

// Clears every mark, then marks the MappingVerts of each selected Triangle,
// hidden ones included unless `visibleOnly`. Returns how many MappingVerts
// carry the mark.
int markSelectedMappingVerts(Mesh& mesh, bool visibleOnly);

// The end of every mapping drag: the merge takes in what moved (welding
// MappingVerts that now coincide) and no drag mark survives.
void finishMappingDrag(Mesh& mesh);

}  // namespace tarn
