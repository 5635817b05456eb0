// New, Re-size All, Reload and Duplicate: commands that make, resize or
// reread whole skins.
#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "edit/skin_edit.h"
#include "image/palette_file.h"
#include "image/skin_io.h"
#include "image/whole_skin.h"
#include "model/mapping_edit.h"
#include "raster/rasterizer.h"

namespace tarn {

namespace {

// The limits "Enforce Limits" keeps skins within.
constexpr int kWidthStep = 4;
constexpr int kLimitWidth = 640;
constexpr int kLimitHeight = 480;
// Duplicate's checkerboard without a skin to copy.
constexpr std::uint8_t kDuplicateCheckerFirst = 64;
constexpr std::uint8_t kDuplicateCheckerSecond = 192;

bool yes(Ui& ui, const char* question) { return ui.ask(question, QuestionKind::YesNo) == Answer::Yes; }

// Every Triangle's edges 0-1, 1-2, 2-0 between its corner coordinates; the
// line clips what lies off the skin.
void drawMeshOutline(Skin& skin, const Mesh& mesh, std::uint8_t color) {
    Rasterizer raster;
    if (!raster.SetTarget(RasterTarget{skin.pixels.data(), nullptr, nullptr, nullptr, skin.width, skin.height}))
        return;
    for (int i = 0; i < mesh.triangleCount; ++i) {
        const auto& corner = mesh.triangles[static_cast<std::size_t>(i)].corner;
        for (std::size_t k = 0; k < 3; ++k) {
            const MappingVert& a = corner[k];
            const MappingVert& b = corner[(k + 1) % 3];
            raster.Line(Segment2D{a.s, a.t, b.s, b.t}, color);
        }
    }
}

// A blank Skin of the Mesh's skin size, external and fileless; nothing when
// the Mesh has no usable skin size.
std::unique_ptr<Skin> makeSkinForMesh(const Mesh& mesh, const char* name) {
    if (!fitsSkinRecord(mesh.skinWidth, mesh.skinHeight)) return nullptr;
    auto skin = makeBlankSkin(mesh.skinWidth, mesh.skinHeight);
    skin->name = name;
    skin->external = true;
    skin->fileType = SkinFileType::Pcx;
    // It exists nowhere but here until it is saved.
    skin->unsavedChange = true;
    return skin;
}

// Adds the Skin at the end of the list as the current one, recorded as added.
void appendAsCurrent(SkinEditContext& c, std::unique_ptr<Skin> skin, const char* step) {
    const auto before = skinsIn(c.skins);
    c.skins.append(std::move(skin));
    c.skins.makeCurrent(c.skins.count() - 1);
    recordSkinsAdded(c.history, c.skins, before, step);
}

// The Mesh's skin size, which the mapping and every skin follow.
class SkinSizeStep final : public HistoryStep {
public:
    SkinSizeStep(Mesh& mesh, std::int16_t width, std::int16_t height)
        : mesh_(mesh), before_{width, height}, after_{mesh.skinWidth, mesh.skinHeight} {}
    void undo() override { set(before_); }
    void redo() override { set(after_); }
    std::size_t bytes() const override { return sizeof(*this); }

private:
    void set(const std::array<std::int16_t, 2>& size) {
        mesh_.skinWidth = size[0];
        mesh_.skinHeight = size[1];
    }
    Mesh& mesh_;
    std::array<std::int16_t, 2> before_;
    std::array<std::int16_t, 2> after_;
};

// The refusal message for a requested size, or null when it is accepted.
const char* resizeRefusal(const ResizeSkinsValues& v, int w, int h) {
    if (v.width == w && v.height == h) return kMsgAlreadyThatSize;
    if (v.width <= 0 || v.height <= 0) return kMsgSizeZero;
    if (v.enforceLimits) {
        if (v.width % kWidthStep != 0) return kMsgWidthMultipleOf4;
        if (v.width > kLimitWidth || v.height > kLimitHeight) return kMsgAbove640x480;
    }
    if (!fitsSkinRecord(v.width, v.height)) return kMsgAboveRecordLimits;
    return nullptr;
}

// floor(to * (v + 0.5) / from): the pixel whose centre scales onto v's centre.
std::int16_t rescaleCoordinate(std::int16_t v, int from, int to) {
    const double scaled = std::floor(to * (v + 0.5) / from);
    return static_cast<std::int16_t>(std::clamp(scaled, double(std::numeric_limits<std::int16_t>::min()),
                                                double(std::numeric_limits<std::int16_t>::max())));
}

}  // namespace

void newSkin(SkinEditContext& c) {
    auto skin = makeSkinForMesh(c.mesh, kNewSkinName);
    if (!skin) return;
    if (const Skin* current = c.skins.current())
        skin->palette = current->palette;
    else
        LoadDefaultPalette(c.settings, skin->palette);
    const ColorSlots& slots = c.paint.colorSlots;
    if (yes(c.ui, kAskCheckerboard))
        fillCheckerboard(*skin, slots[2], slots[3]);
    else
        fillSolid(*skin, slots[kSlotBackground]);
    if (yes(c.ui, kAskGrid)) drawGrid(*skin, slots[kSlotReplaceHigh], slots[kSlotReplaceLow]);
    if (yes(c.ui, kAskOutline)) drawMeshOutline(*skin, c.mesh, c.paint.activeColor());
    skin->store();
    changeSkins(c, kStepNewSkin, SkinTables::RemapAndRamps,
                [&] { appendAsCurrent(c, std::move(skin), kStepNewSkin); });
}

void duplicateSkin(SkinEditContext& c) {
    auto skin = makeSkinForMesh(c.mesh, kDuplicateSkinName);
    if (!skin) return;
    if (const Skin* current = c.skins.current()) {
        skin->palette = current->palette;
        skin->pixels = current->pixels;
        skin->backup = current->backup;
    } else {
        skin->palette = greyRampPalette();
        c.ui.message(kMsgNothingToDuplicate);
        if (yes(c.ui, kAskCheckerboard))
            fillCheckerboard(*skin, kDuplicateCheckerFirst, kDuplicateCheckerSecond);
        else
            fillSolid(*skin, c.paint.colorSlots[kSlotBackground]);
        if (yes(c.ui, kAskOutline)) drawMeshOutline(*skin, c.mesh, c.paint.activeColor());
        skin->store();
    }
    changeSkins(c, kStepDuplicateSkin, SkinTables::RemapAndRamps,
                [&] { appendAsCurrent(c, std::move(skin), kStepDuplicateSkin); });
}

void resizeAllSkins(SkinEditContext& c) {
    Mesh& mesh = c.mesh;
    const int w = mesh.skinWidth;
    const int h = mesh.skinHeight;
    if (!fitsSkinRecord(w, h)) return;
    const auto chosen = c.ui.resizeSkins(ResizeSkinsValues{w, h, true});
    if (!chosen) return;
    if (const char* refusal = resizeRefusal(*chosen, w, h)) {
        c.ui.message(refusal);
        return;
    }
    const int width = chosen->width;
    const int height = chosen->height;
    changeSkins(c, kStepResizeSkins, SkinTables::None, [&] {
        for (int i = 0; i < c.skins.count(); ++i) {
            Skin& skin = *c.skins.at(i);
            SkinEdit edit(c.history, skin);
            // The stored state becomes the resized pixels; the file still has the old size.
            if (resampleSkin(skin, width, height)) skin.unsavedChange = true;
            edit.commit(kStepResizeSkins);
        }
        MappingEdit mapping(c.history, mesh);
        for (int i = 0; i < mesh.mappingVertCount; ++i) {
            MappingVert& v = mesh.mappingVerts[static_cast<std::size_t>(i)];
            v = MappingVert{rescaleCoordinate(v.s, w, width), rescaleCoordinate(v.t, h, height)};
        }
        mesh.skinWidth = static_cast<std::int16_t>(width);
        mesh.skinHeight = static_cast<std::int16_t>(height);
        MergeMappingVerts(mesh);
        mapping.commit(kStepResizeSkins);
        recordSkinSize(c.history, mesh, w, h, kStepResizeSkins);
    });
}

void recordSkinSize(History* history, Mesh& mesh, int width, int height, const char* name) {
    if (history)
        history->record(name, std::make_unique<SkinSizeStep>(mesh, static_cast<std::int16_t>(width),
                                                             static_cast<std::int16_t>(height)));
}

void reloadSkin(SkinEditContext& c) {
    Skin* skin = c.skins.current();
    if (!skin || !skin->hasFile) return;
    auto image = LoadSkinImage(c.ui, skin->filePath);
    if (!image) {
        c.ui.message(kMsgUnableToReload);
        return;
    }
    if (image->width != c.mesh.skinWidth || image->height != c.mesh.skinHeight) {
        c.ui.message(kMsgReloadDimensions);
        return;
    }
    changeSkin(c, *skin, "Reload skin", SkinTables::RemapAndRamps, [&] {
        // The file is what the user asked for: its palette comes with its pixels.
        skin->pixels = std::move(image->pixels);
        skin->palette = image->palette;
        skin->written();
        skin->buildRowTable();
    });
}

}  // namespace tarn
