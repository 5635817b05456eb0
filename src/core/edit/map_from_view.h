#pragma once
// Map from 3D View: the selected Triangles, projected as the 3D pane sees
// them, laid into the MapRect of the skin so that their bounding box fills it.
#include <optional>

#include "edit/map_rect.h"
#include "edit/mapping_edit.h"
#include "model/mesh.h"
#include "platform/ui.h"

namespace tarn {

class RefreshSink;

// What the projection needs of the 3D pane.
struct ViewCamera {
    Vec3f eye{100.0f, 0.0f, 0.0f};
    Vec3f target{0.0f, 0.0f, 0.0f};
    float fieldOfView = 33.0f;  // degrees
    int width = 0;              // the pane's client size in pixels
    int height = 0;
};

// Re-maps the selected Triangles of the current Frame into `rect`, which is
// normalised and stored back. Every other Triangle keeps its corners; the
// MappingVert table is rebuilt from all corners even when nothing was chosen.
void MapFromView(Mesh& mesh, const ViewCamera& camera, MapRect& rect, const MapFromViewOptions& options);

struct MapFromViewContext {
    Ui& ui;
    RefreshSink& refresh;
    Mesh& mesh;
    ViewCamera camera;
    MapRect& rect;
    const MappingEditor& editor;
};

// The command: the dialog (Cancel stops), the projection as one mapping
// step, then RefreshAll.
void mapFromViewCommand(MapFromViewContext& c);

}  // namespace tarn
