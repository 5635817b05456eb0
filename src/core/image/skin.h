#pragma once
// The Skin record: every 8-bit image the system holds (skins, companion skins,
// phong and environment maps, the colormap) lives in one of these.
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "image/palette.h"
#include "image/pixel_buffer.h"
#include "platform/fs.h"

namespace tarn {

// The row table bounds every image to this many rows.
inline constexpr int kMaxImageRows = 2048;
// Width and height are 16-bit signed in every file and record that holds them.
inline constexpr int kMaxImageWidth = 32767;

// Chooses the writer of Save; the values are stored as they stand.
enum class SkinFileType : std::uint8_t { None = 0, Pcx = 1, Bmp = 2, Png = 3 };

// A tag no Skin has had before.
inline std::uint64_t newStoredTag() {
    static std::atomic<std::uint64_t> last{0};
    return ++last;
}

struct Skin {
    // Linked: path relative to the base folder; external: full path.
    std::string name;
    // Full path of the file the Skin was last read from or written to.
    std::string filePath;
    // False for temporary and new skins that never touched a file.
    bool hasFile = false;
    // The PAK the Skin was read from while it has no loose file of its own;
    // `filePath` is then where a save puts that loose file.
    std::string packedIn;
    // Palette indices, top row first, `width` bytes per row, no padding.
    PixelBuffer pixels;
    // The stored state Revert returns to; shares the pixels until they change.
    PixelBuffer backup;
    bool external = false;
    Palette palette{};
    int width = 0;
    int height = 0;
    SkinFileType fileType = SkinFileType::None;
    // Entry r is r * width for r below height. Users that may have seen the
    // size change refill it with buildRowTable() before use.
    std::array<std::int32_t, kMaxImageRows> rowTable{};

    std::size_t pixelCount() const {
        return static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    }
    void buildRowTable();
    // The palette Revert returns to, kept from the first palette change
    // after the last Store; nothing while the palette is the stored one.
    std::optional<Palette> storedPalette;
    // The file as TARN last read or wrote it, so that a save can tell when
    // another program changed it since; nothing for a Skin of no loose file.
    std::optional<FileIdentity> fileSeen;
    // True when the file at `filePath` is no longer the one TARN last read or
    // wrote (changed, or replaced by another); false while it is, or is gone.
    bool fileChangedSinceSeen() const;
    // Remembers the file at `filePath` as it is now.
    void seeFile();
    // Set by changes the pixel comparison cannot show (a new size, a Skin
    // that never reached its file); cleared by a write.
    bool unsavedChange = false;
    // Names the stored state the backup holds. A write is no step of the
    // history, so it takes a new tag: a step recorded before it then knows
    // that the stored state it saw was replaced and leaves the new one alone.
    std::uint64_t storedTag = 0;

    // Store: the pixels and palette become the state Revert returns to.
    void store() {
        backup = pixels;
        storedPalette.reset();
    }
    // After a successful write: the file holds everything the Skin does.
    void written() {
        store();
        unsavedChange = false;
        storedTag = newStoredTag();
    }
    // Revert: the pixels and palette return to the stored state.
    void revert() {
        pixels = backup;
        if (storedPalette) palette = *storedPalette;
        storedPalette.reset();
    }
    // Call before replacing the palette: a new palette is unsaved work, like
    // painted pixels.
    void keepStoredPalette() {
        if (!storedPalette) storedPalette = palette;
    }
    // Work not yet written: marked in the list and asked about before it is lost.
    bool modified() const {
        return unsavedChange || pixels != backup || (storedPalette && *storedPalette != palette);
    }
};

// The name as the Skins list shows it, with forward slashes.
inline std::string displayName(const Skin& skin) {
    std::string name = skin.name;
    for (char& ch : name)
        if (ch == '\\') ch = '/';
    return name;
}

// A blank (index 0) Skin of the given size with its row table built; the
// caller fills in the rest. Sizes outside 1..kMaxImageWidth by 1..kMaxImageRows
// are the caller's error and yield an empty image.
std::unique_ptr<Skin> makeBlankSkin(int width, int height);

}  // namespace tarn
