#include <gtest/gtest.h>

#include <random>

#include "image/history.h"
#include "image/skin_list.h"

namespace tarn {
namespace {

// Everything a step can change: each listed Skin's state, the list order and
// the current Skin.
struct ListShot {
    std::vector<const Skin*> order;
    std::vector<SkinState> states;
    static ListShot of(const SkinList& list) {
        ListShot s;
        for (int i = 0; i < list.count(); ++i) {
            s.order.push_back(list.at(i));
            s.states.push_back(SkinState::of(*list.at(i)));
        }
        return s;
    }
    bool sameAs(const ListShot& o) const {
        if (order != o.order || states.size() != o.states.size()) return false;
        for (std::size_t i = 0; i < states.size(); ++i) {
            const SkinState& a = states[i];
            const SkinState& b = o.states[i];
            if (a.width != b.width || a.height != b.height || a.pixels != b.pixels || a.backup != b.backup ||
                a.palette != b.palette)
                return false;
        }
        return true;
    }
};

std::unique_ptr<Skin> seededSkin(int w, int h, std::mt19937& rng) {
    auto skin = makeBlankSkin(w, h);
    for (auto& p : skin->pixels) p = static_cast<std::uint8_t>(rng());
    skin->backup = skin->pixels;
    return skin;
}

// Every kind of edit the doors take, chosen at random from a seed: rectangles
// of pixels, single pixels, palette entries, Store, Revert, a resize, skins
// opened and closed. Undoing every step then gives back each state in turn,
// and redoing gives them again.
TEST(History, SeededEditsUndoAndRedoThroughEveryState) {
    for (unsigned seed : {1u, 2u, 3u, 4u}) {
        std::mt19937 rng(seed);
        SkinList list;
        list.append(seededSkin(640, 480, rng));
        list.append(seededSkin(70, 33, rng));
        History history(list);
        std::vector<ListShot> shots{ListShot::of(list)};

        for (int n = 0; n < 40; ++n) {
            const int kind = static_cast<int>(rng() % 7);
            if (kind == 5) {
                const std::vector<const Skin*> before = skinsIn(list);
                list.append(seededSkin(list.at(0)->width, list.at(0)->height, rng));
                recordSkinsAdded(&history, list, before, "Open skin");
            } else if (kind == 6 && list.count() > 1) {
                closeSkinRecorded(&history, list, static_cast<int>(rng() % static_cast<unsigned>(list.count())),
                                  "Close skin");
            } else {
                Skin& skin = *list.at(static_cast<int>(rng() % static_cast<unsigned>(list.count())));
                SkinEdit edit(&history, skin);
                if (kind <= 1) {
                    const int x = static_cast<int>(rng() % static_cast<unsigned>(skin.width));
                    const int y = static_cast<int>(rng() % static_cast<unsigned>(skin.height));
                    const int w = kind == 0 ? 1 : std::min(skin.width - x, static_cast<int>(rng() % 90) + 1);
                    const int h = kind == 0 ? 1 : std::min(skin.height - y, static_cast<int>(rng() % 90) + 1);
                    for (int r = y; r < y + h; ++r)
                        for (int c = x; c < x + w; ++c)
                            skin.pixels[static_cast<std::size_t>(r * skin.width + c)] ^= 0x5A;
                } else if (kind == 2) {
                    skin.palette[rng() % 768] ^= 0xFF;
                } else if (kind == 3) {
                    if (rng() % 2) skin.store(); else skin.revert();
                } else {
                    auto grown = seededSkin(skin.width + 3, skin.height + 1, rng);
                    skin.pixels = grown->pixels;
                    skin.backup = grown->backup;
                    skin.width = grown->width;
                    skin.height = grown->height;
                    skin.buildRowTable();
                }
                edit.commit("Edit");
            }
            const ListShot now = ListShot::of(list);
            if (!now.sameAs(shots.back())) shots.push_back(now);
        }

        ASSERT_EQ(history.stepCount() + 1, shots.size()) << "seed " << seed;
        for (std::size_t i = shots.size() - 1; i-- > 0;) {
            ASSERT_TRUE(history.undo());
            ASSERT_TRUE(ListShot::of(list).sameAs(shots[i])) << "seed " << seed << " undo to " << i;
        }
        EXPECT_FALSE(history.undo());
        for (std::size_t i = 1; i < shots.size(); ++i) {
            ASSERT_TRUE(history.redo());
            ASSERT_TRUE(ListShot::of(list).sameAs(shots[i])) << "seed " << seed << " redo to " << i;
        }
        EXPECT_FALSE(history.redo());
    }
}

// The bounds drop the oldest steps first; the newest always stays, and a new
// step after an undo drops what could have been redone.
TEST(History, BoundsDropTheOldestSteps) {
    struct Case {
        double stepsOfBytes;  // the byte bound, in steps of the size every step here has
        std::size_t maxSteps;
        int steps;
        std::size_t kept;
    };
    const Case cases[] = {{1000, 3, 5, 3}, {2.5, 500, 5, 2}, {0.1, 500, 4, 1}};
    for (const Case& c : cases) {
        SkinList list;
        list.append(makeBlankSkin(256, 256));
        Skin& skin = *list.at(0);
        History history(list);
        auto dot = [&](int i) {
            SkinEdit edit(&history, skin);
            skin.pixels[static_cast<std::size_t>(i * 40)] = static_cast<std::uint8_t>(i + 1);
            edit.commit("Dot " + std::to_string(i + 1));
        };
        dot(0);
        const std::size_t stepBytes = history.byteCount();
        history.setLimits({static_cast<std::size_t>(c.stepsOfBytes * static_cast<double>(stepBytes)), c.maxSteps});
        for (int i = 1; i < c.steps; ++i) dot(i);
        EXPECT_EQ(history.stepCount(), c.kept);
        EXPECT_EQ(history.undoName(), "Dot " + std::to_string(c.steps));
        while (history.undo()) {}
        for (int i = 0; i < c.steps; ++i) {
            const bool undone = i >= c.steps - static_cast<int>(c.kept);
            EXPECT_EQ(skin.pixels[static_cast<std::size_t>(i * 40)], undone ? 0 : i + 1) << i;
        }
        EXPECT_EQ(history.redoName(), "Dot " + std::to_string(c.steps - static_cast<int>(c.kept) + 1));

        SkinEdit edit(&history, skin);
        skin.pixels[1] = 9;
        edit.commit("Other");
        EXPECT_EQ(history.stepCount(), 1u);
        EXPECT_FALSE(history.canRedo());
    }
}

// Edits made while a group is open undo as one step; nothing is recorded for
// an edit that changed nothing.
TEST(History, GroupsAreOneStepAndEmptyEditsNone) {
    SkinList list;
    list.append(makeBlankSkin(8, 8));
    list.append(makeBlankSkin(8, 8));
    History history(list);
    {
        SkinEdit unchanged(&history, *list.at(0));
        unchanged.commit("Nothing");
    }
    EXPECT_EQ(history.stepCount(), 0u);
    {
        HistoryGroup group(&history, "Both skins");
        for (int i = 0; i < 2; ++i) {
            SkinEdit edit(&history, *list.at(i));
            list.at(i)->pixels.assign(64, 7);
            edit.commit("One");
        }
    }
    ASSERT_EQ(history.stepCount(), 1u);
    EXPECT_EQ(history.undoName(), "Both skins");
    {
        SkinEdit underWay(&history, *list.at(0));
        EXPECT_FALSE(history.undo()) << "no undo while a stroke or drag is under way";
    }
    history.undo();
    EXPECT_EQ(list.at(0)->pixels, std::vector<std::uint8_t>(64, 0));
    EXPECT_EQ(list.at(1)->pixels, std::vector<std::uint8_t>(64, 0));
}

// A save is no step: Undo after it takes back the last edit, Redo survives
// it, and the unsaved mark follows whether the pixels and palette are the
// saved ones. Each sequence is a string of operations: a and b paint two
// strokes, p changes the palette, t stores, v reverts, s saves, u undoes, r
// redoes. After each, the expected pixels and stored copy name the strokes
// they hold ("-" for none), and * marks unsaved work.
TEST(History, SavesAreNoStepAndTheUnsavedMarkFollowsTheHistory) {
    struct Case {
        const char* ops;
        std::vector<const char*> after;  // "pixels stored mark" after each operation
    };
    const Case cases[] = {
        {"absur", {"a - *", "ab - *", "ab ab", "a ab *", "ab ab"}},
        {"ausr", {"a - *", "- -", "- -", "a - *"}},
        {"asbvuv", {"a - *", "a a", "ab a *", "a a", "ab a *", "a a"}},
        {"atbsuuu", {"a - *", "a a", "ab a *", "ab ab", "a ab *", "a ab *", "- ab *"}},
        {"psuru", {"- - *", "- -", "- - *", "- -", "- - *"}},
    };
    for (const Case& c : cases) {
        SkinList list;
        list.append(makeBlankSkin(8, 8));
        History history(list);
        Skin& skin = *list.at(0);
        for (std::size_t i = 0; c.ops[i] != 0; ++i) {
            const char op = c.ops[i];
            if (op == 'u' || op == 'r') {
                EXPECT_TRUE(op == 'u' ? history.undo() : history.redo()) << c.ops << " at " << i;
            } else if (op == 's') {
                skin.written();
            } else {
                SkinEdit edit(&history, skin);
                if (op == 'a') skin.pixels[0] = 1;
                if (op == 'b') skin.pixels[1] = 2;
                if (op == 't') skin.store();
                if (op == 'v') skin.revert();
                if (op == 'p') {
                    skin.keepStoredPalette();
                    skin.palette[0] = 200;
                }
                edit.commit(std::string(1, op));
            }
            const auto strokes = [](const std::vector<std::uint8_t>& p) {
                std::string s = std::string(p[0] == 1 ? "a" : "") + (p[1] == 2 ? "b" : "");
                return s.empty() ? std::string("-") : s;
            };
            const std::string now = strokes(skin.pixels) + " " + strokes(skin.backup) + (skin.modified() ? " *" : "");
            EXPECT_EQ(now, c.after[i]) << c.ops << " after " << i + 1 << " operations";
        }
    }
}

}  // namespace
}  // namespace tarn
