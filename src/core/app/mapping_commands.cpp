// The Mapping menu's selection and backup commands: each is one step through
// the mapping's door, ending with a full refresh.
#include "app/application.h"
#include "app/command_ids.h"
#include "edit/mapping_selection.h"
#include "platform/refresh.h"

namespace tarn {

void Application::bindMappingCommands() {
    struct Rule {
        int id;
        const char* step;
        void (*run)(Mesh&);
    };
    static constexpr Rule kRules[] = {
        {cmd::kSelectAll, "Select All", SelectAll},
        {cmd::kSelectNone, "Select None", SelectNone},
        {cmd::kInvertSelection, "Invert Selection", InvertSelection},
        {cmd::kSelectConnected, "Select Connected", SelectConnected},
        {cmd::kGrowSelection, "Grow Selection", GrowSelection},
        {cmd::kShrinkSelection, "Shrink Selection", ShrinkSelection},
        {cmd::kHideSelected, "Hide Selected", HideSelected},
        {cmd::kUnhideAll, "Unhide All", UnhideAll},
        {cmd::kMappingRevert, "Revert Mapping", RevertMapping},
    };
    for (const Rule& rule : kRules) {
        commands_.bind(rule.id, [this, rule] {
            mappingEditor.run(mesh, rule.step, [this, rule] { rule.run(mesh); });
            refresh_.refreshAll();
        });
    }
    // Store only renumbers (no corner moves) and takes the backup; nothing
    // on screen changes, so nothing is redrawn.
    commands_.bind(cmd::kMappingStore, [this] { StoreMapping(mesh); });
}

}  // namespace tarn
