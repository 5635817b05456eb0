#pragma once
// Temporary folders for tests and the location of the shared real test data.
#include <filesystem>
#include <string>

namespace tarn::test {

// A fresh folder removed again when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const;

private:
    std::string path_;
};

// Path of a file below the shared real test data, or empty when that folder
// is not beside this checkout (tests then skip).
std::string realTestData(const std::string& relative);

}  // namespace tarn::test
