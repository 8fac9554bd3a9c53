#include "formats/xlsx_reader.h"

#include "formats/sheet_grid.h"

#include <algorithm>
#include <cstring>
#include <unzip.h>

#include <QDir>
#include <QXmlStreamReader>

namespace formats {
namespace {

WorkbookError failure(WorkbookProblem problem, const QString& sheet = {}) {
    return {problem, sheet, {}};
}

// minizip reads through these: the zip is the bytes in memory, never a file.
struct MemoryFile {
    const QByteArray* bytes;
    ZPOS64_T at = 0;
};

voidpf ZCALLBACK openMemory(voidpf opaque, const void*, int) {
    return opaque;
}

uLong ZCALLBACK readMemory(voidpf, voidpf stream, void* buffer, uLong size) {
    auto* file = static_cast<MemoryFile*>(stream);
    const auto total = static_cast<ZPOS64_T>(file->bytes->size());
    const uLong n =
        file->at >= total ? 0 : static_cast<uLong>(std::min<ZPOS64_T>(size, total - file->at));
    std::memcpy(buffer, file->bytes->constData() + file->at, n);
    file->at += n;
    return n;
}

uLong ZCALLBACK writeMemory(voidpf, voidpf, const void*, uLong) {
    return 0;
}

ZPOS64_T ZCALLBACK tellMemory(voidpf, voidpf stream) {
    return static_cast<MemoryFile*>(stream)->at;
}

long ZCALLBACK seekMemory(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* file = static_cast<MemoryFile*>(stream);
    const auto total = static_cast<ZPOS64_T>(file->bytes->size());
    ZPOS64_T base = 0;
    switch (origin) {
    case ZLIB_FILEFUNC_SEEK_CUR:
        base = file->at;
        break;
    case ZLIB_FILEFUNC_SEEK_END:
        base = total;
        break;
    default:
        break;
    }
    if (offset > total || base + offset > total) {
        return -1;
    }
    file->at = base + offset;
    return 0;
}

int ZCALLBACK closeMemory(voidpf, voidpf) {
    return 0;
}

int ZCALLBACK errorMemory(voidpf, voidpf) {
    return 0;
}

// The zip and the parts read from it, within the limits. minizip is the zip library
// libxlsxwriter links; QuaZip carries its own copy of the same functions under the same names,
// which would take their place in one of the two libraries, so it cannot be used beside
// libxlsxwriter in one program.
class Archive {
public:
    Archive(const QByteArray& bytes, const WorkbookLimits& limits)
        : bytes_(bytes), file_{&bytes_}, limits_(limits) {}
    Archive(const Archive&) = delete;
    Archive& operator=(const Archive&) = delete;
    ~Archive() {
        if (zip_ != nullptr) {
            unzClose(zip_);
        }
    }

    [[nodiscard]] bool open() {
        zlib_filefunc64_def io{openMemory, readMemory,  writeMemory, tellMemory,
                               seekMemory, closeMemory, errorMemory, &file_};
        zip_ = unzOpen2_64("", &io);
        return zip_ != nullptr;
    }

