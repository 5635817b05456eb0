#pragma once
// The two export commands: each asks for a file, writes it through a
// temporary file and a rename, and changes nothing in the Mesh.
#include <string>

#include "image/skin_list.h"
#include "model/mesh.h"
#include "platform/dialogs.h"
#include "platform/fs.h"

namespace tarn {

struct ExportContext {
    Ui& ui;
    SettingsStore& settings;
    Folders& folders;
    const Mesh& mesh;
    // What glTF and OBJ take beyond the Mesh: the skins, the loaded file (its
    // normals), and how the preview plays (its rate; STEP unless it blends).
    const SkinList* skins = nullptr;
    const Bytes* sourceImage = nullptr;
    double framesPerSecond = 10.0;
    bool step = false;
    std::string modelPath{};  // the save dialogs propose its name with their extension
};

// "SSMObject": a save dialog in the save folder (folder rule "SaveDir"),
// ".ssm" added to a name without one.
void ExportSsmObject(ExportContext& c);
// Ctrl+Shift+G: a save dialog in the working folder that neither reads nor
// moves the save folder, ".d2m" added to a name without one.
void ExportDh2Mesh(ExportContext& c);

// File > Export > glTF...: the current skin, one animation per animation
// name, at the preview's rate; a failure is shown.
void ExportGltf(ExportContext& c);
// File > Export > OBJ...: the current Frame with the current skin beside it.
void ExportObj(ExportContext& c);

// The file writers behind them: 0 or the errno of the failure.
int SaveSsmObject(const Mesh& mesh, const std::string& path);
int SaveDh2Mesh(const Mesh& mesh, const std::string& path);

}  // namespace tarn
