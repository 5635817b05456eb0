#include "edit/foreign_model.h"

#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <cmath>

#include "platform/fs.h"

namespace tarn {

namespace {

bool finite(const Vec3f& p) { return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z); }

struct Gather {
    const aiScene& scene;
    ForeignModel& out;
    std::string error;

    // Depth-first through the nodes, each mesh placed by the product of its
    // node's transforms; a hostile file's cycles cannot occur in assimp's tree,
    // but its depth is bounded anyway.
    void node(const aiNode& n, const aiMatrix4x4& parent, int depth) {
        if (!error.empty() || depth > 256) return;
        const aiMatrix4x4 placed = parent * n.mTransformation;
        for (unsigned i = 0; i < n.mNumMeshes && error.empty(); ++i) {
            if (n.mMeshes[i] >= scene.mNumMeshes) {
                error = kMsgForeignUnreadable;
                return;
            }
            mesh(*scene.mMeshes[n.mMeshes[i]], placed);
        }
        for (unsigned i = 0; i < n.mNumChildren && error.empty(); ++i)
            if (n.mChildren[i] != nullptr) node(*n.mChildren[i], placed, depth + 1);
    }

    void mesh(const aiMesh& m, const aiMatrix4x4& placed) {
        if (m.mNumFaces == 0 || !(m.mPrimitiveTypes & aiPrimitiveType_TRIANGLE)) return;
        if (m.mTextureCoords[0] == nullptr) {
            error = kMsgForeignNoUvs;
            return;
        }
        for (unsigned f = 0; f < m.mNumFaces; ++f) {
            const aiFace& face = m.mFaces[f];
            if (face.mNumIndices != 3) continue;  // points and lines left by the triangulation
            if (out.triangles.size() >= kMaxForeignTriangles) {
                error = kMsgForeignTooLarge;
                return;
            }
            ForeignTriangle t;
            for (int k = 0; k < 3; ++k) {
                const unsigned index = face.mIndices[k];
                if (index >= m.mNumVertices) {
                    error = kMsgForeignUnreadable;
                    return;
                }
                const aiVector3D p = placed * m.mVertices[index];
                const aiVector3D& uv = m.mTextureCoords[0][index];
                t.corner[std::size_t(k)] = {p.x, p.y, p.z};
                t.uv[std::size_t(k)] = {uv.x, uv.y};
                if (!finite(t.corner[std::size_t(k)]) || !std::isfinite(uv.x) || !std::isfinite(uv.y)) {
                    error = kMsgForeignNotANumber;
                    return;
                }
            }
            out.triangles.push_back(t);
        }
    }
};

}  // namespace

ForeignModel ReadForeignModel(const std::string& path) {
    ForeignModel out;
    FileIdentity identity;
    if (!isRegularFile(path) || !identifyFile(path, identity)) {
        out.error = std::string(kMsgForeignUnreadable) + "\n" + path;
        return out;
    }
    if (identity.size > kMaxReadBytes) {
        out.error = readRefusalMessage(path, EFBIG);
        return out;
    }
    Assimp::Importer importer;
    // Polygons become triangles; nothing else is changed, so corners stay where the file put them.
    const aiScene* scene = importer.ReadFile(path, aiProcess_Triangulate);
    if (scene == nullptr || scene->mRootNode == nullptr || (scene->mFlags & AI_SCENE_FLAGS_INCOMPLETE)) {
        const std::string why = importer.GetErrorString();
        out.error = std::string(kMsgForeignUnreadable) + "\n" + (why.empty() ? "" : why + "\n") + path;
        return out;
    }
    Gather gather{*scene, out, {}};
    gather.node(*scene->mRootNode, aiMatrix4x4(), 0);
    if (gather.error.empty() && out.triangles.empty()) gather.error = kMsgForeignNoTriangles;
    if (!gather.error.empty()) {
        out.triangles.clear();
        out.error = gather.error + "\n" + path;
    }
    return out;
}

}  // namespace tarn
