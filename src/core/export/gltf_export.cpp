#include "export/gltf_export.h"

#include <tiny_gltf.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <sstream>

#include "export/md2_normals.h"
#include "export/vertex_split.h"
#include "image/image_codec.h"
#include "model/frame_player.h"

namespace tarn {

namespace {

// glTF is y-up with the model facing +z; the format is z-up. A quarter turn
// about x keeps the handedness, so nothing is mirrored.
Vec3f toGltfAxes(const Vec3f& p) { return {p.x, p.z, -p.y}; }

// Appends views and accessors to one buffer, each view 4-byte aligned.
class BufferWriter {
public:
    explicit BufferWriter(tinygltf::Model& model) : model_(model) { model_.buffers.emplace_back(); }

    int view(const void* data, std::size_t bytes, int target) {
        std::vector<unsigned char>& out = model_.buffers[0].data;
        out.resize((out.size() + 3) & ~std::size_t{3}, 0);
        tinygltf::BufferView view;
        view.buffer = 0;
        view.byteOffset = out.size();
        view.byteLength = bytes;
        view.target = target;
        const auto* begin = static_cast<const unsigned char*>(data);
        out.insert(out.end(), begin, begin + bytes);
        model_.bufferViews.push_back(view);
        return static_cast<int>(model_.bufferViews.size() - 1);
    }

    int floats(const std::vector<float>& values, int type, int components, int target, bool bounds) {
        tinygltf::Accessor a;
        a.bufferView = view(values.data(), values.size() * sizeof(float), target);
        a.componentType = TINYGLTF_COMPONENT_TYPE_FLOAT;
        a.type = type;
        a.count = values.size() / std::size_t(components);
        if (bounds && a.count > 0) {
            a.minValues.assign(std::size_t(components), INFINITY);
            a.maxValues.assign(std::size_t(components), -INFINITY);
            for (std::size_t i = 0; i < values.size(); ++i) {
                const std::size_t c = i % std::size_t(components);
                a.minValues[c] = std::min<double>(a.minValues[c], values[i]);
                a.maxValues[c] = std::max<double>(a.maxValues[c], values[i]);
            }
        }
        return add(std::move(a));
    }

