#include "edit/mapping_file.h"

#include "platform/refresh.h"
#include "platform/ui.h"

namespace tarn {

namespace {

bool indicesFit(const Mesh& mesh, const KmapFile& file) {
    for (const KmapRecord& r : file.records) {
        for (std::size_t k = 0; k < 3; ++k) {
            if (r.mapping[k] < 0 || r.mapping[k] >= kMaxMappingVerts) return false;
            if (r.vertex[k] < 0 || r.vertex[k] >= mesh.vertexCount) return false;
        }
    }
    return true;
}

std::array<MappingVert, 3> rescaledCorners(const Mesh& mesh, const KmapFile& file, const KmapRecord& r) {
    std::array<MappingVert, 3> out{};
    for (std::size_t k = 0; k < 3; ++k)
        out[k] = RescaleVert(r.corner[k], file.width, file.height, mesh.skinWidth, mesh.skinHeight);
    return out;
}

FileDialogRequest kmapRequest(bool open) {
    FileDialogRequest r;
    r.filter = kKmapFilter;
    r.initialName = kKmapInitialName;
    r.mustExist = open;
    return r;
}

void importCommand(MappingFileContext& c, ImportScope scope) {
    const auto chosen = askOpenPath(c.ui, c.settings, c.folders, kmapRequest(true));
    if (!chosen) return;
    if (ImportMapping(c.ui, c.mesh, appendExtensionIfNone(chosen->path, kKmapExtension), scope, c.editor))
        c.refresh.refreshAll();
}

}  // namespace

bool ApplyKmapImport(Mesh& mesh, const KmapFile& file) {
    if (file.records.size() != static_cast<std::size_t>(std::max<int>(mesh.triangleCount, 0)) ||
        !indicesFit(mesh, file))
        return false;
    StoreMapping(mesh);
    mesh.mappingVertCount = file.mappingVertCount;
    for (std::size_t i = 0; i < file.records.size(); ++i) {
        const KmapRecord& r = file.records[i];
        Triangle& tri = mesh.triangles[i];
        tri.corner = rescaledCorners(mesh, file, r);
        tri.mapping = r.mapping;
        tri.vertex = r.vertex;
        for (std::size_t k = 0; k < 3; ++k) mesh.mappingVerts[static_cast<std::size_t>(r.mapping[k])] = tri.corner[k];
    }
    MergeMappingVerts(mesh);
    return true;
}

void ApplyKmapToSelected(Mesh& mesh, const KmapFile& file) {
    StoreMapping(mesh);
    const std::size_t count = std::min(file.records.size(), static_cast<std::size_t>(std::max<int>(mesh.triangleCount, 0)));
    for (std::size_t i = 0; i < count; ++i) {
        Triangle& tri = mesh.triangles[i];
        if (tri.flags & kTriSelected) tri.corner = rescaledCorners(mesh, file, file.records[i]);
    }
    RebuildMappingVerts(mesh);
}

bool ExportMapping(Ui& ui, Mesh& mesh, const std::string& path) {
    MergeMappingVerts(mesh);
    if (const int error = writeFileAtomic(path, EncodeKmap(mesh))) {
        ui.message(errorSavingMessage(error, path));
        return false;
    }
    return true;
}

bool ImportMapping(Ui& ui, Mesh& mesh, const std::string& path, ImportScope scope, const MappingEditor& editor) {
    const ReadResult read = readFile(path);
    if (!read.ok()) {
        ui.message(readFailureMessage(path, read.error));
        return false;
    }
    const KmapParse parsed = ParseKmap(read.bytes, mesh.triangleCount,
                                       scope == ImportScope::Whole ? KmapVertCount::Used : KmapVertCount::Ignored);
    if (parsed.refusal == KmapRefusal::TriangleCount) {
        ui.message(std::string(kMsgKmapTriangleCount) + "\n" + path);
        return false;
    }
    if (!parsed.ok() || (scope == ImportScope::Whole && !indicesFit(mesh, parsed.file))) {
        ui.message(std::string(kMsgKmapInvalid) + "\n" + path);
        return false;
    }
    if (scope == ImportScope::Whole)
        editor.run(mesh, kStepImportMapping, [&] { ApplyKmapImport(mesh, parsed.file); });
    else
        editor.run(mesh, kStepImportToSelected, [&] { ApplyKmapToSelected(mesh, parsed.file); });
    return true;
}

void exportMappingCommand(MappingFileContext& c) {
    FileDialogRequest request = kmapRequest(false);
    if (!c.modelPath.empty()) proposeFile(request, withExtension(c.modelPath, kKmapExtension));
    request.title = "Export the mapping";
    const auto chosen = askSavePath(c.ui, c.settings, c.folders, request);
    if (!chosen) return;
    ExportMapping(c.ui, c.mesh, appendExtensionIfNone(chosen->path, kKmapExtension));
}

void importMappingCommand(MappingFileContext& c) { importCommand(c, ImportScope::Whole); }

void importMappingToSelectedCommand(MappingFileContext& c) { importCommand(c, ImportScope::Selected); }

}  // namespace tarn
