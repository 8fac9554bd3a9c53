// The three calculations over any field texts: only their result fields ever change, and every
// run ends in a written result, the incompleteness message, or a named cause laid on one of
// the calculation's own inputs.
#include "calc/calculations.h"

#include "calc/field_store.h"
#include "calc/number_text.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "check.h"

namespace {

struct Calculation {
    calc::Outcome (*run)(calc::FieldAccess&, std::string_view);
    std::vector<std::string> inputs;
    std::vector<std::string> results;
    std::string_view incomplete;
};

const Calculation kCalculations[] = {
    {calc::one,
     {"Text1", "Text2", "Text3", "Text4", "Text5"},
     {"Text6"},
     calc::kStraightBarIncomplete},
    {calc::two,
     {"Text7", "Text8", "Text9", "Text10", "Text16", "Text11", "Text12", "Text13", "Text14"},
     {"Text15"},
     calc::kBentUpBarIncomplete},
    {calc::sw,
     {"Text17", "Text18", "Text19", "Text20", "Text21", "Text22"},
     {"Text23", "Text24"},
     calc::kStirrupIncomplete},
};

bool contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const Calculation& c = kCalculations[data[0] % 3];
    // The rest is the fields' texts, inputs then results, separated by 0x1F.
    calc::FieldStore::Texts texts;
    std::string rest(reinterpret_cast<const char*>(data + 1), size - 1);
    std::vector<std::string> names = c.inputs;
    names.insert(names.end(), c.results.begin(), c.results.end());
    names.emplace_back("Text99"); // a field of no calculation
    for (const std::string& name : names) {
        const std::size_t end = rest.find('\x1F');
        texts[name] = rest.substr(0, end);
        rest = end == std::string::npos ? std::string{} : rest.substr(end + 1);
    }

    calc::FieldStore store{texts};
    const calc::Outcome outcome = c.run(store, ".");

    for (const auto& [name, text] : store.texts()) {
        if (!contains(c.results, name)) {
            FUZZ_CHECK(texts[name] == text, "%s changed", name.c_str());
        }
    }
    for (const std::string& written : store.writes()) {
        FUZZ_CHECK(contains(c.results, written), "%s written", written.c_str());
    }
    const bool anyEmpty = std::any_of(c.inputs.begin(), c.inputs.end(),
                                      [&](const std::string& n) { return texts[n].empty(); });
    switch (outcome.status) {
    case calc::Status::Written:
        FUZZ_CHECK(!anyEmpty, "calculated with an empty input");
        FUZZ_CHECK(store.messages().empty(), "a message with a result");
        FUZZ_CHECK(store.writes() == c.results, "not every result written");
        for (const std::string& result : c.results) {
            FUZZ_CHECK(!calc::textToSingle(store.read(result)).error, "%s holds \"%s\"",
                       result.c_str(), store.read(result).c_str());
        }
        break;
    case calc::Status::Incomplete:
        FUZZ_CHECK(anyEmpty, "incomplete with every input filled");
        FUZZ_CHECK(store.messages().size() == 1 && store.messages()[0] == c.incomplete,
                   "wrong message");
        FUZZ_CHECK(store.writes().empty(), "wrote while incomplete");
        break;
    case calc::Status::Failed:
        FUZZ_CHECK(!anyEmpty, "failed with an empty input");
        FUZZ_CHECK(store.messages().empty(), "a message with a fault");
        FUZZ_CHECK(outcome.fault.field.empty() || contains(c.inputs, outcome.fault.field),
                   "fault laid on %s", outcome.fault.field.c_str());
        switch (outcome.fault.cause) {
        case calc::Cause::NotANumber:
        case calc::Cause::TooLarge:
            FUZZ_CHECK(!outcome.fault.field.empty(), "a conversion fault without a field");
            break;
        case calc::Cause::Overflow:
            break;
        case calc::Cause::DivisionByZero:
        case calc::Cause::InvalidOperation:
            FUZZ_CHECK(outcome.fault.field == "Text22", "division fault on %s",
                       outcome.fault.field.c_str());
            break;
        }
        // Only the stirrup writes a result (its length) before a later step can fail.
        FUZZ_CHECK(store.writes().empty() ||
                       (store.writes() == std::vector<std::string>{"Text23"} &&
                        (outcome.fault.field == "Text21" || outcome.fault.field == "Text22")),
                   "wrote before failing");
        break;
    }
    return 0;
}
