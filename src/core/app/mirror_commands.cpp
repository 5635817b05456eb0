// Mirror mode, Mirror Mapping From Selection and the choice of the symmetry
// frame and axis they use.
#include "app/application.h"
#include "app/command_ids.h"
#include "edit/mirror_mapping.h"
#include "platform/refresh.h"

namespace tarn {

namespace {
constexpr const char* kStepFindSymmetry = "Finding the symmetry";
}  // namespace

void Application::chooseSymmetry() {
    // The search has a fixed budget, but on a model of hundreds of frames it
    // still outlasts a frame of the window: it runs beside the window, on a
    // copy, so nothing the window does meanwhile can touch what it reads.
    SymmetryMeasure best;
    const Mesh model = mesh;
    if (!ui_->runWithProgress(kStepFindSymmetry, [&](Progress&) { best = bestSymmetry(model); })) return;
    symmetry.frame = best.frame;
    symmetry.axis = best.frame >= 0 ? best.plane.axis : 0;
    symmetry.ranked = best.ranked;
    symmetry.skinLine.reset();
}

void Application::newModelSymmetry() {
    symmetry = SymmetrySetting{};
    if (paneModes.mirror) chooseSymmetry();
}

void Application::keepSymmetry() {
    if (symmetry.frame < 0 || symmetry.frame >= static_cast<int>(mesh.frames.size())) chooseSymmetry();
}

void Application::bindMirrorCommands() {
    commands_.bind(cmd::kMirror, [this] {
        paneModes.mirror = !paneModes.mirror;
        if (paneModes.mirror) keepSymmetry();
        refresh_.refresh(kRedrawFull, kPaneSkinView);  // the skin's mirror line shows in Mirror mode only
    });
    commands_.bind(cmd::kMirrorShareTexels, [this] { mirrorShareTexels = !mirrorShareTexels; });
    for (int id : {cmd::kSymmetryAxisX, cmd::kSymmetryAxisY, cmd::kSymmetryAxisZ})
        commands_.bind(id, [this, id] {
            keepSymmetry();
            symmetry.axis = symmetryAxisOf(id);
        });
    commands_.bind(cmd::kSymmetryCurrentFrame, [this] {
        keepSymmetry();
        if (mesh.hasCurrentFrame()) symmetry.frame = mesh.currentFrame;
    });
    commands_.bind(cmd::kSymmetryBest, [this] { chooseSymmetry(); });
    commands_.bind(cmd::kMirrorMapping, [this] {
        keepSymmetry();
        const Mirror mirror = mirrorOf(mesh, symmetry);
        const MirrorMappingResult r =
            mirrorMappingCommand(*ui_, mappingEditor, mesh, mirror, mirrorShareTexels, symmetry.skinLine);
        if (r.mapped > 0) refresh_.refreshAll();
    });
}

}  // namespace tarn