    // The part's bytes, or nothing with `error` set (or unset, when there is no such part).
    std::optional<QByteArray> part(const QString& name, std::optional<WorkbookError>& error,
                                   const QString& sheet = {}) {
        constexpr int kIgnoreCase = 2;
        if (unzLocateFile(zip_, name.toUtf8().constData(), kIgnoreCase) != UNZ_OK) {
            return std::nullopt;
        }
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip_, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
            error = failure(WorkbookProblem::Corrupt);
            return std::nullopt;
        }
        if (info.uncompressed_size > quint64(limits_.partBytes)) {
            error = failure(WorkbookProblem::TooLarge, sheet);
            return std::nullopt;
        }
        if (unzOpenCurrentFile(zip_) != UNZ_OK) {
            error = failure(info.flag & 1 ? WorkbookProblem::Encrypted : WorkbookProblem::Corrupt);
            return std::nullopt;
        }
        // The sizes in the directory may lie: what is inflated is counted too.
        QByteArray data;
        std::vector<char> chunk(64 * 1024);
        for (;;) {
            const int n =
                unzReadCurrentFile(zip_, chunk.data(), static_cast<unsigned>(chunk.size()));
            if (n < 0) {
                unzCloseCurrentFile(zip_);
                error = failure(WorkbookProblem::Corrupt);
                return std::nullopt;
            }
            if (n == 0) {
                break;
            }
            read_ += n;
            if (data.size() + n > limits_.partBytes || read_ > limits_.totalBytes) {
                unzCloseCurrentFile(zip_);
                error = failure(WorkbookProblem::TooLarge, sheet);
                return std::nullopt;
            }
            data.append(chunk.data(), n);
        }
        if (unzCloseCurrentFile(zip_) != UNZ_OK) { // a CRC that does not match: damaged
            error = failure(WorkbookProblem::Corrupt);
            return std::nullopt;
        }
        return data;
    }

private:
    QByteArray bytes_;
    MemoryFile file_;
    unzFile zip_ = nullptr;
    const WorkbookLimits& limits_;
    qint64 read_ = 0;
};

bool isElement(const QXmlStreamReader& xml, QStringView name) {
    return xml.name() == name;
}

// An attribute by its local name, whatever prefix its namespace has in this file.
QString attribute(const QXmlStreamReader& xml, QStringView name, bool namespaced = false) {
    for (const QXmlStreamAttribute& a : xml.attributes()) {
        if (a.name() == name && (!namespaced || !a.namespaceUri().isEmpty())) {
            return a.value().toString();
        }
    }
    return {};
}

// A target of a relationship, as a name inside the zip.
QString resolve(const QString& folder, const QString& target) {
    if (target.startsWith(u'/')) {
        return QDir::cleanPath(target.mid(1));
    }
    return QDir::cleanPath(folder.isEmpty() ? target : folder + u'/' + target);
}

QString folderOf(const QString& part) {
    const qsizetype slash = part.lastIndexOf(u'/');
    return slash < 0 ? QString() : part.left(slash);
}

struct Relationship {
    QString id;
    QString type;
    QString target; // inside the zip
};

std::vector<Relationship> relationships(const QByteArray& xml, const QString& folder) {
    std::vector<Relationship> out;
    QXmlStreamReader reader(xml);
    while (!reader.atEnd()) {
        reader.readNext();
        if (reader.isStartElement() && isElement(reader, u"Relationship") &&
            attribute(reader, u"TargetMode") != u"External") {
            out.push_back({attribute(reader, u"Id"), attribute(reader, u"Type"),
                           resolve(folder, attribute(reader, u"Target"))});
        }
    }
    return out;
}

// The text of an <si> or <is>: its own <t>, or its runs' <t> joined; phonetic guides (<rPh>)
// are not part of the value.
QString richText(QXmlStreamReader& xml) {
    QString text;
    const QString end = xml.name().toString();
    while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
        if (xml.isEndElement() && xml.name() == end) {
            break;
        }
        if (!xml.isStartElement()) {
            continue;
        }
        if (isElement(xml, u"rPh")) {
            xml.skipCurrentElement();
        } else if (isElement(xml, u"t")) {
            text += xml.readElementText(QXmlStreamReader::SkipChildElements);
        }
    }
    return text;
}

// A number as Excel's General format shows it: 3000, 6456.34, never 3e3 or 3000.0.
QString numberText(const QString& value) {
    bool ok = false;
    const double number = value.trimmed().toDouble(&ok);
    if (!ok) {
        return value;
    }
    if (number == 0) {
        return QStringLiteral("0");
    }
    return QString::number(number, 'g', 15);
}

class WorkbookReader {
public:
    WorkbookReader(const QByteArray& bytes, const WorkbookLimits& limits)
        : archive_(bytes, limits), limits_(limits), cellsLeft_(limits.cells) {}

