#pragma once
// The Skins the user works on for the Mesh, each of the Mesh's skin size:
// linked Skins (written into the .md2) ahead of external ones, and one current.
#include <memory>
#include <string>
#include <vector>

#include "image/skin.h"

namespace tarn {

class RefreshSink;
class Ui;

class SkinList {
public:
    int count() const { return static_cast<int>(skins_.size()); }
    bool empty() const { return skins_.empty(); }
    // -1 when the list is empty.
    int currentIndex() const { return current_; }
    // nullptr when there is no current Skin.
    Skin* current();
    const Skin* current() const;
    Skin* at(int index);
    const Skin* at(int index) const;

    // Appends without changing the current Skin, except that the first Skin
    // of an empty list becomes current.
    void append(std::unique_ptr<Skin> skin);
    // Inserts at `index` (clamped to the list); the current Skin stays current.
    void insert(int index, std::unique_ptr<Skin> skin);
    // The position of `skin` in the list, or -1.
    int indexOf(const Skin* skin) const;
    // Index outside the list: no current Skin (only valid for an empty list).
    void makeCurrent(int index);
    // Removes and returns the Skin at `index`. The current index stays where it
    // was, moves to the new last entry when it fell off the end, and becomes -1
    // when the list empties.
    std::unique_ptr<Skin> remove(int index);
    // Swaps two entries; the current index follows its Skin.
    void swap(int a, int b);
    void clear();
    int linkedCount() const;

private:
    std::vector<std::unique_ptr<Skin>> skins_;
    int current_ = -1;
};

// Moves linked Skins ahead of external ones: each external Skin among the
// first L positions (L = number of linked Skins) swaps with the first linked
// Skin after it; the current index follows its Skin. Linked Skins keep their
// relative order; external ones may not.
void OrderSkins(SkinList& list);

// One entry of the Skins list pane.
struct SkinListEntry {
    std::string text;  // the name with forward slashes
    int image = 0;     // 0 linked, 1 external
};

// What a refill of the list panes does to the skin list: order it, bring
// names and file paths to native separators, and return the entries to show.
std::vector<SkinListEntry> refillSkinEntries(SkinList& list);

// Adds every PCX and then every BMP of `folder` whose size equals the Mesh
// skin size as an external Skin named by its full path; the current Skin does
// not change (a list that had none makes the first Skin found current). When
// `folder` lies below `baseFolder`, the same folder inside the base folder's
// PAK files counts too, as the game sees it. Each pass that matched any file
// ends with RefreshAll; when nothing was added the user is told. Returns the
// number added.
int ScanSkins(Ui& ui, RefreshSink& refresh, SkinList& list, const std::string& folder,
              int skinWidth, int skinHeight, const std::string& baseFolder = {});

inline constexpr const char* kMsgNoMatchingSkins =
    "There were no matching skins found at that location";

}  // namespace tarn
