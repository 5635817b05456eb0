// The Mapping menu's selection and backup commands, each ending with a full
// refresh but Store, which changes nothing on screen. The selection is no part
// of the history; Store and Revert, which renumber or move the mapping, are.
#include "app/application.h"
#include "app/command_ids.h"
#include "edit/mapping_selection.h"
#include "model/mapping_edit.h"
#include "platform/refresh.h"

namespace tarn {

void Application::bindMappingCommands() {
    struct Rule {
        int id;
        void (*run)(Mesh&);
    };
    static constexpr Rule kRules[] = {
        {cmd::kSelectAll, SelectAll},
        {cmd::kSelectNone, SelectNone},
        {cmd::kInvertSelection, InvertSelection},
        {cmd::kSelectConnected, SelectConnected},
        {cmd::kGrowSelection, GrowSelection},
        {cmd::kShrinkSelection, ShrinkSelection},
        {cmd::kHideSelected, HideSelected},
        {cmd::kUnhideAll, UnhideAll},
    };
    for (const Rule& rule : kRules) {
        commands_.bind(rule.id, [this, rule] {
            rule.run(mesh);
            refresh_.refreshAll();
        });
    }
    commands_.bind(cmd::kMappingRevert, [this] {
        MappingEdit edit(&history, mesh);
        RevertMapping(mesh);
        edit.commit(kStepRevertMapping);
        refresh_.refreshAll();
    });
    commands_.bind(cmd::kMappingStore, [this] {
        MappingEdit edit(&history, mesh);
        StoreMapping(mesh);
        edit.commit(kStepStoreMapping);
    });
}

}  // namespace tarn
