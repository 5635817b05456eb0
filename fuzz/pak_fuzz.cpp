// The PAK directory reader. A refused archive says why; an accepted one has
// only entries inside the file, with names that stay below the base folder,
// each found again by its name and read back whole.
#include "fuzz_support.h"
#include "platform/pak.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace tarn;
    const PakArchive::Opened opened = PakArchive::fromBytes("fuzz.pak", fuzz::bytesOf(data, size));
    if (!opened.archive) {
        TARN_FUZZ_CHECK(!opened.error.empty());
        return 0;
    }
    for (const PakEntry& entry : opened.archive->entries()) {
        TARN_FUZZ_CHECK(std::uint64_t(entry.offset) + entry.length <= size);
        TARN_FUZZ_CHECK(!entry.name.empty() && entry.name.front() != '/');
        TARN_FUZZ_CHECK(confinedName(entry.name) == toNative(entry.name));
        TARN_FUZZ_CHECK(opened.archive->find(entry.name) != nullptr);
        const ReadResult r = opened.archive->read(entry);
        TARN_FUZZ_CHECK(r.ok() && r.bytes.size() == entry.length);
    }
    return 0;
}
