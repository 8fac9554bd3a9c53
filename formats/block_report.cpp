#include "formats/block_report.h"

#include "formats/columns.h"

#include <algorithm>
#include <array>
#include <utility>

#include <QRegularExpression>

namespace formats {
namespace {

enum class Label { Element, Elements, Floor, Position, Project, Other };

struct LabelWords {
    Label label;
    std::u16string_view words;
};

// Longer words first, so that 构件数量 is not read as 构件数 and 楼层名称 not as 楼层.
constexpr std::array<LabelWords, 7> kLabels{{
    {Label::Element, u"构件名称"},
    {Label::Elements, u"构件数量"},
    {Label::Elements, u"构件数"},
    {Label::Floor, u"楼层名称"},
    {Label::Floor, u"楼层"},
    {Label::Position, u"构件位置"},
    {Label::Project, u"工程名称"},
}};

// A label's words with blanks allowed between its characters.
QString spaced(std::u16string_view words) {
    QStringList characters;
    for (const char16_t c : words) {
        characters.append(QRegularExpression::escape(QString(QChar(c))));
    }
    return characters.join(QStringLiteral("\\s*"));
}

// Inside a cell a label is its words and a colon: "构件名称：KL1", "构件 名称 : KL1". Any other
// word of Chinese before a colon is a label too (本构件钢筋重：), so that it ends the value
// before it.
const QRegularExpression& labelPattern() {
    static const QRegularExpression pattern = [] {
        QStringList known;
        for (const LabelWords& l : kLabels) {
            known.append(spaced(l.words));
        }
        return QRegularExpression(
            QStringLiteral("(?:(%1)|(\\p{Han}+))\\s*[:：]").arg(known.join(u'|')),
            QRegularExpression::UseUnicodePropertiesOption);
    }();
    return pattern;
}

// A known label's words, blanks and a colon at the end left out.
std::optional<Label> knownLabel(QString text) {
    static const QRegularExpression blanks(QStringLiteral("\\s"));
    text.remove(blanks);
    if (text.endsWith(u'：') || text.endsWith(u':')) {
        text.chop(1);
    }
    for (const LabelWords& l : kLabels) {
        if (text == QStringView(l.words)) {
            return l.label;
        }
    }
    return std::nullopt;
}

struct Labelled {
    Label label;
    QString value;
    qsizetype column; // the cell holding the label
};

// The row's cells with text, each once: a merged range repeats its text in every cell.
struct TextCell {
    QString text;
    qsizetype column;
};
std::vector<TextCell> textCells(const Record& row) {
    std::vector<TextCell> out;
    for (qsizetype at = 0; at < row.cells.size(); ++at) {
        const QString text = row.cells[at].trimmed();
        if (!isBlank(text) &&
            std::ranges::none_of(out, [&text](const TextCell& c) { return c.text == text; })) {
            out.push_back({text, at});
        }
    }
    return out;
}

// Every label of the row with its value: in one text ("构件名称：KL1  构件数量：3") or with
// the label in a cell of its own and the value in the next.
std::vector<Labelled> labelsOf(const std::vector<TextCell>& cells) {
    std::vector<Labelled> out;
    std::optional<Label> pending;
    for (const TextCell& cell : cells) {
        if (const std::optional<Label> alone = knownLabel(cell.text)) {
            pending = alone;
            out.push_back({*alone, {}, cell.column});
            continue;
        }
        QRegularExpressionMatchIterator matches = labelPattern().globalMatch(cell.text);
        if (!matches.hasNext()) {
            if (pending) {
                out.back().value = cell.text;
                pending.reset();
            }
            continue;
        }
        pending.reset();
        const qsizetype before = out.size();
        qsizetype end = 0;
        while (matches.hasNext()) {
            const QRegularExpressionMatch m = matches.next();
            if (static_cast<qsizetype>(out.size()) > before) {
                out.back().value = cell.text.mid(end, m.capturedStart() - end).trimmed();
            }
            const Label label = m.capturedLength(1) > 0 ? *knownLabel(m.captured(1)) : Label::Other;
            out.push_back({label, {}, cell.column});
            end = m.capturedEnd();
        }
        out.back().value = cell.text.mid(end).trimmed();
    }
    return out;
}

const Labelled* find(const std::vector<Labelled>& labels, Label label) {
    const auto it = std::ranges::find(labels, label, &Labelled::label);
    return it == labels.end() ? nullptr : &*it;
}

// "KL1(2)[1023]" as a site names it: KL1(2).
QString withoutId(QString name) {
    static const QRegularExpression id(QStringLiteral("\\s*[\\[［]\\s*\\d+\\s*[\\]］]\\s*$"));
    return name.remove(id).trimmed();
}

// A subtotal row: 小计, 合计, 本层合计, 总计… in its first cell with text.
bool isSubtotal(const std::vector<TextCell>& cells) {
    static const QRegularExpression words(QStringLiteral("^\\S*(小计|合计|总计)"));
    return !cells.empty() && words.match(cells.front().text).hasMatch();
}

FileError errorAt(const Record& row, qsizetype column, FileProblem problem, QString text = {}) {
    FileError error = fileError(row.line, problem, utf8(text));
    error.column = static_cast<int>(column);
    return error;
}

} // namespace

BlockLine BlockReader::read(const Record& row) {
    const std::vector<TextCell> cells = textCells(row);
    const std::vector<Labelled> labels = labelsOf(cells);
    BlockLine out;
    const Labelled* floor = find(labels, Label::Floor);
    const Labelled* element = find(labels, Label::Element);
    const Labelled* elements = find(labels, Label::Elements);
    const Labelled* position = find(labels, Label::Position);
    if (floor != nullptr || element != nullptr) {
        // The block before has ended, and with it the bars a broken one holds.
        if (broken_) {
            out.kind = BlockLine::Kind::Error;
            out.error = std::exchange(broken_, std::nullopt);
        }
    }
    if (floor != nullptr) {
        floor_ = floor->value;
        // The bars under a new floor belong to its blocks, not to the last one above it.
        element_.reset();
        position_.clear();
    }
    if (element != nullptr) {
        if (out.kind != BlockLine::Kind::Error) {
            out.kind = BlockLine::Kind::Structure;
        }
        element_.reset();
        position_.clear();
        // The count is the first word after its label ("3", "3件"), full-width digits as any.
        static const QRegularExpression spaces(QStringLiteral("\\s+"));
        static const QRegularExpression unit(QStringLiteral("[件个]$"));
        const QString count = elements == nullptr
                                  ? QString()
                                  : elements->value.normalized(QString::NormalizationForm_KC)
                                        .split(spaces, Qt::SkipEmptyParts)
                                        .value(0)
                                        .remove(unit);
        static const QRegularExpression whole(QStringLiteral("^\\+?\\d{1,9}$"));
        if (!whole.match(count).hasMatch()) {
            broken_ = errorAt(row, elements == nullptr ? element->column : elements->column,
                              FileProblem::ElementWithoutCount, withoutId(element->value));
            return out;
        }
        if (count.toLongLong() == 0) {
            broken_ =
                errorAt(row, elements->column, FileProblem::NoElements, withoutId(element->value));
            return out;
        }
        element_ = withoutId(element->value);
        elements_ = QString::number(count.toLongLong());
        return out;
    }
    if (position != nullptr) {
        position_ = position->value;
    }
    if (floor != nullptr || position != nullptr) {
        if (out.kind != BlockLine::Kind::Error) {
            out.kind = BlockLine::Kind::Structure;
        }
        return out;
    }
    const auto filled = [&row](qsizetype at) {
        return at >= 0 && at < row.cells.size() && !isBlank(row.cells[at]);
    };
    // A figure in 直径, 长度 or 根数 makes a bar; a 筋号 alone does too, unless the row is a
    // labelled text ("本层钢筋总重：98kg") that merely starts in that column.
    const bool bar = std::ranges::any_of(barColumns_.begin() + 1, barColumns_.end(), filled) ||
                     (filled(barColumns_.front()) && labels.empty());
    if (!bar || isSubtotal(cells)) {
        out.kind = BlockLine::Kind::Note;
        QStringList texts;
        for (const TextCell& cell : cells) {
            texts.append(cell.text);
        }
        out.note = texts.join(QStringLiteral("  "));
        return out;
    }
    if (broken_) {
        ++broken_->limit;
        out.kind = BlockLine::Kind::Skipped;
        return out;
    }
    if (!element_) {
        out.kind = BlockLine::Kind::Error;
        const auto first = std::ranges::find_if(barColumns_, [&row](qsizetype at) {
            return at >= 0 && at < row.cells.size() && !isBlank(row.cells[at]);
        });
        out.error = errorAt(row, *first, FileProblem::BarBeforeElement);
        return out;
    }
    out.kind = BlockLine::Kind::Bar;
    out.element = *element_;
    out.elements = elements_;
    out.floor = floor_;
    out.position = position_;
    return out;
}

std::optional<FileError> BlockReader::finished() {
    return std::exchange(broken_, std::nullopt);
}

std::optional<QString> reportProject(const std::vector<Record>& rows, std::size_t header) {
    for (std::size_t i = 0; i < header && i < rows.size(); ++i) {
        const std::vector<Labelled> labels = labelsOf(textCells(rows[i]));
        if (const Labelled* project = find(labels, Label::Project);
            project != nullptr && !project->value.isEmpty()) {
            return project->value;
        }
    }
    return std::nullopt;
}

} // namespace formats
