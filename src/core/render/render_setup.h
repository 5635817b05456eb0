#pragma once
// A headless render described as data: which model, skin, frame, camera,
// mode, selection and Companions. tarn-cli render fills one from its command
// line; the benchmarks and other commands reuse the set-up.
#include <string>
#include <vector>

#include "render/render_session.h"

namespace tarn {

struct RenderRequest {
    std::string model;               // absolute path of the .md2
    std::string base;                // skin names are relative to it
    int mode = kModeTextured;
    int frame = 0;
    int width = 640;
    int height = 480;
    Vec3f eye{100.0f, 0.0f, 0.0f};
    Vec3f lookAt{0.0f, 0.0f, 0.0f};
    float fieldOfView = 33.0f;
    int skin = 0;                    // index into the skin list, 0 the first
    bool mappingMode = false;
    std::vector<int> selected;       // Triangle indices
    std::vector<std::string> companions;
};

// Largest side of a headless picture.
inline constexpr int kMaxRenderSide = 8192;

// Loads the model, skins and Companions into `session` and applies the rest
// of the request (frame, skin, selection, Mapping Mode, size and camera);
// the tables are rebuilt for the chosen skin. Returns the reason it could not,
// or an empty string. Messages of the loaders go to `ui`.
std::string prepareRenderSession(RenderSession& session, const RenderRequest& request, Ui& ui);

// The availability message of the requested mode, or empty when it may draw.
std::string renderModeRefusal(const RenderSession& session, int mode);

// The colour plane cropped to the pane's width, top row first, for writing
// as an image.
std::vector<std::uint8_t> topDownColour(const RenderSession& session);

}  // namespace tarn
