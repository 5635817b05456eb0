#include "model/mapping_edit.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace tarn {

namespace {

class MappingStep final : public HistoryStep {
public:
    MappingStep(Mesh& mesh, MappingTables before, MappingTables after)
        : mesh_(mesh), before_(std::move(before)), after_(std::move(after)) {}
    void undo() override { before_.applyTo(mesh_); }
    void redo() override { after_.applyTo(mesh_); }
    std::size_t bytes() const override { return sizeof(*this) + before_.bytes() + after_.bytes(); }

private:
    Mesh& mesh_;
    MappingTables before_;
    MappingTables after_;
};

template <typename T>
std::size_t bytesOf(const std::vector<T>& v) {
    return v.size() * sizeof(T);
}

}  // namespace

MappingTables MappingTables::of(const Mesh& mesh) {
    MappingTables t;
    const auto used = mesh.mappingVerts.begin() + std::max<std::int16_t>(mesh.mappingVertCount, 0);
    t.verts.assign(mesh.mappingVerts.begin(), used);
    const auto stored = mesh.mappingBackup.begin() + std::max<std::int16_t>(mesh.mappingBackupCount, 0);
    t.backup.assign(mesh.mappingBackup.begin(), stored);
    const int triangles = std::max<std::int16_t>(mesh.triangleCount, 0);
    for (int i = 0; i < triangles; ++i) {
        const Triangle& tri = mesh.triangles[static_cast<std::size_t>(i)];
        t.mapping.push_back(tri.mapping);
        t.corners.push_back(tri.corner);
        t.vertex.push_back(tri.vertex);
        t.backupMapping.push_back(tri.backupMapping);
    }
    return t;
}

bool MappingTables::applyTo(Mesh& mesh) const {
    if (mapping.size() != static_cast<std::size_t>(std::max<std::int16_t>(mesh.triangleCount, 0)) ||
        verts.size() > mesh.mappingVerts.size() || backup.size() > mesh.mappingBackup.size())
        return false;
    std::copy(verts.begin(), verts.end(), mesh.mappingVerts.begin());
    mesh.mappingVertCount = static_cast<std::int16_t>(verts.size());
    std::copy(backup.begin(), backup.end(), mesh.mappingBackup.begin());
    mesh.mappingBackupCount = static_cast<std::int16_t>(backup.size());
    for (std::size_t i = 0; i < mapping.size(); ++i) {
        Triangle& tri = mesh.triangles[i];
        tri.mapping = mapping[i];
        tri.corner = corners[i];
        tri.vertex = vertex[i];
        tri.backupMapping = backupMapping[i];
    }
    return true;
}

std::size_t MappingTables::bytes() const {
    return bytesOf(verts) + bytesOf(mapping) + bytesOf(corners) + bytesOf(vertex) + bytesOf(backup) +
           bytesOf(backupMapping);
}

MappingEdit::MappingEdit(History* history, Mesh& mesh) : history_(history), mesh_(&mesh), open_(history) {
    if (history_ != nullptr) before_ = MappingTables::of(mesh);
}

void MappingEdit::commit(const std::string& name) {
    open_.close();
    if (history_ == nullptr) return;
    MappingTables after = MappingTables::of(*mesh_);
    if (!(after == before_))
        history_->record(name, std::make_unique<MappingStep>(*mesh_, std::move(before_), std::move(after)));
    history_ = nullptr;
}

}  // namespace tarn
