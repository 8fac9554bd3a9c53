#include "yard/messages.h"

#include "formats/plan_words.h"
#include "plan/list.h"

#include <QDateTime>
#include <QStringList>

#include "yard/schema.h"

namespace yard {
namespace {

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

QString shortagesText(const std::vector<Shortage>& shortages) {
    QStringList parts;
    for (const Shortage& s : shortages) {
        parts.append(QStringLiteral("%1 %2 要 %3 根，库里只有 %4 根")
                         .arg(formats::steelLabel(s.steel))
                         .arg(s.length)
                         .arg(s.wanted)
                         .arg(s.held));
    }
    return parts.join(QStringLiteral("；"));
}

} // namespace

QString describe(const Error& error) {
    switch (error.problem) {
    case Problem::Missing:
        return QStringLiteral("余料库文件不存在");
    case Problem::CannotOpen:
        return QStringLiteral("无法打开或建立余料库文件（文件夹是否存在、可写？）");
    case Problem::Damaged:
        return QStringLiteral("文件已损坏，或不是余料库（SQLite 数据库）文件；没有改动它");
    case Problem::NotAYard:
        return QStringLiteral("这是别的程序的数据库，不是衡尺的余料库；没有改动它");
    case Problem::Newer:
        return QStringLiteral("余料库由更新版本的衡尺建立（格式第 %1 版，本程序只认到第 %2 "
                              "版），请先升级衡尺；没有改动它")
            .arg(error.version)
            .arg(schema::kVersion);
    case Problem::ReadOnly:
        return QStringLiteral("余料库文件是只读的，不能写入");
    case Problem::Locked:
        return QStringLiteral("余料库正被别的程序占用，等候后仍未释放；请稍后再试，没有改动它");
    case Problem::DiskFull:
        return QStringLiteral("磁盘已满，无法写入余料库；没有改动它");
    case Problem::Failed:
        return QStringLiteral("读写余料库失败（%1）；没有改动它").arg(text(error.detail));
    case Problem::Stale:
        return QStringLiteral("余料库已变，方案用到的余料已不全在库里（%1）；没有改动余料库，"
                              "请重新优化后再确认下料")
            .arg(shortagesText(error.shortages));
    case Problem::NoEntry:
        return QStringLiteral("余料库里没有第 %1 号记录").arg(error.entry);
    case Problem::NotACommit:
        return QStringLiteral("第 %1 号记录不是确认下料，不能撤销").arg(error.entry);
    case Problem::AlreadyUndone:
        return QStringLiteral("第 %1 号确认下料已经撤销过了").arg(error.entry);
    case Problem::RemnantsTaken:
        return QStringLiteral("第 %1 号确认下料放回的余料已被取用或改动（%2），不能撤销；"
                              "没有改动余料库")
            .arg(error.entry)
            .arg(shortagesText(error.shortages));
    case Problem::Invalid:
        return QStringLiteral("数值超出余料库的范围：级别须是钢筋牌号，直径不过 %1 mm，长度不过 "
                              "%2 mm，根数须是 0 到 %3 的整数；没有改动余料库")
            .arg(plan::kMaxDiameter / 10)
            .arg(plan::kMaxLength)
            .arg(plan::kMaxCount);
    case Problem::NoRow:
        return QStringLiteral("余料库里已没有这一行余料（可能已被别处取用），请刷新后再试");
    }
    return {};
}

QString kindName(EntryKind kind) {
    switch (kind) {
    case EntryKind::Commit:
        return QStringLiteral("确认下料");
    case EntryKind::Import:
        return QStringLiteral("导入");
    case EntryKind::Hand:
        return QStringLiteral("手工");
    case EntryKind::Scrap:
        return QStringLiteral("报废");
    }
    return {};
}

QString timeText(std::int64_t seconds) {
    return QDateTime::fromSecsSinceEpoch(seconds).toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

QString movedText(const std::vector<Moved>& bars) {
    if (bars.empty()) {
        return QStringLiteral("无");
    }
    QStringList steels;
    QStringList lengths;
    const plan::Steel* steel = nullptr;
    for (const Moved& m : bars) {
        if (steel == nullptr || !(*steel == m.steel)) {
            if (steel != nullptr) {
                steels.append(formats::steelLabel(*steel) + u' ' + lengths.join(u'、'));
                lengths.clear();
            }
            steel = &m.steel;
        }
        lengths.append(QStringLiteral("%1×%2").arg(m.length).arg(m.count));
    }
    steels.append(formats::steelLabel(*steel) + u' ' + lengths.join(u'、'));
    return steels.join(QStringLiteral("；"));
}

QString originText(const Source& source) {
    QStringList parts{QStringLiteral("#%1 %2").arg(source.id).arg(kindName(source.kind))};
    for (const std::string* part : {&source.project, &source.floor, &source.list}) {
        if (!part->empty()) {
            parts.append(text(*part));
        }
    }
    return parts.join(QStringLiteral(" · "));
}

QString sourceText(const Source& source) {
    return originText(source) + QStringLiteral(" · ") + timeText(source.time);
}

QString entryText(const Entry& entry) {
    QString out = sourceText(entry.source);
    if (entry.undone) {
        out += QStringLiteral("（已于 %1 撤销）").arg(timeText(*entry.undone));
    }
    out += u'\n';
    const bool commit = entry.source.kind == EntryKind::Commit;
    if (!entry.taken.empty()) {
        out += QStringLiteral("    %1  %2\n")
                   .arg(entry.source.kind == EntryKind::Scrap ? QStringLiteral("报废")
                                                              : QStringLiteral("取出"),
                        movedText(entry.taken));
    }
    if (!entry.added.empty()) {
        out += QStringLiteral("    %1  %2\n")
                   .arg(commit ? QStringLiteral("放回") : QStringLiteral("入库"),
                        movedText(entry.added));
    }
    return out;
}

} // namespace yard