    int indices(const std::vector<std::uint16_t>& values) {
        tinygltf::Accessor a;
        a.bufferView = view(values.data(), values.size() * sizeof(std::uint16_t), TINYGLTF_TARGET_ELEMENT_ARRAY_BUFFER);
        a.componentType = TINYGLTF_COMPONENT_TYPE_UNSIGNED_SHORT;
        a.type = TINYGLTF_TYPE_SCALAR;
        a.count = values.size();
        return add(std::move(a));
    }

private:
    int add(tinygltf::Accessor a) {
        model_.accessors.push_back(std::move(a));
        return static_cast<int>(model_.accessors.size() - 1);
    }
    tinygltf::Model& model_;
};

void putVec(std::vector<float>& out, const Vec3f& v) {
    out.push_back(v.x);
    out.push_back(v.y);
    out.push_back(v.z);
}

// Each Frame's per-vertex normals, from the file's table where it can.
std::vector<std::vector<Vec3f>> frameNormals(const Mesh& mesh, const Bytes& sourceImage) {
    const Md2NormalTable* table = md2NormalTable();
    const auto indices = table ? md2NormalIndices(sourceImage, mesh) : std::nullopt;
    std::vector<std::vector<Vec3f>> out;
    out.reserve(mesh.frames.size());
    for (std::size_t f = 0; f < mesh.frames.size(); ++f) {
        const std::vector<Vec3f>& positions = mesh.frames[f].positions;
        const bool fromFile = indices && std::all_of((*indices)[f].begin(), (*indices)[f].end(),
                                                     [](std::uint8_t i) { return i < kMd2NormalCount; });
        if (!fromFile) {
            out.push_back(smoothNormals(mesh, positions));
            continue;
        }
        std::vector<Vec3f> normals;
        normals.reserve((*indices)[f].size());
        for (const std::uint8_t i : (*indices)[f]) normals.push_back((*table)[i]);
        out.push_back(std::move(normals));
    }
    return out;
}

void addSkin(tinygltf::Model& model, BufferWriter& buffer, const Skin& skin) {
    const Bytes png = encodePng8(skin.width, skin.height, skin.pixels.data(), skin.palette);
    std::string name = skin.name;
    std::replace(name.begin(), name.end(), '\\', '/');
    tinygltf::Image image;
    image.name = name;
    image.mimeType = "image/png";
    image.bufferView = buffer.view(png.data(), png.size(), 0);
    model.images.push_back(image);
    tinygltf::Sampler sampler;
    // Nearest both ways: a skin's texels are palette entries, never blends.
    sampler.magFilter = TINYGLTF_TEXTURE_FILTER_NEAREST;
    sampler.minFilter = TINYGLTF_TEXTURE_FILTER_NEAREST;
    sampler.wrapS = TINYGLTF_TEXTURE_WRAP_CLAMP_TO_EDGE;
    sampler.wrapT = TINYGLTF_TEXTURE_WRAP_CLAMP_TO_EDGE;
    model.samplers.push_back(sampler);
    tinygltf::Texture texture;
    texture.sampler = 0;
    texture.source = 0;
    model.textures.push_back(texture);
    tinygltf::Material material;
    material.name = name;
    material.pbrMetallicRoughness.baseColorTexture.index = 0;
    material.pbrMetallicRoughness.metallicFactor = 0.0;
    material.pbrMetallicRoughness.roughnessFactor = 1.0;
    model.materials.push_back(material);
}

void addAnimations(tinygltf::Model& model, BufferWriter& buffer, const Mesh& mesh, const GltfOptions& options) {
    const std::size_t targets = mesh.frames.size() - 1;
    for (const FrameGroup& group : frameGroups(mesh)) {
        std::vector<float> times, weights;
        for (int k = 0; k < group.count; ++k) {
            times.push_back(static_cast<float>(k / options.framesPerSecond));
            const std::size_t at = weights.size();
            weights.resize(at + targets, 0.0f);
            // Frame 0 is the base: its weights are all zero.
            if (const int frame = group.first + k; frame > 0) weights[at + std::size_t(frame - 1)] = 1.0f;
        }
        tinygltf::AnimationSampler sampler;
        sampler.input = buffer.floats(times, TINYGLTF_TYPE_SCALAR, 1, 0, true);
        sampler.output = buffer.floats(weights, TINYGLTF_TYPE_SCALAR, 1, 0, false);
        sampler.interpolation = options.step ? "STEP" : "LINEAR";
        tinygltf::AnimationChannel channel;
        channel.sampler = 0;
        channel.target_node = 0;
        channel.target_path = "weights";
        tinygltf::Animation animation;
        animation.name = group.name;
        animation.samplers.push_back(sampler);
        animation.channels.push_back(channel);
        model.animations.push_back(animation);
    }
}

}  // namespace

std::vector<FrameGroup> frameGroups(const Mesh& mesh) {
    std::vector<std::string> names;
    for (const Frame& f : mesh.frames) names.push_back(f.name);
    std::vector<FrameGroup> out;
    for (int f = 0; f < static_cast<int>(names.size());) {
        const FrameSpan span = animationSpan(names, f);
        out.push_back({animationName(names[std::size_t(f)]), f, std::max(span.count, 1)});
        f += std::max(span.count, 1);
    }
    return out;
}

GltfEncode encodeGltf(const Mesh& mesh, const SkinList& skins, const Bytes& sourceImage, const GltfOptions& options) {
    GltfEncode result;
    if (mesh.frames.empty() || mesh.triangleCount <= 0) {
        result.error = "The model has no frames or no triangles to export.";
        return result;
    }
    if (!(options.framesPerSecond > 0.0) || !std::isfinite(options.framesPerSecond)) {
        result.error = "The frame rate must be a positive number.";
        return result;
    }
    for (const Frame& f : mesh.frames)
        if (f.positions.size() < std::size_t(std::max<int>(mesh.vertexCount, 0))) {
            result.error = "A frame of the model holds fewer vertices than the model says.";
            return result;
        }
    const VertexSplit split = splitByMapping(mesh);
    const std::vector<std::vector<Vec3f>> normals = frameNormals(mesh, sourceImage);

    tinygltf::Model model;
    model.asset.version = "2.0";
    model.asset.generator = "TARN";
    BufferWriter buffer(model);

    // The format winds its faces clockwise seen from outside; glTF counter-clockwise.
    std::vector<std::uint16_t> indices(split.corners.size());
    for (std::size_t i = 0; i + 2 < split.corners.size(); i += 3) {
        indices[i] = split.corners[i];
        indices[i + 1] = split.corners[i + 2];
        indices[i + 2] = split.corners[i + 1];
    }
    auto attribute = [&](std::size_t frame, bool normal) {
        std::vector<float> out;
        out.reserve(split.vertices.size() * 3);
        for (const SplitVertex& v : split.vertices) {
            const std::size_t i = std::size_t(v.vertex);
            const Vec3f value = normal ? normals[frame][i] : mesh.frames[frame].positions[i];
            const Vec3f base = normal ? normals[0][i] : mesh.frames[0].positions[i];
            putVec(out, toGltfAxes(frame == 0 ? value : value - base));
        }
        return out;
    };

    tinygltf::Primitive primitive;
    primitive.mode = TINYGLTF_MODE_TRIANGLES;
    primitive.indices = buffer.indices(indices);
    primitive.attributes["POSITION"] = buffer.floats(attribute(0, false), TINYGLTF_TYPE_VEC3, 3,
                                                     TINYGLTF_TARGET_ARRAY_BUFFER, true);
    primitive.attributes["NORMAL"] = buffer.floats(attribute(0, true), TINYGLTF_TYPE_VEC3, 3,
                                                   TINYGLTF_TARGET_ARRAY_BUFFER, false);
    std::vector<float> uv;
    const float width = static_cast<float>(std::max<int>(mesh.skinWidth, 1));
    const float height = static_cast<float>(std::max<int>(mesh.skinHeight, 1));
    for (const SplitVertex& v : split.vertices) {
        // Texel centres: the texel a corner names is the one it is drawn from.
        const MappingVert& m = mesh.mappingVerts[std::size_t(v.mapping)];
        uv.push_back((static_cast<float>(m.s) + 0.5f) / width);
        uv.push_back((static_cast<float>(m.t) + 0.5f) / height);
    }
    primitive.attributes["TEXCOORD_0"] = buffer.floats(uv, TINYGLTF_TYPE_VEC2, 2, TINYGLTF_TARGET_ARRAY_BUFFER, false);

    tinygltf::Mesh gltfMesh;
    tinygltf::Value::Array targetNames;
    for (std::size_t f = 1; f < mesh.frames.size(); ++f) {
        std::map<std::string, int> target;
        target["POSITION"] = buffer.floats(attribute(f, false), TINYGLTF_TYPE_VEC3, 3, TINYGLTF_TARGET_ARRAY_BUFFER, true);
        target["NORMAL"] = buffer.floats(attribute(f, true), TINYGLTF_TYPE_VEC3, 3, TINYGLTF_TARGET_ARRAY_BUFFER, false);
        primitive.targets.push_back(std::move(target));
        targetNames.emplace_back(mesh.frames[f].name);
        gltfMesh.weights.push_back(0.0);
    }
    if (const Skin* skin = skins.at(options.skin); skin != nullptr && skin->width == mesh.skinWidth &&
                                                    skin->height == mesh.skinHeight &&
                                                    skin->pixels.size() >= skin->pixelCount()) {
        addSkin(model, buffer, *skin);
        primitive.material = 0;
    }
    gltfMesh.primitives.push_back(std::move(primitive));
    if (!targetNames.empty()) {
        tinygltf::Value::Object extras;
        extras["targetNames"] = tinygltf::Value(std::move(targetNames));
        gltfMesh.extras = tinygltf::Value(std::move(extras));
    }
    model.meshes.push_back(std::move(gltfMesh));
    tinygltf::Node node;
    node.mesh = 0;
    model.nodes.push_back(node);
    tinygltf::Scene scene;
    scene.nodes.push_back(0);
    model.scenes.push_back(scene);
    model.defaultScene = 0;
    if (mesh.frames.size() > 1) addAnimations(model, buffer, mesh, options);

    std::ostringstream stream;
    tinygltf::TinyGLTF writer;
    if (!writer.WriteGltfSceneToStream(&model, stream, false, options.binary)) {
        result.error = "The glTF writer failed.";
        return result;
    }
    const std::string text = stream.str();
    result.bytes.assign(text.begin(), text.end());
    return result;
}

std::string SaveGltf(const Mesh& mesh, const SkinList& skins, const Bytes& sourceImage, GltfOptions options,
                     const std::string& path) {
    const std::string name = lowerCase(path);
    options.binary = !(name.size() >= 5 && name.compare(name.size() - 5, 5, ".gltf") == 0);
    const GltfEncode encoded = encodeGltf(mesh, skins, sourceImage, options);
    if (!encoded.ok()) return encoded.error;
    if (const int error = writeFileAtomic(path, encoded.bytes); error != 0) return errorSavingMessage(error, path);
    return {};
}

}  // namespace tarn
