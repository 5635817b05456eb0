#pragma once
// What the mapping commands of tarn-cli share: a small option reader, a model
// loaded without any dialog, and the selection of Triangles by index.
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "cli_commands.h"
#include "model/md2_format.h"
#include "model/mesh_session.h"
#include "platform/batch_ui.h"

namespace tarn::cli {

struct OptionTable {
    // Options that take a value: the reader returns false for a bad value.
    std::map<std::string, std::function<bool(const std::string&)>> values;
    // Options that stand alone and switch something on.
    std::map<std::string, bool*> flags;
};

// Reads `args` by `table`; other words are positional paths, made absolute.
// Returns the complaint, or empty.
std::string readOptions(const Args& args, const OptionTable& table, std::vector<std::string>& paths);

// A model loaded as tarn-cli loads one: messages to `err`, no folder scans.
class CliModel {
public:
    // Messages go to `err` after "tarn-cli COMMAND: ".
    CliModel(std::ostream& err, const std::string& base, const std::string& command);
    bool load(const std::string& path) { return LoadMesh(session_->context, path); }
    // Writes the model through an atomic replace.
    bool save(const std::string& path) { return SaveMesh(session_->context, path); }
    // The model file's bytes as save would write them, or the reason there
    // are none, for a command that writes it beside other files.
    Md2Encode encode() const;
    // Sets the selected flag of each listed Triangle; the complaint for an
    // index that does not exist, or empty.
    std::string select(const std::vector<int>& triangles);

    Ui& ui() { return ui_; }
    Mesh& mesh() { return session_->mesh; }
    SkinList& skins() { return session_->skins; }
    // The bytes of the loaded .md2.
    const Bytes& sourceImage() const { return session_->sourceImage; }
    // The model's current skin, nullptr when it has none.
    const Skin* currentSkin() const { return session_->skins.current(); }

private:
    BatchUi ui_;
    MemorySettings settings_;
    std::unique_ptr<MeshSession> session_;
};

// Whether a skin path ends in an extension tarn-cli writes skins as.
bool isSkinOutput(const std::string& path);
// `skin` as a PCX, BMP or PNG file by the extension of `path`; empty when the
// encoder ran out of memory.
Bytes encodeSkinByExtension(const Skin& skin, const std::string& path);
// Writes `skin` as PCX, BMP or PNG by the extension of `path`.
bool writeSkinByExtension(Ui& ui, Skin& skin, const std::string& path);

// The base folder: the one given, or the model's own.
std::string baseFor(const std::string& given, const std::string& model);

// The usage line after a complaint; returns the usage exit code.
int usageError(std::ostream& err, const std::string& command, const std::string& why, const char* usage);

}  // namespace tarn::cli
