#pragma once
// Binds command ids to their handlers and works out what each menu item and
// button shows. A command without a handler is shown disabled.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/command_table.h"

namespace tarn {

// The state the update rules look at.
struct UpdateFlags {
    bool hasCompanion = false;
    bool companionHidden = false;
    bool cameraOverride = false;
    int interactionMode = 0;  // 0 Paint Mode, 1 Mapping Mode
    int brush = 0;            // 0 point, 1 pencil, 2 line
    bool skinFollowsMapping = false;
    bool mappingOverlay = false;
    bool rectangleMode = false;
    bool pixelGrid = false;
    int brushShape = 0;  // 0 round, 1 square
    bool filledShapes = false;
    int ink = 0;         // 0 paint, 1 shade, 2 dither
    int ditherSize = 4;
    bool mirror = false;
    bool mirrorShareTexels = false;
    int symmetryAxis = -1;
    int selectTool = 0;     // SelectTool's value; 0 while painting
    bool floating = false;  // texels float over the skin
    int blendMode = 0;
    bool playing = false;
    bool loopAnimation = false;
    bool interpolate = false;
    int frameRate = 10;
    std::vector<std::string> recentFiles;
    // The steps Undo and Redo would take; empty when there is none.
    std::string undoName;
    std::string redoName;
};

struct CommandState {
    bool enabled = false;
    bool checkable = false;
    bool checked = false;
    bool visible = true;
    std::string text;  // the menu text to show, tab and key text included
};

CommandState commandState(const CommandEntry& entry, bool hasHandler, const UpdateFlags& flags);

inline constexpr const char* kCompanionShowText = "&Show\tH";
inline constexpr const char* kMsgOutOfMemory =
    "TARN ran out of memory and stopped the command; what it was working on is as it was before.";

class CommandRegistry {
public:
    using Handler = std::function<void()>;

    void bind(int id, Handler handler) { handlers_[id] = std::move(handler); }
    bool bound(int id) const { return handlers_.count(id) != 0; }
    // Runs the handler of `id`; false when there is none. A handler that runs
    // out of memory ends there and the out-of-memory handler reports it: the
    // commands build what they load before they replace anything.
    bool run(int id) const;
    void onOutOfMemory(Handler handler) { outOfMemory_ = std::move(handler); }
    // Told the id of every command before its handler runs.
    void beforeRun(std::function<void(int)> hook) { before_ = std::move(hook); }
    // Commands that change nothing the panes show say what they did: after
    // `id` runs, the text `what` makes goes to the reporter (the status bar).
    void report(int id, std::function<std::string()> what) { reports_[id] = std::move(what); }
    void onReport(std::function<void(const std::string&)> reporter) { reported_ = std::move(reporter); }

private:
    std::map<int, Handler> handlers_;
    std::map<int, std::function<std::string()>> reports_;
    std::function<void(const std::string&)> reported_;
    Handler outOfMemory_;
    std::function<void(int)> before_;
};

}  // namespace tarn
