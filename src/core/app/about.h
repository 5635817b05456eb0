#pragma once
// The About box's model statistics against the limits of the model format.
#include <string>
#include <vector>

#include "image/skin_list.h"
#include "model/mesh.h"
#include "platform/ui.h"

namespace tarn {

// Percentage of skin pixels that no Triangle's mapping covers, hidden
// Triangles included; 0 for a Mesh without a skin size.
int WastedSpace(const Mesh& mesh);

// The nine rows of the About box.
std::vector<StatisticsRow> aboutRows(const Mesh& mesh, const SkinList& skins);

}  // namespace tarn
