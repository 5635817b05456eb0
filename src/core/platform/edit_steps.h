#pragma once
// Where edits announce themselves so that a history can keep them: `begin`
// comes before the state changes, `end` after it, with the name the user sees
// for the step ("Resize skins", "Fill selected", ...).
#include <string>

namespace tarn {

class EditSteps {
public:
    virtual ~EditSteps() = default;
    virtual void begin(const std::string& name) = 0;
    virtual void end() = 0;
};

}  // namespace tarn
