#include "calc/field_store.h"

namespace calc {

std::string FieldStore::read(std::string_view field) const {
    const auto it = texts_.find(field);
    return it == texts_.end() ? std::string{} : it->second;
}

void FieldStore::write(std::string_view field, std::string text) {
    writes_.emplace_back(field);
    texts_.insert_or_assign(std::string{field}, std::move(text));
}

void FieldStore::showMessage(std::string_view prompt) {
    messages_.emplace_back(prompt);
}

} // namespace calc
