#include "planner/sheet_export.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace planner {

QByteArray sheetPdf(const SheetContent& content) {
    QByteArray bytes;
    {
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageOrientation(QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(content.project.isEmpty()
                            ? QStringLiteral("钢筋下料单")
                            : QStringLiteral("钢筋下料单 %1").arg(content.project));
        writer.setCreator(QStringLiteral("衡尺下料"));
        printSheet(writer, content);
    }
    return bytes;
}

} // namespace planner
