#pragma once
// Stands in the mode list for a lit or colormap-shaded mode not built into
// this program: it draws the cleared planes in the skin palette.
#include <string>
#include <utility>

#include "render/render_mode.h"

namespace tarn {

class PendingMode final : public RenderMode {
public:
    explicit PendingMode(std::string name) : name_(std::move(name)) {}
    void Draw(RenderTarget& target, RenderScene& scene) override;
    const char* GetName() const override { return name_.c_str(); }

private:
    std::string name_;
};

}  // namespace tarn
