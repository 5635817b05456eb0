// The Mapping menu's file commands (Export, Import, Import to Selected,
// Retro-Map) and the Rectangle menu's Map from 3D View and Save State.
#include "app/application.h"
#include "app/command_ids.h"
#include "edit/mapping_file.h"
#include "edit/mapping_import.h"
#include "edit/retro_map.h"

namespace tarn {

void Application::bindMappingFileCommands() {
    auto fileCommand = [this](void (*command)(MappingFileContext&)) {
        return [this, command] {
            MappingFileContext c{*ui_, settings_, folders, refresh_, mesh, mappingEditor, currentFile};
            command(c);
        };
    };
    commands_.bind(cmd::kMappingExport, fileCommand(exportMappingCommand));
    commands_.bind(cmd::kMappingImport, fileCommand(importMappingCommand));
    commands_.bind(cmd::kMappingImportToSelected, fileCommand(importMappingToSelectedCommand));
    commands_.bind(cmd::kRetroMap, [this] {
        RetroMapContext c{*ui_, settings_, folders, refresh_, mesh, skins, paint.colorSlots[kSlotBackground], &history};
        retroMapCommand(c);
    });
    commands_.bind(cmd::kImportMappingFromModel, [this] {
        ModelMappingContext c{*ui_, settings_, folders, refresh_, mesh, skins, paint.colorSlots[kSlotBackground], &history};
        importMappingFromModelCommand(c);
    });
    commands_.bind(cmd::kMapFrom3dView, [this] {
        MapRect* rect = mapRect ? mapRect() : nullptr;
        if (!viewCamera || rect == nullptr) return;
        MapFromViewContext c{*ui_, refresh_, mesh, viewCamera(), *rect, mappingEditor};
        mapFromViewCommand(c);
    });
    // Kept in the menu as it always was: it has never done anything.
    commands_.bind(cmd::kRectSaveState, [] {});
}

}  // namespace tarn
