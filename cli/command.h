#pragma once

#include <stop_token>

#include <QIODevice>
#include <QStringList>

// hengchi-plan as a function, so that its tests run it without starting a process.
namespace cli {

enum ExitCode : int {
    kPlanned = 0,    // a plan was made and written
    kNotWritten = 1, // a plan was made but an output could not be written
    kBadInput = 2,   // the command line, a file or a value is wrong: nothing was planned or written
    // The yard refused a change as things stand: the plan's offcuts are no longer all there
    // (plan again), or a commit cannot be undone. Nothing was changed or written.
    kRefused = 3,
    // The yard file could not be read or changed: damaged, another program's, of a later
    // version, read-only, locked too long, the disk full. Nothing was changed.
    kYardFailed = 4,
};

// `command` is the whole command line, the program's name first. Writes the plan or the help
// to `out`, complaints to `err`, and returns the exit code. With `progress`, `err` is a terminal
// and shows how far the search has got while it runs. A stop request ends the search early
// with the best plan found so far, written as any other.
[[nodiscard]] int runCommand(const QStringList& command, QIODevice& out, QIODevice& err,
                             bool progress = false, std::stop_token stop = {});

} // namespace cli
