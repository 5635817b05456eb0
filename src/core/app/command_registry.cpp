#include "app/command_registry.h"

#include <new>

#include "app/command_ids.h"
#include "app/recent_files.h"

namespace tarn {

namespace {

bool checkedBy(UpdateRule rule, const UpdateFlags& f) {
    switch (rule) {
    case UpdateRule::CameraOverride: return f.cameraOverride;
    case UpdateRule::PaintMode: return f.interactionMode == 0;
    case UpdateRule::MappingMode: return f.interactionMode == 1;
    case UpdateRule::PointBrush: return f.brush == 0;
    case UpdateRule::PencilBrush: return f.brush == 1;
    case UpdateRule::LineBrush: return f.brush == 2;
    case UpdateRule::FillBrush: return f.brush == 3;
    case UpdateRule::RectangleBrush: return f.brush == 4;
    case UpdateRule::EllipseBrush: return f.brush == 5;
    case UpdateRule::FilledShapes: return f.filledShapes;
    case UpdateRule::InkPaint: return f.ink == 0;
    case UpdateRule::InkShade: return f.ink == 1;
    case UpdateRule::InkDither2: return f.ink == 2 && f.ditherSize == 2;
    case UpdateRule::InkDither4: return f.ink == 2 && f.ditherSize == 4;
    case UpdateRule::SkinFollowsMapping: return f.skinFollowsMapping;
    case UpdateRule::MappingOverlay: return f.mappingOverlay;
    case UpdateRule::RectangleMode: return f.rectangleMode;
    case UpdateRule::PixelGrid: return f.pixelGrid;
    case UpdateRule::BrushRound: return f.brushShape == 0;
    case UpdateRule::BrushSquare: return f.brushShape == 1;
    case UpdateRule::BlendRgb: return f.blendMode == 0;
    case UpdateRule::BlendKeepBrightness: return f.blendMode == 1;
    case UpdateRule::Playing: return f.playing;
    case UpdateRule::LoopAnimation: return f.loopAnimation;
    case UpdateRule::Interpolate: return f.interpolate;
    case UpdateRule::Mirror: return f.mirror;
    case UpdateRule::MirrorShareTexels: return f.mirrorShareTexels;
    default: return false;
    }
}

}  // namespace

CommandState commandState(const CommandEntry& entry, bool hasHandler, const UpdateFlags& flags) {
    CommandState s;
    s.text = entry.text;
    s.enabled = hasHandler;
    s.checkable = isCheckRule(entry.rule);
    s.checked = s.checkable && checkedBy(entry.rule, flags);
    if (entry.rule == UpdateRule::NeedsCompanion || entry.rule == UpdateRule::CompanionHideShow)
        s.enabled = s.enabled && flags.hasCompanion;
    if (entry.rule == UpdateRule::CompanionHideShow && flags.hasCompanion && flags.companionHidden)
        s.text = kCompanionShowText;
    if (entry.rule == UpdateRule::InMappingMode) s.enabled = s.enabled && (flags.interactionMode == 1 || flags.floating);
    if (entry.rule == UpdateRule::Floating) s.enabled = s.enabled && flags.floating;
    if (entry.rule == UpdateRule::SelectTool) s.checked = selectToolOf(entry.id) == flags.selectTool;
    if (entry.rule == UpdateRule::FrameRate) s.checked = frameRateOf(entry.id) == flags.frameRate;
    if (entry.rule == UpdateRule::SymmetryAxis) s.checked = symmetryAxisOf(entry.id) == flags.symmetryAxis;
    if (entry.rule == UpdateRule::RecentFile) {
        // Like the framework's list: "Recent File" greyed while it is empty,
        // else one item per entry.
        const int index = entry.id - cmd::kRecentFile1;
        if (index < static_cast<int>(flags.recentFiles.size())) {
            s.text = recentFileMenuText(index, flags.recentFiles[std::size_t(index)]);
        } else {
            s.enabled = false;
            s.visible = index == 0;
        }
    }
    if (entry.rule == UpdateRule::Undo || entry.rule == UpdateRule::Redo) {
        const std::string& step = entry.rule == UpdateRule::Undo ? flags.undoName : flags.redoName;
        const std::string text = entry.text;
        const std::size_t tab = text.find('\t');
        // "&Undo\tKey" becomes "&Undo Pencil stroke\tKey".
        if (!step.empty()) s.text = text.substr(0, tab) + " " + step + text.substr(tab);
        s.enabled = s.enabled && !step.empty();
    }
    return s;
}

bool CommandRegistry::run(int id) const {
    auto it = handlers_.find(id);
    if (it == handlers_.end()) return false;
    try {
        if (before_) before_(id);
        it->second();
        auto said = reports_.find(id);
        if (said != reports_.end() && reported_) reported_(said->second());
    } catch (const std::bad_alloc&) {
        if (outOfMemory_) outOfMemory_();
    }
    return true;
}

}  // namespace tarn
