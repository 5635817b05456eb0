#pragma once
// Export, Import and Import to Selected of the Mapping menu: the mapping
// written to and read from a mapping file, with their dialogs and messages.
// The path-level functions serve tarn-cli as well as the commands.
#include <string>

#include "edit/kmap.h"
#include "edit/mapping_edit.h"
#include "platform/dialogs.h"

namespace tarn {

class RefreshSink;

// Replaces the whole mapping with the file's: corner coordinates (rescaled
// to the mesh's skin), MappingVert indices and vertex indices, after taking
// the mapping backup so that Revert undoes it. Returns false, changing
// nothing, when an index lies outside the MappingVert table or the vertices.
bool ApplyKmapImport(Mesh& mesh, const KmapFile& file);
// Replaces the corner coordinates of the selected Triangles only, after the
// mapping backup; the table is then rebuilt from every Triangle's corners,
// so a MappingVert shared with an unselected Triangle splits.
void ApplyKmapToSelected(Mesh& mesh, const KmapFile& file);

// Writes the mesh's mapping to `path` (merging it first), replacing the file
// only once the new one is complete. Reports a failure; true on success.
bool ExportMapping(Ui& ui, Mesh& mesh, const std::string& path);

enum class ImportScope { Whole, Selected };
// Reads `path` whole, checks it, then applies it through `editor`. Every
// refusal is reported and changes nothing. True when the mapping was replaced.
bool ImportMapping(Ui& ui, Mesh& mesh, const std::string& path, ImportScope scope, const MappingEditor& editor);

struct MappingFileContext {
    Ui& ui;
    SettingsStore& settings;
    Folders& folders;
    RefreshSink& refresh;
    Mesh& mesh;
    const MappingEditor& editor;
    // The model's file, whose name an export proposes; empty for none.
    std::string modelPath = {};
};

// The three commands: the dialog, the folder rule, ".kmp" for a name without
// extension, then the operation; imports end with RefreshAll.
void exportMappingCommand(MappingFileContext& c);
void importMappingCommand(MappingFileContext& c);
void importMappingToSelectedCommand(MappingFileContext& c);

}  // namespace tarn
