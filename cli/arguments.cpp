#include "cli/arguments.h"

#include "formats/messages.h"
#include "formats/setting_text.h"
#include "plan/list.h"

#include <QCommandLineParser>

namespace cli {
namespace {

std::optional<QString> valueOf(const QCommandLineParser& parser, const QCommandLineOption& o) {
    return parser.isSet(o) ? std::optional(parser.value(o)) : std::nullopt;
}

QString text(const std::string& utf8) {
    return QString::fromStdString(utf8);
}

// The options of long bars' joints, their defaults from the planning library's own.
struct JointOptions {
    plan::joints::JointSettings defaults{};
    QCommandLineOption concrete{QStringLiteral("concrete"),
                                QStringLiteral("混凝土强度等级，用来查搭接长度（默认 %1）。")
                                    .arg(text(formats::concreteText(defaults.concrete))),
                                QStringLiteral("CLASS")};
    QCommandLineOption seismic{
        QStringLiteral("seismic"),
        QStringLiteral("抗震等级：一级、二级、三级、四级或非抗震（默认 %1）。")
            .arg(text(formats::seismicText(defaults.seismic))),
        QStringLiteral("LEVEL")};
    QCommandLineOption couplerAbove{
        QStringLiteral("coupler-above"),
        QStringLiteral("直径大于此值（毫米）的长钢筋用机械连接，其余绑扎搭接（默认 %1）。")
            .arg(text(formats::diameterText(defaults.couplerAbove))),
        QStringLiteral("MM")};
    QCommandLineOption lapShare{
        QStringLiteral("lap-share"),
        QStringLiteral("绑扎搭接的接头率：%1（默认 %2）。")
            .arg(formats::sharesAllowedText(), text(formats::shareText(defaults.lapShare))),
        QStringLiteral("N")};
    QCommandLineOption mechanicalShare{
        QStringLiteral("mechanical-share"),
        QStringLiteral("机械连接和焊接的接头率：%1（默认 %2）。")
            .arg(formats::sharesAllowedText(), text(formats::shareText(defaults.mechanicalShare))),
        QStringLiteral("N")};
    QCommandLineOption shortestSegment{
        QStringLiteral("shortest-segment"),
        QStringLiteral("长钢筋每段不含搭接的最短长度，毫米（默认 %1）。")
            .arg(defaults.shortestSegment),
        QStringLiteral("MM")};
    QCommandLineOption buttAllowance{
        QStringLiteral("butt-allowance"),
        QStringLiteral("每个对焊接头烧掉的长度，毫米（默认 %1）。").arg(defaults.buttAllowance),
        QStringLiteral("MM")};
    QCommandLineOption extraJoint{QStringLiteral("extra-joint"),
                                  QStringLiteral("长钢筋可以比最少多一个接头，如果这样更省料。")};
    QCommandLineOption byCost{
        QStringLiteral("by-cost"),
        QStringLiteral("长钢筋按造价接长：钢材和接头合计最省，接头多用几个也行，只要省下的钢材"
                       "比接头贵。")};
    QCommandLineOption steelPrice{
        QStringLiteral("steel-price"),
        QStringLiteral("钢材单价，元/吨（默认 %1）。")
            .arg(text(formats::yuanText(defaults.prices.steelFenPerTonne))),
        QStringLiteral("YUAN")};
    QCommandLineOption jointPrice{
        QStringLiteral("joint-price"),
        QStringLiteral("每个接头的单价，元，按接头方式，如 机械连接=8;焊接=5（默认 %1）。")
            .arg(text(formats::jointPricesText(defaults.prices.jointFen))),
        QStringLiteral("LIST")};
};

// The options of the yard (余料库).
struct YardOptions {
    QCommandLineOption yard{QStringLiteral("yard"),
                            QStringLiteral("余料库文件（SQLite）：先用库里同种钢筋的余料下料，"
                                           "代替清单里的 #余料。"),
                            QStringLiteral("FILE")};
    QCommandLineOption commit{
        QStringLiteral("commit"),
        QStringLiteral("确认下料：优化后从余料库取出方案用到的余料，放回不短于最短余料的料头，"
                       "一次完成；余料库已变（方案用到的余料已被取走）时拒绝，什么也不改。"
                       "要与 --yard 同用。")};
    QCommandLineOption place{QStringLiteral("place"),
                             QStringLiteral("确认下料时放回的余料的堆放位置。"),
                             QStringLiteral("TEXT")};
    QCommandLineOption undoCommit{
        QStringLiteral("undo-commit"),
        QStringLiteral("撤销余料库里第 ID 号确认下料：取出的余料放回原处，放回的料头取走。"),
        QStringLiteral("ID")};
    QCommandLineOption yardImport{
        QStringLiteral("yard-import"),
        QStringLiteral("把余料文件（级别、直径、长度、根数、位置列的 CSV 或 Excel 工作簿）"
                       "的各行一次加入余料库。"),
        QStringLiteral("FILE")};
    QCommandLineOption scrapBelow{QStringLiteral("scrap-below"),
                                  QStringLiteral("把余料库里短于此长度（毫米）的余料报废。"),
                                  QStringLiteral("MM")};
    QCommandLineOption yardCsv{
        QStringLiteral("yard-csv"),
        QStringLiteral("把余料库写成余料文件（CSV，可用 --offcuts 或 --yard-import 读回）；"
                       "- 表示标准输出。"),
        QStringLiteral("FILE|-")};
    QCommandLineOption yardXlsx{QStringLiteral("yard-xlsx"),
                                QStringLiteral("把余料库写成 Excel 工作簿（.xlsx）。"),
                                QStringLiteral("FILE")};
    QCommandLineOption yardHistory{
        QStringLiteral("yard-history"),
        QStringLiteral("列出余料库的记录：每次确认下料、导入、手工修改和报废，最新的在前。")};
};

} // namespace

Parsed parseArguments(const QStringList& command) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("衡尺下料：按钢筋下料单算出用新钢材最少的切割方案，并证明它是否最省。"));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption stock(
        QStringLiteral("stock"), QStringLiteral("原材长度，毫米，用逗号分开（默认 9000,12000）。"),
        QStringLiteral("MM,MM"));
    const QCommandLineOption offcuts(QStringLiteral("offcuts"),
                                     QStringLiteral("库存余料文件（直径、长度、根数三列）。"),
                                     QStringLiteral("FILE"));
    const QCommandLineOption kerf(QStringLiteral("kerf"),
                                  QStringLiteral("每刀锯口损耗，毫米（默认 0：钢筋是剪断的）。"),
                                  QStringLiteral("MM"));
    const QCommandLineOption keep(QStringLiteral("keep"),
                                  QStringLiteral("可回库的最短余料，毫米（默认 500）。"),
                                  QStringLiteral("MM"));
    const QCommandLineOption seconds(QStringLiteral("seconds"),
                                     QStringLiteral("搜索时限，秒（默认 10）。"),
                                     QStringLiteral("S"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("把方案写成 JSON；- 表示标准输出。"),
                                  QStringLiteral("FILE|-"));
    const QCommandLineOption csv(
        QStringLiteral("csv"),
        QStringLiteral("把下料单写成 CSV（Excel 可直接打开）；- 表示标准输出。"),
        QStringLiteral("FILE|-"));
    const QCommandLineOption xlsx(QStringLiteral("xlsx"),
                                  QStringLiteral("把下料单写成 Excel 工作簿（.xlsx）。"),
                                  QStringLiteral("FILE"));
    const QCommandLineOption sheet(
        QStringLiteral("sheet"),
        QStringLiteral("清单是 Excel 工作簿时，读取这张工作表（默认：第一张含清单表头的工作表）。"),
        QStringLiteral("NAME"));
    const QCommandLineOption grades(
        QStringLiteral("grades"),
        QStringLiteral("牌号表文件（代号、牌号两列的 CSV），代替清单里的 #牌号 和默认的 "
                       "A=HPB300、B=HRB335、C=HRB400、D=HRB500、CE=HRB400E、DE=HRB500E。"),
        QStringLiteral("FILE"));
    const QCommandLineOption grade(QStringLiteral("grade"),
                                   QStringLiteral("改或添牌号表的一行，如 C=HRB400E；可以给多次。"),
                                   QStringLiteral("CODE=GRADE"));
    const QCommandLineOption floor(
        QStringLiteral("floor"),
        QStringLiteral("只下料这一楼层（清单的 楼层 列或明细表的 楼层名称 行）；可以给多次，"
                       "或写 首层..第3层 按清单里的顺序取一段。确认下料时记在记录里；"
                       "清单没有楼层时，它就是这份清单所属的楼层（只能给一个）。"),
        QStringLiteral("NAME"));
    const QCommandLineOption byFloor(
        QStringLiteral("by-floor"),
        QStringLiteral("按清单里楼层的顺序逐层下料，每层先用前面各层留下的余料。"));
    parser.addOptions({stock, offcuts, kerf, keep, seconds, json, csv, xlsx, sheet, grades, grade,
                       floor, byFloor});
    const JointOptions joints;
    parser.addOptions({joints.concrete, joints.seismic, joints.couplerAbove, joints.lapShare,
                       joints.mechanicalShare, joints.shortestSegment, joints.buttAllowance,
                       joints.extraJoint, joints.byCost, joints.steelPrice, joints.jointPrice});
    const YardOptions yard;
    parser.addOptions({yard.yard, yard.commit, yard.place, yard.undoCommit, yard.yardImport,
                       yard.scrapBelow, yard.yardCsv, yard.yardXlsx, yard.yardHistory});
    parser.addPositionalArgument(
        QStringLiteral("PIECES.csv"),
        QStringLiteral("钢筋下料单：表头含 编号、直径、长度、根数 列的 CSV 文件"
                       "（UTF-8 或 GB18030 编码），或 Excel 工作簿（.xlsx、.xls）。"));

    Parsed out;
    if (!parser.parse(command)) {
        out.text = parser.errorText();
        return out;
    }
    if (parser.isSet(help)) {
        return {Request::Help, {}, parser.helpText()};
    }
    if (parser.isSet(version)) {
        return {Request::Version,
                {},
                QStringLiteral("hengchi-plan %1\n").arg(QStringLiteral(HENGCHI_VERSION))};
    }
    Arguments& a = out.arguments;
    a.yard = valueOf(parser, yard.yard);
    a.commit = parser.isSet(yard.commit);
    a.place = valueOf(parser, yard.place);
    a.undoCommit = valueOf(parser, yard.undoCommit);
    a.yardImport = valueOf(parser, yard.yardImport);
    a.scrapBelow = valueOf(parser, yard.scrapBelow);
    a.yardCsv = valueOf(parser, yard.yardCsv);
    a.yardXlsx = valueOf(parser, yard.yardXlsx);
    a.yardHistory = parser.isSet(yard.yardHistory);
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1) {
        out.text = QStringLiteral("只能给出一个清单文件。");
        return out;
    }
    if (files.isEmpty() && !a.yardOnly()) {
        out.text = QStringLiteral("没有给出清单文件。");
        return out;
    }
    a.pieces = files.value(0);
    a.offcuts = valueOf(parser, offcuts);
    a.stock = valueOf(parser, stock);
    a.kerf = valueOf(parser, kerf);
    a.keep = valueOf(parser, keep);
    a.seconds = valueOf(parser, seconds);
    a.json = valueOf(parser, json);
    a.csv = valueOf(parser, csv);
    a.xlsx = valueOf(parser, xlsx);
    a.sheet = valueOf(parser, sheet);
    a.grades = valueOf(parser, grades);
    a.grade = parser.values(grade);
    a.concrete = valueOf(parser, joints.concrete);
    a.seismic = valueOf(parser, joints.seismic);
    a.couplerAbove = valueOf(parser, joints.couplerAbove);
    a.lapShare = valueOf(parser, joints.lapShare);
    a.mechanicalShare = valueOf(parser, joints.mechanicalShare);
    a.shortestSegment = valueOf(parser, joints.shortestSegment);
    a.buttAllowance = valueOf(parser, joints.buttAllowance);
    a.extraJoint = parser.isSet(joints.extraJoint);
    a.floors = parser.values(floor);
    a.byFloor = parser.isSet(byFloor);
    a.byCost = parser.isSet(joints.byCost);
    a.steelPrice = valueOf(parser, joints.steelPrice);
    a.jointPrice = valueOf(parser, joints.jointPrice);
    out.request = Request::Plan;
    return out;
}

} // namespace cli
