#pragma once

#include <string>
#include <string_view>

namespace calc {

// The only way the calculations reach the window. Fields are named by their control name
// ("Text1" … "Text24") and hold UTF-8 text exactly as typed; nothing is cached between reads.
class FieldAccess {
public:
    virtual ~FieldAccess() = default;

    // The field's whole current text.
    [[nodiscard]] virtual std::string read(std::string_view field) const = 0;
    // Replaces the field's whole text.
    virtual void write(std::string_view field, std::string text) = 0;
    // A modal message titled for the calculators, with one OK button; returns once it is closed.
    virtual void showMessage(std::string_view prompt) = 0;

protected:
    FieldAccess() = default;
    FieldAccess(const FieldAccess&) = default;
    FieldAccess& operator=(const FieldAccess&) = default;
};

} // namespace calc
