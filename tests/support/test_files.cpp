#include "test_files.h"

#include <random>
#include <system_error>

namespace fs = std::filesystem;

namespace tarn::test {

TempDir::TempDir() {
    std::random_device rd;
    for (;;) {
        fs::path p = fs::temp_directory_path() / ("tarn-test-" + std::to_string(rd()));
        std::error_code ec;
        if (fs::create_directory(p, ec)) {
            path_ = p.string();
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const { return (fs::path(path_) / name).string(); }

std::string realTestData(const std::string& relative) {
    fs::path p = fs::path(TARN_REAL_TESTDATA) / relative;
    std::error_code ec;
    return fs::exists(p, ec) ? p.string() : std::string();
}

}  // namespace tarn::test
