#pragma once
// Files other programs rewrite while TARN shows them. Modders paint in other
// editors too: when a skin, a companion's skin or a lighting map TARN shows is written anew on
// disk, TARN takes the file's pixels, quietly while it holds no unsaved change
// of that image, otherwise only after asking. The watching itself belongs to
// the window; this piece decides what an event means.
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/fs.h"
#include "platform/ui.h"

namespace tarn {

class Application;
struct Companion;
class SettingsStore;

inline constexpr const char* kReloadOutsideKey = "Reload files changed outside TARN";
inline constexpr const char* kStepReloadSkin = "Reload skin";
// Asked, after the file's path, when the file changed under a Skin with
// unsaved work.
inline constexpr const char* kAskTakeOutsideFile =
    "\nwas changed outside TARN, and TARN holds unsaved changes to it.\n\n"
    "Take the file's version? (No keeps TARN's.)";

enum class OutsideChange {
    None,      // nothing TARN shows changed, or the user kept TARN's
    Reloaded,  // a pane shows the file's new content
    Later      // a stroke or drag is under way: tell again once it ended
};

// On unless the user turned it off in Preferences.
bool reloadOutsideEnabled(const SettingsStore& settings);

class LiveReload {
public:
    explicit LiveReload(Application& app) : app_(app) {}

    // The loose files TARN shows now: the skins, the phong and environment
    // maps, the companions' skins. Files inside a PAK are never rewritten by an editor.
    std::vector<std::string> shownFiles() const;

    // The watcher saw `path` change. A file that is gone is not a reload (an
    // editor may be about to write it anew); a file that holds what TARN
    // last stored or wrote is TARN's own save. True when a pane now shows
    // something else. One question or message is open at a time: changes
    // told while one is (the window's event loop runs under it) are merged
    // and judged once it is answered, against the file as it is then.
    OutsideChange fileChanged(const std::string& path);

private:
    OutsideChange judge(const std::string& path);
    // The user's answer, with changes told meanwhile held back.
    Answer askAlone(const std::string& text);
    void tellAlone(const std::string& text);

    bool reloadSkin(int index, const std::string& path);
    bool reloadMap(bool phong, int index, const std::string& path);
    bool reloadCompanionSkin(Companion& companion, const std::string& path);

    Application& app_;
    // The state of each file when it was last judged: a watcher tells of one
    // write more than once (its attributes, its data, its name), and the user
    // is asked once per write.
    std::map<std::string, FileIdentity> judged_;
    bool asking_ = false;
    // Files changed while a question or message was open, in order.
    std::vector<std::string> pending_;
    // Files whose wrong size was told: told once until they fit again.
    std::set<std::string> wrongSize_;
};

}  // namespace tarn
