#pragma once
// How commands ask for redraws and table rebuilds without knowing the panes.
// The main window implements it; tests record the calls.
#include <string>
#include <vector>

namespace tarn {

// Redraw kinds handed to each pane.
enum RedrawKind : int {
    kRedrawFull = 0,
    kRedrawQuick = 1,       // during drags
    kRedrawBackground = 2,  // background only
    kRedrawFromSkin = 3,    // copy changed skin pixels through the source map
};

// Pane bits and options of a refresh request.
enum PaneBit : int {
    kPaneSkinView = 1,
    kPaneIsoView = 2,
    kPaneGradient = 4,
    kPanePalette = 8,
    kPaneOption16 = 16,  // passed through to the panes
    kPaneOption32 = 32,  // passed through to the panes
};

// The combinations most senders use.
inline constexpr int kPanesAll = 47;             // all four panes, option 32
inline constexpr int kPanesSkinIsoPalette = 43;  // SkinView, IsoView, PalBox, option 32
inline constexpr int kPanesSkinIso = 35;         // SkinView, IsoView, option 32
inline constexpr int kPanesIso = 34;             // IsoView, option 32
inline constexpr int kPanesPalette = 40;         // PalBox, option 32

class RefreshSink {
public:
    virtual ~RefreshSink() = default;
    // Redraw the panes named by the bits of `panes` with `kind`.
    virtual void refresh(int kind, int panes) = 0;
    // Refill the list boxes, then redraw all four panes (kind 0, panes 47).
    virtual void refreshAll() = 0;
    // Refill the list boxes only.
    virtual void refillLists() = 0;
    // Rebuild the derived tables after the skin, palette or mode changed.
    virtual void rebuildPaintRemap() = 0;
    virtual void rebuildShadeRamps() = 0;
    virtual void rebuildLightTable() = 0;
    virtual void rebuildPhongShadeTable() = 0;
    // A model was loaded in place of the last one: views that depend on its
    // size (the 3D pane's framing) start again from it.
    virtual void meshLoaded() {}
};

// Records every request as text, in order: "refresh K P", "refreshAll",
// "refillLists", "paintRemap", "shadeRamps", "lightTable", "phongShadeTable".
class RecordingRefresh final : public RefreshSink {
public:
    std::vector<std::string> calls;
    void refresh(int kind, int panes) override {
        calls.push_back("refresh " + std::to_string(kind) + " " + std::to_string(panes));
    }
    void refreshAll() override { calls.push_back("refreshAll"); }
    void refillLists() override { calls.push_back("refillLists"); }
    void rebuildPaintRemap() override { calls.push_back("paintRemap"); }
    void rebuildShadeRamps() override { calls.push_back("shadeRamps"); }
    void rebuildLightTable() override { calls.push_back("lightTable"); }
    void rebuildPhongShadeTable() override { calls.push_back("phongShadeTable"); }
};

// Ignores every request: for drawing and editing without panes to redraw.
class NullRefresh final : public RefreshSink {
public:
    void refresh(int, int) override {}
    void refreshAll() override {}
    void refillLists() override {}
    void rebuildPaintRemap() override {}
    void rebuildShadeRamps() override {}
    void rebuildLightTable() override {}
    void rebuildPhongShadeTable() override {}
};

}  // namespace tarn
