// A program that changes a yard over and over, for the tests that kill it or run two of it at
// once (process_test.cpp). Its plans are written out by hand: a commit reads only each steel's
// offcuts used and remnants.
//   yard_writer churn FILE   commits and undoes until it is killed; "ready" after its first commit
//   yard_writer race FILE N  N commits that each take one C25 3000; prints "LANDED STALE"
#include <cstdio>
#include <string>
#include <vector>

#include "tests/yard/yard_fixture.h"
#include "yard/messages.h"

namespace {

using namespace yard_test;

int fail(const yard::Error& error) {
    std::fprintf(stderr, "%s\n", yard::describe(error).toUtf8().constData());
    return 1;
}

// The plan of each churned commit: two C25 offcuts taken, a C25 and two Φ8 remnants put in.
const plan::Plan kChurn =
    planOf({group(kPlain8, {}, {{800, 2}}), group(kC25, {{3000, 1}, {2000, 1}}, {{1000, 1}})});

// The plan of each racing commit: the scarce C25 3000 and a plentiful C20 5000 together, so that
// a commit landing half would show in the C20.
const plan::Plan kRace =
    planOf({group(kC20, {{5000, 1}}, {}), group(kC25, {{3000, 1}}, {{800, 1}})});

int churn(yard::Yard& store) {
    std::vector<std::int64_t> mine;
    yard::Origin origin;
    origin.list = "churn.csv";
    for (int i = 0;; ++i) {
        if (i == 1) {
            // One commit has landed: whatever moment the kill comes at now, it comes after it.
            std::printf("ready\n");
            std::fflush(stdout);
        }
        if (i % 3 == 2 && !mine.empty()) {
            const auto undone = store.undo(mine.back());
            if (undone.error) {
                return fail(*undone.error);
            }
            mine.pop_back();
        } else {
            const auto done = store.commit(kChurn, origin);
            if (done.error) {
                return fail(*done.error);
            }
            mine.push_back(done.value.source.id);
        }
    }
}

int race(yard::Yard& store, int commits) {
    int landed = 0;
    int stale = 0;
    yard::Origin origin;
    origin.list = "race.csv";
    for (int i = 0; i < commits; ++i) {
        const auto done = store.commit(kRace, origin);
        if (!done.error) {
            ++landed;
        } else if (done.error->problem == yard::Problem::Stale) {
            ++stale;
        } else {
            return fail(*done.error);
        }
    }
    std::printf("%d %d\n", landed, stale);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        return 2;
    }
    const std::string mode = argv[1];
    yard::Options options;
    options.waitMs = 30'000; // the other writer's commits are short; never give up on them
    auto opened = yard::Yard::open(argv[2], options);
    if (opened.error) {
        return fail(*opened.error);
    }
    if (mode == "churn") {
        return churn(*opened.value);
    }
    if (mode == "race" && argc == 4) {
        return race(*opened.value, std::stoi(argv[3]));
    }
    return 2;
}