    WorkbookRead read() {
        if (!archive_.open()) {
            out_.error = failure(WorkbookProblem::Corrupt);
            return out_;
        }
        const QString workbook = workbookPart();
        if (out_.error) {
            return out_;
        }
        const std::optional<QByteArray> xml = archive_.part(workbook, out_.error);
        if (!xml) {
            if (!out_.error) {
                out_.error = failure(WorkbookProblem::NotWorkbook);
            }
            return out_;
        }
        const QString folder = folderOf(workbook);
        std::vector<Relationship> rels;
        // xl/workbook.xml has its relationships in xl/_rels/workbook.xml.rels.
        const QString relsName = resolve(folder, QStringLiteral("_rels/")) + u'/' +
                                 workbook.mid(workbook.lastIndexOf(u'/') + 1) +
                                 QStringLiteral(".rels");
        if (const auto relsXml = archive_.part(relsName, out_.error)) {
            rels = relationships(*relsXml, folder);
        }
        if (out_.error || !readSharedStrings(rels, folder)) {
            return out_;
        }
        readSheets(*xml, rels);
        return out_;
    }

private:
    // The package's main part, from its root relationships; xl/workbook.xml when they do not say.
    QString workbookPart() {
        if (const auto xml = archive_.part(QStringLiteral("_rels/.rels"), out_.error)) {
            for (const Relationship& r : relationships(*xml, QString())) {
                if (r.type.endsWith(u"/officeDocument")) {
                    return r.target;
                }
            }
        }
        return QStringLiteral("xl/workbook.xml");
    }

