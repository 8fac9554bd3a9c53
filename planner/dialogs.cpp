#include "planner/dialogs.h"

#include "window/messenger.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

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

bool StandardDialogs::confirm(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Question, kPlannerTitle, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString StandardDialogs::chooseFile(QWidget* parent, const QString& title, const QString& directory,
                                    const QString& filter, FileUse use) {
    switch (use) {
    case FileUse::Read:
        return QFileDialog::getOpenFileName(parent, title, directory, filter);
    case FileUse::Write:
        return savePath(parent, directory, filter);
    case FileUse::ReadOrNew:
        // A yard that is there is opened, not written over: no question about replacing it.
        return QFileDialog::getSaveFileName(parent, title, directory, filter, nullptr,
                                            QFileDialog::DontConfirmOverwrite);
    }
    return {};
}

std::optional<CommitAnswer> StandardDialogs::confirmCommit(QWidget* parent,
                                                           const QString& summary) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("确认下料"));
    // A box of its own, scrolled when a list of many steels says more than fits.
    auto* text = new QPlainTextEdit(summary, &dialog);
    text->setObjectName(QStringLiteral("commitSummary"));
    text->setReadOnly(true);
    text->setMinimumSize(text->fontMetrics().averageCharWidth() * 80,
                         text->fontMetrics().lineSpacing() * 12);
    auto* floor = new QLineEdit(&dialog);
    floor->setObjectName(QStringLiteral("commitFloor"));
    floor->setPlaceholderText(QStringLiteral("如 二层，可以不填"));
    auto* place = new QLineEdit(&dialog);
    place->setObjectName(QStringLiteral("commitPlace"));
    place->setPlaceholderText(QStringLiteral("放回的余料放在哪里，可以不填"));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("楼层(&F)："), floor);
    form->addRow(QStringLiteral("余料堆放点(&P)："), place);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("确认下料"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addLayout(form);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return CommitAnswer{floor->text().trimmed(), place->text().trimmed()};
}

std::optional<int> StandardDialogs::askLength(QWidget* parent, const QString& text, int value) {
    bool ok = false;
    const int length =
        QInputDialog::getInt(parent, kPlannerTitle, text, value, 1, 1'000'000, 100, &ok);
    return ok ? std::optional(length) : std::nullopt;
}

} // namespace planner
