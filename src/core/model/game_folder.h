#pragma once
// Where a model's skin names are taken from when nobody has said: the game's
// "baseq2" folder above the model, as the game itself would look.
#include <string>

namespace tarn {

// The nearest ancestor folder of `modelPath` named "baseq2" in any case, or
// the model's own folder when there is none. Relative paths are taken from
// the working folder; the result is absolute.
std::string defaultBaseFolder(const std::string& modelPath);

}  // namespace tarn
