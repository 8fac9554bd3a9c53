#include "planner/dialogs.h"

#include "window/messenger.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>

namespace planner {

StandardDialogs::StandardDialogs() : messenger_(std::make_unique<window::MessageBoxMessenger>()) {
}

StandardDialogs::~StandardDialogs() = default;

void StandardDialogs::inform(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, kPlannerTitle, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

Unsaved StandardDialogs::askUnsaved(QWidget* parent, const QString& document) {
    QMessageBox box(QMessageBox::Warning, kPlannerTitle,
                    QStringLiteral("“%1”有未保存的修改。要先保存吗？").arg(document),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Save);
    switch (box.exec()) {
    case QMessageBox::Save:
        return Unsaved::Save;
    case QMessageBox::Discard:
        return Unsaved::Discard;
    default:
        return Unsaved::Cancel;
    }
}

QString StandardDialogs::openPath(QWidget* parent, const QString& directory) {
    return QFileDialog::getOpenFileName(
        parent, QStringLiteral("打开下料清单"), directory,
        QStringLiteral("下料清单 (*.csv *.txt *.xlsx *.xls);;下料清单 (*.csv *.txt);;"
                       "工作簿 (*.xlsx *.xls);;所有文件 (*)"));
}

QString StandardDialogs::savePath(QWidget* parent, const QString& suggested,
                                  const QString& filter) {
    QFileDialog dialog(parent, QStringLiteral("保存"), suggested, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The suffix of the first pattern, so that "清单" is saved as 清单.csv.
    const qsizetype star = filter.indexOf(QStringLiteral("*."));
    if (star >= 0) {
        const qsizetype end = filter.indexOf(QRegularExpression(QStringLiteral("[ )]")), star);
        dialog.setDefaultSuffix(filter.mid(star + 2, end - star - 2));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front();
}

std::optional<ShapeRow> StandardDialogs::editShape(QWidget* parent, const ShapeRow& row) {
    ShapeDialog dialog(row, *messenger_, parent);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.row();
}

void StandardDialogs::print(QWidget* parent, const std::function<void(QPrinter&)>& paint,
                            bool preview) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    printer.setDocName(QStringLiteral("钢筋下料单"));
    if (preview) {
        QPrintPreviewDialog dialog(&printer, parent);
        dialog.setWindowTitle(QStringLiteral("打印预览"));
        QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                         [&paint](QPrinter* p) { paint(*p); });
        dialog.exec();
        return;
    }
    QPrintDialog dialog(&printer, parent);
    dialog.setWindowTitle(QStringLiteral("打印下料单"));
    if (dialog.exec() == QDialog::Accepted) {
        paint(printer);
    }
}

} // namespace planner
