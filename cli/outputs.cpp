#include "cli/outputs.h"

#include "formats/plan_json.h"
#include "formats/plan_text.h"
#include "formats/sheet_files.h"

#include <memory>
#include <vector>

#include <QSaveFile>

namespace cli {
namespace {

struct Output {
    QString path; // "-": standard output
    QByteArray bytes;
};

} // namespace

QString writeOutputs(const Arguments& arguments, const plan::Plan& plan, const QString& project,
                     QIODevice& out) {
    if (!arguments.json && !arguments.csv && !arguments.xlsx) {
        out.write(formats::planText(plan, project).toUtf8());
        return {};
    }
    std::vector<Output> outputs;
    if (arguments.json) {
        outputs.push_back({*arguments.json, formats::planJson(plan)});
    }
    if (arguments.csv) {
        outputs.push_back({*arguments.csv, formats::sheetCsv(plan)});
    }
    if (arguments.xlsx) {
        formats::Workbook book = formats::sheetXlsx(plan);
        if (!book.error.isEmpty()) {
            return book.error;
        }
        outputs.push_back({*arguments.xlsx, std::move(book.bytes)});
    }

    // Every file is opened and written before any is put in place, so that one that cannot be
    // written stops them all.
    std::vector<std::unique_ptr<QSaveFile>> files;
    for (const Output& o : outputs) {
        if (o.path == u"-") {
            continue;
        }
        auto file = std::make_unique<QSaveFile>(o.path);
        if (!file->open(QIODevice::WriteOnly) || file->write(o.bytes) != o.bytes.size()) {
            return QStringLiteral("无法写入“%1”（%2）").arg(o.path, file->errorString());
        }
        files.push_back(std::move(file));
    }
    for (const auto& file : files) {
        if (!file->commit()) {
            return QStringLiteral("无法保存“%1”（%2）").arg(file->fileName(), file->errorString());
        }
    }
    for (const Output& o : outputs) {
        if (o.path == u"-") {
            out.write(o.bytes);
        }
    }
    return {};
}

} // namespace cli
