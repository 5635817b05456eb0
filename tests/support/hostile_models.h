#pragma once
// Small .md2 files built to hurt, for the tests of every layer that opens
// models: they hold no frames or triangles, only a header and skin names.
#include <string>
#include <vector>

#include "platform/fs.h"

namespace tarn::test {

// A model of the given skin size whose skin-name records hold `skinNames`.
Bytes skinNamesModel(const std::vector<std::string>& skinNames, int skinWidth = 64, int skinHeight = 32);

// The 132-byte model whose one skin name climbs out to /dev/zero.
inline Bytes devZeroModel() { return skinNamesModel({"../../../../../../../../dev/zero"}); }

}  // namespace tarn::test
