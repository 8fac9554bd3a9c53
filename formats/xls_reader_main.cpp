// hengchi-xls-reader: reads one .xls workbook with FreeXL and writes its answer (xls_answer.h) to
// standard output. Started by the programs for every .xls they open, never by a person:
//   hengchi-xls-reader FILE ROWS COLUMNS CELLS
// Its memory and processor time are limited, so that a hostile file ends this process alone.

#include "formats/freexl_sheets.h"

#include <cstdio>
#include <cstdlib>

#include <QFile>

#if defined(__unix__)
#include <sys/resource.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define HENGCHI_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HENGCHI_ADDRESS_SANITIZER 1
#endif
#endif

namespace {

void limitResources() {
#if defined(__unix__)
    // Far above what FreeXL needs for the largest workbook the limits let through.
    constexpr rlim_t kProcessorSeconds = 60;
    const rlimit cpu{kProcessorSeconds, kProcessorSeconds};
    setrlimit(RLIMIT_CPU, &cpu);
#if !defined(HENGCHI_ADDRESS_SANITIZER)
    // AddressSanitizer reserves terabytes of address space for its shadow: under it the limits
    // are the parent's time and the sanitizer's own checks.
    constexpr rlim_t kMemoryBytes = rlim_t{2} * 1024 * 1024 * 1024;
    const rlimit memory{kMemoryBytes, kMemoryBytes};
    setrlimit(RLIMIT_AS, &memory);
#endif
#endif
}

} // namespace

int main(int argc, char** argv) {
    limitResources();
    if (argc != 5) {
        std::fputs("usage: hengchi-xls-reader FILE ROWS COLUMNS CELLS\n", stderr);
        return 2;
    }
    formats::WorkbookLimits limits;
    limits.rows = std::atoi(argv[2]);
    limits.columns = std::atoi(argv[3]);
    limits.cells = std::atoll(argv[4]);
    QFile file(QFile::decodeName(argv[1]));
    if (!file.open(QIODevice::ReadOnly) || file.size() > limits.totalBytes) {
        return 2;
    }
    const QByteArray answer = formats::freexlAnswer(file.readAll(), limits);
    return std::fwrite(answer.constData(), 1, static_cast<std::size_t>(answer.size()), stdout) ==
                       static_cast<std::size_t>(answer.size()) &&
                   std::fflush(stdout) == 0
               ? 0
               : 1;
}
