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

QString textOf(const plan::Plan& plan, const QString& project) {
    return formats::planText(plan, project);
}
QString textOf(const plan::BuildingPlan& building, const QString& project) {
    return formats::buildingText(building, project);
}
QByteArray jsonOf(const plan::Plan& plan) {
    return formats::planJson(plan);
}
QByteArray jsonOf(const plan::BuildingPlan& building) {
    return formats::buildingJson(building);
}
QByteArray csvOf(const plan::Plan& plan) {
    return formats::sheetCsv(plan);
}
QByteArray csvOf(const plan::BuildingPlan& building) {
    return formats::buildingCsv(building);
}
formats::Workbook xlsxOf(const plan::Plan& plan) {
    return formats::sheetXlsx(plan);
}
formats::Workbook xlsxOf(const plan::BuildingPlan& building) {
    return formats::buildingXlsx(building);
}

template <typename Planned>
QString writeAll(const Arguments& arguments, const Planned& plan, const QString& project,
                 QIODevice& out) {
    if (!arguments.json && !arguments.csv && !arguments.xlsx) {
        out.write(textOf(plan, project).toUtf8());
        return {};
    }
    std::vector<Output> outputs;
    if (arguments.json) {
        outputs.push_back({*arguments.json, jsonOf(plan)});
    }
    if (arguments.csv) {
        outputs.push_back({*arguments.csv, csvOf(plan)});
    }
    if (arguments.xlsx) {
        formats::Workbook book = xlsxOf(plan);
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

} // namespace

QString writeOutputs(const Arguments& arguments, const plan::Plan& plan, const QString& project,
                     QIODevice& out) {
    return writeAll(arguments, plan, project, out);
}

QString writeOutputs(const Arguments& arguments, const plan::BuildingPlan& building,
                     const QString& project, QIODevice& out) {
    return writeAll(arguments, building, project, out);
}

} // namespace cli
