#!/usr/bin/python3
# Makes examples/钢筋明细表.xlsx, a bar detail report laid out as quantity-takeoff programs export
# it: a title and the project merged over the columns, one header row, then per floor a merged
# 楼层名称 row, and per element a merged block row (构件名称 with the program's id in brackets,
# 构件数量, the element's weight) and a 构件位置 row over its bars, each bar with its 根数 per
# element, 搭接 (the joints the program counted) and 搭接形式, 单重 and 总重 as formulas with their
# values, and a subtotal row at the end of each floor. The same element names come back on every
# floor under other ids. Not run by the build or the tests: the workbook is committed; run this
# (it needs Debian's python3-xlsxwriter) after changing it.
import pathlib

import xlsxwriter

# GB/T 1499.1-2017 and GB/T 1499.2-2018: nominal mass per metre, kg.
MASS = {8: 0.395, 10: 0.617, 12: 0.888, 14: 1.21, 16: 1.58, 18: 2.00, 20: 2.47,
        22: 2.98, 25: 3.85, 28: 4.83}

# Storey heights, mm: the ground floor's columns start at the foundation's top.
FLOORS = [("首层", 4500), ("第2层", 3600), ("第3层", 3600), ("屋面层", 3600)]


def elements(height):
    """构件名称, 构件数量, 构件位置, bars: 筋号, 级别, 直径, 计算公式, 公式描述, 长度, 根数,
    搭接, 搭接形式."""
    column = height + 50 * 22 // 2  # the storey and the lap's stagger above the floor
    return [
        ("KZ1", 8, "<1,A><1,D><4,A><4,D><2,A><3,A><2,D><3,D>", [
            ("全部纵筋.1", "C", 22, f"{height}+550", "层高+错开", column, 12, 1, "电渣压力焊"),
            ("箍筋.1", "A", 8, "2*(500+500)-8*25+2*11.9*d", "周长+弯钩", 1990,
             (height // 100) + 8, 0, "绑扎"),
        ]),
        ("KZ2", 4, "<2,B><3,B><2,C><3,C>", [
            ("全部纵筋.1", "C", 25, f"{height}+625", "层高+错开", height + 625, 16, 1,
             "电渣压力焊"),
            ("箍筋.1", "A", 10, "2*(600+600)-8*25+2*11.9*d", "周长+弯钩", 2438,
             (height // 100) + 8, 0, "绑扎"),
        ]),
        ("KL1(3)", 4, "<A,1><A,4>", [
            ("1跨.上通长筋1", "C", 25, "18600+2*15*d", "净长+两端弯锚", 19350, 2, 1,
             "直螺纹连接"),
            ("1跨.左支座筋1", "C", 25, "6000/3+600-25+15*d", "延伸长度+锚固", 2950, 2, 0,
             "直螺纹连接"),
            ("1跨.下部钢筋1", "C", 22, "6000+2*37*d", "净跨+两端锚固", 7628, 3, 0, "直螺纹连接"),
            ("2跨.下部钢筋1", "C", 22, "6000+2*37*d", "净跨+两端锚固", 7628, 3, 0, "直螺纹连接"),
            ("3跨.下部钢筋1", "C", 22, "6000+2*37*d", "净跨+两端锚固", 7628, 3, 0, "直螺纹连接"),
            ("1跨.箍筋1", "A", 8, "2*(300+600)-8*25+2*11.9*d", "周长+弯钩", 1790, 42, 0,
             "绑扎"),
        ]),
        ("KL2(1)", 6, "<1,A><1,D>", [
            ("1跨.上通长筋1", "C", 20, "7200+2*15*d", "净长+两端弯锚", 7800, 2, 0, "绑扎"),
            ("1跨.下部钢筋1", "C", 20, "7200+2*37*d", "净跨+两端锚固", 8680, 3, 0, "绑扎"),
            ("1跨.箍筋1", "A", 8, "2*(250+500)-8*25+2*11.9*d", "周长+弯钩", 1490, 48, 0,
             "绑扎"),
        ]),
        ("L1(1)", 6, "<1,B><4,B>", [
            ("1跨.上通长筋1", "C", 16, "6000+2*15*d", "净长+两端弯锚", 6480, 2, 0, "绑扎"),
            ("1跨.下部钢筋1", "C", 18, "6000+2*12*d", "净跨+两端锚固", 6432, 3, 0, "绑扎"),
            ("1跨.箍筋1", "A", 8, "2*(200+400)-8*25+2*11.9*d", "周长+弯钩", 1190, 32, 0,
             "绑扎"),
        ]),
        ("LB1", 2, "<1,A><4,D>", [
            ("底筋.X方向", "C", 10, "18000+2*max(5*d,100)", "净长+两端锚固", 18200, 60, 1,
             "绑扎"),
            ("底筋.Y方向", "C", 10, "7200+2*max(5*d,100)", "净长+两端锚固", 7400, 92, 0, "绑扎"),
            ("面筋.负筋1", "C", 12, "1500+2*(120-30)", "伸入+弯折", 1680, 180, 0, "绑扎"),
        ]),
    ]


HEADER = ["筋号", "级别", "直径", "钢筋图形", "计算公式", "公式描述", "长度", "根数", "搭接",
          "损耗(%)", "单重(kg)", "总重(kg)", "钢筋归类", "搭接形式"]


def main():
    path = pathlib.Path(__file__).with_name("钢筋明细表.xlsx")
    book = xlsxwriter.Workbook(str(path))
    sheet = book.add_worksheet("钢筋明细表")
    title = book.add_format({"bold": True, "font_size": 14, "align": "center"})
    bold = book.add_format({"bold": True, "border": 1, "bg_color": "#DDDDDD"})
    band = book.add_format({"bold": True, "bg_color": "#EEF3FB"})
    floor_band = book.add_format({"bold": True, "bg_color": "#D9E5F5"})
    weight = book.add_format({"num_format": "0.000"})
    last = len(HEADER) - 1
    sheet.merge_range(0, 0, 0, last, "钢筋明细表", title)
    sheet.merge_range(1, 0, 1, last, "工程名称：某办公楼        编制日期：2026-12-01")
    for c, name in enumerate(HEADER):
        sheet.write(2, c, name, bold)
    sheet.set_column(0, 0, 16)
    sheet.set_column(4, 5, 24)
    sheet.set_column(13, 13, 12)
    row = 3
    next_id = 1001
    for floor, height in FLOORS:
        sheet.merge_range(row, 0, row, last, f"楼层名称：{floor}", floor_band)
        row += 1
        floor_total = 0.0
        for name, count, position, bars in elements(height):
            element_kg = sum(MASS[d] * length / 1000 * n * count
                             for _, _, d, _, _, length, n, _, _ in bars)
            floor_total += element_kg
            sheet.merge_range(row, 0, row, last,
                              f"构件名称：{name}[{next_id}]    构件数量：{count}    "
                              f"本构件钢筋重：{element_kg / count:.3f}kg", band)
            next_id += 1
            row += 1
            sheet.merge_range(row, 0, row, last, f"构件位置：{position}")
            row += 1
            for mark, grade, d, formula, description, length, n, laps, method in bars:
                excel = row + 1
                sheet.write_string(row, 0, mark)
                sheet.write_string(row, 1, grade)
                sheet.write_number(row, 2, d)
                sheet.write_string(row, 4, formula)
                sheet.write_string(row, 5, description)
                sheet.write_number(row, 6, length)
                sheet.write_number(row, 7, n)
                sheet.write_number(row, 8, laps)
                sheet.write_number(row, 9, 0)
                single = round(MASS[d] * length / 1000, 3)
                sheet.write_formula(row, 10, f"=ROUND({MASS[d]}*G{excel}/1000,3)", weight,
                                    single)
                sheet.write_formula(row, 11, f"=K{excel}*H{excel}", weight, round(single * n, 3))
                sheet.write_string(row, 12, "直筋" if "箍筋" not in mark else "箍筋")
                sheet.write_string(row, 13, method)
                row += 1
        sheet.write_string(row, 0, "本层合计")
        sheet.write_number(row, 11, round(floor_total, 3), weight)
        row += 1
    book.close()


if __name__ == "__main__":
    main()
