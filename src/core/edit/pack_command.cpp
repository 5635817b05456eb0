// Mapping > Pack Islands...: the dialog, then the plan applied to every skin,
// the mapping and the skin size as one step of the history.
#include <memory>

#include "edit/pack_islands.h"
#include "edit/skin_edit.h"
#include "model/mapping_edit.h"

namespace tarn {

namespace {

PackOptions optionsOf(const PackIslandsValues& v) {
    PackOptions o;
    o.margin = v.margin;
    o.rotate = v.rotate;
    o.scale = v.fitScale ? PackScale::Fit : PackScale::Keep;
    o.size = v.size == PackSizeChoice::Shrink  ? PackSize::Shrink
             : v.size == PackSizeChoice::Given ? PackSize::Given
                                               : PackSize::Current;
    o.width = v.width;
    o.height = v.height;
    o.selectedOnly = v.selectedOnly;
    return o;
}

PackIslandsShown::Preview previewOf(const Mesh& mesh, const PackIslandsValues& values, Progress& progress) {
    const PackPlan plan = PlanPack(mesh, optionsOf(values), &progress);
    if (progress.stopped()) return {kMsgPackStopped, false};
    if (!plan.ok()) return {plan.refusal, false};
    return {std::to_string(WastedSpaceAfter(mesh, plan)) + "% on " + std::to_string(plan.width) + "x" +
                std::to_string(plan.height),
            true};
}

}  // namespace

void packIslandsCommand(SkinEditContext& c) {
    Mesh& mesh = c.mesh;
    const int width = mesh.skinWidth, height = mesh.skinHeight;
    PackIslandsShown shown;
    shown.values.margin = kDefaultPackMargin;
    shown.values.width = width;
    shown.values.height = height;
    shown.wastedBefore = UncoveredPercent(mesh, mesh.mappingVerts, width, height);
    // The dialog's previews and the packing itself read this copy, away from the window.
    const auto copy = std::make_shared<const Mesh>(CopyWithoutFrames(mesh));
    const Mesh& model = *copy;
    shown.preview = [copy](const PackIslandsValues& v, Progress& progress) { return previewOf(*copy, v, progress); };
    // The dialog opens on a choice that works: islands that do not fit the
    // skin at their scale are scaled to fit it.
    bool fits = true;
    if (!c.ui.runWithProgress(kStepPackIslands, [&](Progress& progress) {
            fits = shown.preview(shown.values, progress).ok;
        }))
        return;
    if (!fits) shown.values.fitScale = true;
    const std::optional<PackIslandsValues> chosen = c.ui.packIslands(shown);
    if (!chosen) return;
    // Planned and re-baked from the copy and copies of the skins; Cancel
    // drops the result and nothing changes.
    const std::uint8_t background = c.paint.colorSlots[kSlotBackground];
    std::vector<Skin> sources;
    for (int i = 0; i < c.skins.count(); ++i) sources.push_back(*c.skins.at(i));
    PackPlan plan;
    std::vector<std::vector<std::uint8_t>> packed;
    const bool finished = c.ui.runWithProgress(kStepPackIslands, [&](Progress& progress) {
        plan = PlanPack(model, optionsOf(*chosen), &progress);
        const auto n = static_cast<long long>(sources.size());
        for (std::size_t i = 0; plan.ok() && progress.step(static_cast<long long>(i), n) && i < sources.size(); ++i)
            packed.push_back(PackedPixels(model, plan, sources[i], background));
    });
    if (!finished) return;
    if (!plan.ok()) {
        c.ui.message(plan.refusal);
        return;
    }
    if (packed.size() != sources.size()) return;
    changeSkins(c, kStepPackIslands, SkinTables::Remap, [&] {
        // Every skin is re-baked from the mapping as it stood, before the mapping moves.
        for (int i = 0; i < c.skins.count(); ++i) {
            Skin& skin = *c.skins.at(i);
            SkinEdit edit(c.history, skin);
            skin.pixels = std::move(packed[std::size_t(i)]);
            skin.width = plan.width;
            skin.height = plan.height;
            skin.buildRowTable();
            // As after Re-size All: the file still holds the old layout.
            skin.store();
            skin.unsavedChange = true;
            edit.commit(kStepPackIslands);
        }
        MappingEdit mapping(c.history, mesh);
        ApplyPackToMesh(mesh, plan);
        mapping.commit(kStepPackIslands);
        recordSkinSize(c.history, mesh, width, height, kStepPackIslands);
    });
}

}  // namespace tarn