    bool readSharedStrings(const std::vector<Relationship>& rels, const QString& folder) {
        QString name = resolve(folder, QStringLiteral("sharedStrings.xml"));
        for (const Relationship& r : rels) {
            if (r.type.endsWith(u"/sharedStrings")) {
                name = r.target;
            }
        }
        const std::optional<QByteArray> bytes = archive_.part(name, out_.error);
        if (!bytes) {
            return !out_.error; // a workbook with no strings has no such part
        }
        QXmlStreamReader xml(*bytes);
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && isElement(xml, u"si")) {
                if (qsizetype(strings_.size()) >= limits_.strings) {
                    out_.error = failure(WorkbookProblem::TooLarge);
                    return false;
                }
                strings_.append(richText(xml));
            }
        }
        if (xml.hasError()) {
            out_.error = failure(WorkbookProblem::Corrupt);
            return false;
        }
        return true;
    }

    void readSheets(const QByteArray& workbookXml, const std::vector<Relationship>& rels) {
        QXmlStreamReader xml(workbookXml);
        std::vector<std::pair<QString, QString>> sheets; // name, part
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && isElement(xml, u"sheet")) {
                const QString id = attribute(xml, u"id", true);
                QString part;
                bool worksheet = false;
                for (const Relationship& r : rels) {
                    if (r.id == id) {
                        part = r.target;
                        worksheet = r.type.endsWith(u"/worksheet");
                    }
                }
                if (worksheet || part.isEmpty()) {
                    sheets.emplace_back(attribute(xml, u"name"), part);
                }
            }
        }
        if (xml.hasError()) {
            out_.error = failure(WorkbookProblem::Corrupt);
            return;
        }
        if (sheets.empty()) {
            out_.error = failure(WorkbookProblem::NotWorkbook);
            return;
        }
        for (const auto& [name, part] : sheets) {
            std::optional<QByteArray> bytes;
            if (!part.isEmpty()) {
                bytes = archive_.part(part, out_.error, name);
            }
            if (out_.error) {
                return;
            }
            if (!bytes) {
                out_.error = failure(WorkbookProblem::UnreadableSheet, name);
                return;
            }
            SheetGrid grid(limits_, cellsLeft_);
            if (!readSheet(*bytes, name, grid)) {
                return;
            }
            out_.sheets.push_back({name, grid.records()});
        }
    }

    bool readSheet(const QByteArray& bytes, const QString& name, SheetGrid& grid) {
        QXmlStreamReader xml(bytes);
        int row = 0;
        int column = -1;
        std::vector<QString> merges;
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement()) {
                continue;
            }
            if (isElement(xml, u"row")) {
                bool ok = false;
                const int r = attribute(xml, u"r").toInt(&ok);
                row = ok ? r : row + 1;
                column = -1;
            } else if (isElement(xml, u"c")) {
                if (const auto ref = cellReference(attribute(xml, u"r"))) {
                    row = ref->row;
                    column = ref->column;
                } else {
                    ++column;
                }
                if (!readCell(xml, row, column, grid)) {
                    out_.error = failure(tooLarge_ ? WorkbookProblem::TooLarge
                                                   : WorkbookProblem::UnreadableSheet,
                                         name);
                    return false;
                }
            } else if (isElement(xml, u"mergeCell")) {
                merges.push_back(attribute(xml, u"ref"));
            }
        }
        if (xml.hasError()) {
            out_.error = failure(WorkbookProblem::UnreadableSheet, name);
            return false;
        }
        for (const QString& ref : merges) {
            const QStringList corners = ref.split(u':');
            const auto first = cellReference(corners.value(0));
            const auto last = corners.size() == 2 ? cellReference(corners[1]) : first;
            if (!first || !last) {
                out_.error = failure(WorkbookProblem::UnreadableSheet, name);
                return false;
            }
            if (!grid.merge(first->row, first->column, last->row, last->column)) {
                out_.error = failure(WorkbookProblem::TooLarge, name);
                return false;
            }
        }
        return true;
    }

    // Reads the <c> the reader is on, up to its end. False when it cannot be read or is past a
    // limit (tooLarge_ says which).
    bool readCell(QXmlStreamReader& xml, int row, int column, SheetGrid& grid) {
        tooLarge_ = false;
        const QString type = attribute(xml, u"t");
        QString value;
        QString inlineText;
        bool hasInline = false;
        while (xml.readNext() != QXmlStreamReader::Invalid && !xml.atEnd()) {
            if (xml.isEndElement() && isElement(xml, u"c")) {
                break;
            }
            if (!xml.isStartElement()) {
                continue;
            }
            if (isElement(xml, u"v")) {
                value = xml.readElementText(QXmlStreamReader::SkipChildElements);
            } else if (isElement(xml, u"is")) {
                inlineText = richText(xml);
                hasInline = true;
            } else {
                xml.skipCurrentElement(); // <f>: the formula; its cached value is the <v>
            }
        }
        if (xml.hasError()) {
            return false;
        }
        QString text;
        bool quoted = false;
        if (type == u"s") {
            bool ok = false;
            const int index = value.trimmed().toInt(&ok);
            if (!value.isEmpty()) {
                if (!ok || index < 0 || index >= strings_.size()) {
                    return false;
                }
                text = strings_[index];
            }
        } else if (type == u"inlineStr") {
            text = hasInline ? inlineText : value;
        } else if (type == u"str" || type == u"d") {
            text = value;
        } else if (type == u"b") {
            text = value.isEmpty()           ? QString()
                   : value.trimmed() == u"0" ? QStringLiteral("FALSE")
                                             : QStringLiteral("TRUE");
        } else if (type == u"e") {
            text = value;
            quoted = true; // #N/A is a value shown in a cell, never a section of the list
        } else {
            text = value.isEmpty() ? QString() : numberText(value);
        }
        if (!grid.put(row, column, text, quoted)) {
            tooLarge_ = true;
            return false;
        }
        return true;
    }

    Archive archive_;
    const WorkbookLimits& limits_;
    qint64 cellsLeft_;
    QStringList strings_;
    bool tooLarge_ = false;
    WorkbookRead out_;
};

} // namespace

WorkbookRead readXlsx(const QByteArray& bytes, const WorkbookLimits& limits) {
    return WorkbookReader(bytes, limits).read();
}

} // namespace formats
