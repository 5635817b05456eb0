#pragma once
// The two export commands: each asks for a file, writes it through a
// temporary file and a rename, and changes nothing in the Mesh.
#include <string>

#include "model/mesh.h"
#include "platform/dialogs.h"

namespace tarn {

struct ExportContext {
    Ui& ui;
    SettingsStore& settings;
    Folders& folders;
    const Mesh& mesh;
};

// "SSMObject": a save dialog in the save folder (folder rule "SaveDir"),
// ".ssm" added to a name without one.
void ExportSsmObject(ExportContext& c);
// Ctrl+Shift+G: a save dialog in the working folder that neither reads nor
// moves the save folder, ".d2m" added to a name without one.
void ExportDh2Mesh(ExportContext& c);

// The file writers behind them: 0 or the errno of the failure.
int SaveSsmObject(const Mesh& mesh, const std::string& path);
int SaveDh2Mesh(const Mesh& mesh, const std::string& path);

}  // namespace tarn
