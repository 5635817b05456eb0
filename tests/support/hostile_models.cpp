#include "hostile_models.h"

#include <algorithm>
#include <cstdint>

namespace tarn::test {

Bytes skinNamesModel(const std::vector<std::string>& skinNames, int skinWidth, int skinHeight) {
    constexpr std::size_t kHeader = 68, kName = 64;
    const auto end = static_cast<std::int32_t>(kHeader + kName * skinNames.size());
    const std::int32_t fields[] = {8, skinWidth, skinHeight, 40, static_cast<std::int32_t>(skinNames.size()),
                                   0, 0, 0, 0, 0, static_cast<std::int32_t>(kHeader), end, end, end, end, end};
    Bytes f{'I', 'D', 'P', '2'};
    for (std::int32_t v : fields)
        for (int b = 0; b < 4; ++b) f.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * b)));
    for (const std::string& name : skinNames) {
        Bytes record(kName, 0);
        std::copy_n(name.begin(), std::min(name.size(), kName - 1), record.begin());
        f.insert(f.end(), record.begin(), record.end());
    }
    return f;
}

}  // namespace tarn::test
