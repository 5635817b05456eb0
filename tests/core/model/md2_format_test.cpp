#include "model/md2_format.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <cstring>

#include "gl_check.h"
#include "md2_test_file.h"

namespace tarn {
namespace {

using test::patchI32;
using test::readI32;

TEST(Md2Parse, ReadsEveryBlockOfAWellFormedFile) {
    const Bytes file = test::quadModel().build();
    Md2Parse parsed = parseMd2(file);
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    const Md2Contents& c = parsed.contents;
    EXPECT_EQ(c.header.version, 8);
    EXPECT_EQ(c.header.skinWidth, 64);
    ASSERT_EQ(c.skinNames.size(), 1u);
    EXPECT_EQ(c.skinNames[0], "models/quad/skin.pcx");
    EXPECT_EQ(c.skinCoords.size(), 6u);
    ASSERT_EQ(c.frames.size(), 3u);
    EXPECT_EQ(c.frames[2].name, "run3");
    // byte x scale + translate, per axis.
    EXPECT_EQ(c.frames[2].positions[3], (Vec3f{49.0f, 52.0f, 12.0f}));
}

TEST(Md2Parse, NamesStopAtTheirTerminatorOrFillTheirField) {
    test::TestMd2 m = test::quadModel();
    m.frames[0].name = "sixteen_chars_ab";
    Bytes file = m.build();
    // Leftover text after a skin name's terminator is not part of the name.
    const char leftover[] = "\0l Files (*.*)";
    std::memcpy(&file[68 + 20], leftover, sizeof leftover - 1);
    Md2Parse parsed = parseMd2(file);
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    EXPECT_EQ(parsed.contents.skinNames[0], "models/quad/skin.pcx");
    EXPECT_EQ(parsed.contents.frames[0].name, "sixteen_chars_ab");
}

TEST(Md2Apply, MergesSkinCoordinatesAndSelectsFrameZero) {
    Mesh mesh;
    mesh.triangles[1].flags = kTriSelected | kTriHidden;
    mesh.mappingSelection[2] = 1;
    applyMd2ToMesh(parseMd2(test::quadModel().build()).contents, mesh);

    EXPECT_TRUE(mesh.loaded);
    EXPECT_EQ(mesh.vertexCount, 4);
    EXPECT_EQ(mesh.triangleCount, 2);
    EXPECT_EQ(mesh.skinHeight, 32);
    // The duplicate (63, 0) welds, the unused (50, 50) goes.
    EXPECT_EQ(mesh.mappingVertCount, 4);
    EXPECT_EQ(mesh.triangles[1].mapping, (std::array<std::int16_t, 3>{2, 1, 3}));
    EXPECT_EQ(mesh.mappingVerts[3], (MappingVert{63, 31}));
    EXPECT_EQ(mesh.triangles[1].flags, 0u);
    EXPECT_EQ(mesh.mappingSelection[2], 0);
    EXPECT_EQ(mesh.mappingBackupCount, 4);
    EXPECT_EQ(mesh.currentFrame, 0);
    EXPECT_EQ(mesh.triangles[0].normal, (Vec3f{0, 0, 1}));
}

// One damaged field per case; every case must be refused with its reason.
struct Damage {
    const char* what;
    std::size_t offset;
    std::int32_t value;
    const char* expected;
};

TEST(Md2Parse, RefusesDamagedHeadersWithAReason) {
    const Bytes good = test::quadModel().build();
    const Damage cases[] = {
        {"skin width 0", kMd2OfsSkinWidth, 0, "skin size 0 x 32"},
        {"skin taller than the row table", kMd2OfsSkinHeight, 2049, "is not usable"},
        {"negative triangle count", kMd2OfsNumTriangles, -1, "negative count"},
        {"too many vertices", kMd2OfsNumVertices, 4097, "4097 vertices per frame; TARN holds at most 4096"},
        {"too many triangles", kMd2OfsNumTriangles, 4097, "4097 triangles"},
        {"too many frames", kMd2OfsNumFrames, 40000, "40000 frames"},
        {"skins past the end", kMd2OfsOffsetSkins, 100000, "skin names lie outside"},
        {"negative offset", kMd2OfsOffsetSkinCoords, -8, "skin coordinates lie outside"},
        {"huge count", kMd2OfsNumSkinCoords, 0x7FFFFFFF, "skin coordinates lie outside"},
        {"triangles past the end", kMd2OfsOffsetTriangles, static_cast<std::int32_t>(good.size()) - 12,
         "triangles lie outside"},
        {"frames past the end", kMd2OfsNumFrames, 4, "frames lie outside"},
        {"fewer vertices than indices", kMd2OfsNumVertices, 3, "names vertex 3 of 3"},
        {"fewer skin coordinates", kMd2OfsNumSkinCoords, 5, "names skin coordinate 5 of 5"},
    };
    for (const Damage& d : cases) {
        Bytes file = good;
        patchI32(file, d.offset, d.value);
        const Md2Parse parsed = parseMd2(file);
        EXPECT_NE(parsed.error.find(d.expected), std::string::npos) << d.what << ": " << parsed.error;
        EXPECT_TRUE(parsed.contents.frames.empty()) << d.what;
    }
}

TEST(Md2Parse, RefusesFramesPlacedByNoNumber) {
    for (float bad : {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(), 3.0e7f}) {
        test::TestMd2 m = test::quadModel();
        m.frames[2].scale[1] = bad;
        EXPECT_NE(parseMd2(m.build()).error.find("frame 2 has a scale or translation"), std::string::npos) << bad;
        m = test::quadModel();
        m.frames[0].translate[0] = -bad;
        EXPECT_FALSE(parseMd2(m.build()).ok()) << bad;
    }
}

TEST(Md2Parse, RefusesOtherMagicAndEveryCutShortFile) {
    Bytes file = test::quadModel().build();
    EXPECT_EQ(parseMd2(Bytes{'I', 'D', 'P'}).error, kMsgNotMd2);
    Bytes other = file;
    other[3] = '3';
    EXPECT_EQ(parseMd2(other).error, kMsgNotMd2);

    // The GL commands are never read, so only the blocks before them count.
    const auto glOffset = static_cast<std::size_t>(readI32(file, kMd2OfsOffsetGlCommands));
    for (std::size_t length = 0; length < file.size(); ++length) {
        const Md2Parse parsed = parseMd2(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(length)));
        EXPECT_EQ(parsed.ok(), length >= glOffset) << "length " << length << ": " << parsed.error;
    }
}

TEST(Md2Parse, AcceptsMoreSkinCoordinatesThanTheTableWhenFewAreUsed) {
    test::TestMd2 m = test::quadModel();
    m.skinCoords.resize(kMaxMappingVerts + 100, MappingVert{7, 7});
    Mesh mesh;
    Md2Parse parsed = parseMd2(m.build());
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    applyMd2ToMesh(std::move(parsed.contents), mesh);
    EXPECT_EQ(mesh.mappingVertCount, 4);
}

Md2Encode encodeLoaded(const test::TestMd2& m, Mesh& mesh, Bytes& source,
                       std::vector<std::string> skins) {
    source = m.build();
    applyMd2ToMesh(parseMd2(source).contents, mesh);
    return encodeMd2(mesh, skins, source);
}

TEST(Md2Encode, RoundTripKeepsVersionFramesAndMergedMapping) {
    test::TestMd2 m = test::quadModel();
    m.version = 6;
    Mesh mesh;
    Bytes source;
    const Md2Encode saved = encodeLoaded(m, mesh, source, {"models\\quad\\skin.pcx"});
    ASSERT_TRUE(saved.ok()) << saved.error;

    const Md2Parse again = parseMd2(saved.bytes);
    ASSERT_TRUE(again.ok()) << again.error;
    const Md2Header& h = again.contents.header;
    EXPECT_EQ(h.version, 6);
    EXPECT_EQ(h.numSkinCoords, 4);  // the merged count
    EXPECT_EQ(again.contents.skinNames[0], "models/quad/skin.pcx");
    EXPECT_EQ(h.offsetEnd, static_cast<std::int32_t>(saved.bytes.size()));
    EXPECT_EQ(h.offsetSkinCoords, 68 + 64);
    EXPECT_EQ(h.frameSize, 56);
    EXPECT_EQ(again.contents.triangles[1].skinCoord, (std::array<std::int16_t, 3>{2, 1, 3}));

    // The frame records are the loaded bytes, untouched.
    const auto srcFrames = static_cast<std::size_t>(readI32(source, kMd2OfsOffsetFrames));
    const auto outFrames = static_cast<std::size_t>(h.offsetFrames);
    EXPECT_TRUE(std::equal(source.begin() + static_cast<std::ptrdiff_t>(srcFrames),
                           source.begin() + static_cast<std::ptrdiff_t>(srcFrames + 3 * 56),
                           saved.bytes.begin() + static_cast<std::ptrdiff_t>(outFrames)));
    // GL commands: count word, then the GL list ends the file with its 0.
    EXPECT_EQ(readI32(saved.bytes, saved.bytes.size() - 4), 0);
    EXPECT_EQ(h.numGlCommands, (h.offsetEnd - h.offsetGlCommands) / 4);
}

TEST(Md2Encode, PaddedFramesAreCopiedAsReadWithTheirFrameSize) {
    test::TestMd2 padded = test::quadModel();
    padded.framePadding = 8;
    const Bytes source = padded.build();
    Md2Parse parsed = parseMd2(source);
    ASSERT_TRUE(parsed.ok()) << parsed.error;
    Mesh mesh;
    applyMd2ToMesh(std::move(parsed.contents), mesh);
    const Md2Encode saved = encodeMd2(mesh, {}, source);
    ASSERT_TRUE(saved.ok()) << saved.error;
    EXPECT_EQ(readI32(saved.bytes, kMd2OfsFrameSize), 64);
    const auto from = static_cast<std::ptrdiff_t>(readI32(source, kMd2OfsOffsetFrames));
    const auto to = static_cast<std::ptrdiff_t>(readI32(saved.bytes, kMd2OfsOffsetFrames));
    EXPECT_TRUE(std::equal(source.begin() + from, source.begin() + from + 3 * 64, saved.bytes.begin() + to));
    EXPECT_TRUE(parseMd2(saved.bytes).ok());
}

TEST(Md2Encode, NoSkinsMeansSkinCoordinatesAt68) {
    Mesh mesh;
    Bytes source;
    const Md2Encode saved = encodeLoaded(test::quadModel(), mesh, source, {});
    ASSERT_TRUE(saved.ok());
    EXPECT_EQ(readI32(saved.bytes, kMd2OfsNumSkins), 0);
    EXPECT_EQ(readI32(saved.bytes, kMd2OfsOffsetSkinCoords), 68);
}

std::vector<std::int32_t> glWordsOf(const Bytes& file) {
    const auto begin = static_cast<std::size_t>(readI32(file, kMd2OfsOffsetGlCommands));
    std::vector<std::int32_t> words;
    for (std::size_t at = begin; at + 4 <= file.size(); at += 4) words.push_back(readI32(file, at));
    return words;
}

TEST(Md2Encode, GlCommandsCoverTheMeshAndFollowASkinResize) {
    Mesh mesh;
    Bytes source;
    const Md2Encode first = encodeLoaded(test::quadModel(), mesh, source, {});
    EXPECT_EQ(test::checkGlCover(mesh, glWordsOf(first.bytes)), "");

    mesh.skinWidth = 128;
    const Md2Encode saved = encodeMd2(mesh, {}, source);
    EXPECT_EQ(readI32(saved.bytes, kMd2OfsSkinWidth), 128);
    EXPECT_EQ(test::checkGlCover(mesh, glWordsOf(saved.bytes)), "");
}

TEST(Md2Encode, RefusesWhatAnMd2CannotHold) {
    Mesh mesh;
    Bytes source;
    const Md2Encode longName = encodeLoaded(test::quadModel(), mesh, source, {std::string(64, 'a')});
    EXPECT_NE(longName.error.find("longer than 63 characters"), std::string::npos);
    EXPECT_TRUE(longName.bytes.empty());
    EXPECT_TRUE(encodeMd2(mesh, {std::string(63, 'a')}, source).ok());

    const Md2Encode noSource = encodeMd2(mesh, {}, Bytes{});
    EXPECT_FALSE(noSource.ok());
    Bytes shortSource(source.begin(), source.end() - 20);
    patchI32(shortSource, kMd2OfsOffsetFrames, static_cast<std::int32_t>(shortSource.size()) - 100);
    EXPECT_FALSE(encodeMd2(mesh, {}, shortSource).ok());
}

}  // namespace
}  // namespace tarn
