#pragma once

#include "calc/field_access.h"

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace calc {

// Field texts kept in memory: the calculations run on it without any window, and it records
// what they wrote and which messages they asked to show.
class FieldStore final : public FieldAccess {
public:
    using Texts = std::map<std::string, std::string, std::less<>>;

    FieldStore() = default;
    explicit FieldStore(Texts texts) : texts_(std::move(texts)) {}

    // A field never set reads as empty, like a text box nobody has typed into.
    [[nodiscard]] std::string read(std::string_view field) const override;
    void write(std::string_view field, std::string text) override;
    void showMessage(std::string_view prompt) override;

    [[nodiscard]] const Texts& texts() const { return texts_; }
    [[nodiscard]] const std::vector<std::string>& messages() const { return messages_; }
    // Names of the fields written, in the order of writing.
    [[nodiscard]] const std::vector<std::string>& writes() const { return writes_; }

private:
    Texts texts_;
    std::vector<std::string> messages_;
    std::vector<std::string> writes_;
};

} // namespace calc
