#pragma once
// Helpers the tarn-cli commands share for reading their command lines.
// Paths there are taken from the working folder, while the core takes relative
// paths from the base folder: commands hand the core absolutePath()s only.
#include <iosfwd>
#include <string>
#include <vector>

#include "image/skin_list.h"
#include "model/vec3.h"
#include "platform/fs.h"

namespace tarn::cli {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Each parser takes the whole text or fails; floats must be finite.
bool parseInt(const std::string& text, int& out);
bool parseFloat(const std::string& text, float& out);
// "X,Y,Z"
bool parseVector(const std::string& text, Vec3f& out);
// "WxH"
bool parseSize(const std::string& text, int& w, int& h);
// "A,B,C..." appended to `out`.
bool parseList(const std::string& text, std::vector<int>& out);
// A render mode by index or by name.
bool parseMode(const std::string& text, int& mode);
// "x", "y" or "z" (either case) as 0, 1 or 2.
bool parseAxis(const std::string& text, int& axis);

// The one positional argument of render and bench, the model, made absolute.
// Returns the complaint or empty.
std::string takeModelPath(std::string& model, const std::string& arg);
// Once the whole line is read: a model must have been given; the base folder
// defaults to the model's. Returns the complaint or empty.
std::string requireModel(const std::string& model, std::string& base);

// The files a loaded model uses besides the model file itself: where each of
// its skins was read from, or where a missing one would be.
std::vector<std::string> filesOfSkins(const SkinList& skins);

// True, after saying so, when `output` is one of the command's inputs: the
// same file as another word of the command line, or as one of `modelFiles`
// (filesOfSkins of a loaded model, whether or not the file exists yet). A
// command never writes over one of its own inputs.
bool refuseOutputOverInput(std::ostream& err, const std::string& command, const std::string& output,
                           const std::vector<std::string>& args, const std::vector<std::string>& modelFiles = {});
// The same for every output of a command, which must also name distinct files.
bool refuseOutputsOverInputs(std::ostream& err, const std::string& command, const std::vector<std::string>& outputs,
                             const std::vector<std::string>& args, const std::vector<std::string>& modelFiles = {});

// Writes every file or none, saying which failed and that nothing was written.
bool writeAllOrNone(std::ostream& err, const std::string& command, const std::vector<FileToWrite>& files);

// A --base value made absolute into `base`; false when it names no folder.
bool takeBaseFolder(const std::string& value, std::string& base);

// The extension of the file name with its dot, lower-cased; empty when none.
std::string lowerExtension(const std::string& path);

}  // namespace tarn::cli
