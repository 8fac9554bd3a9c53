#!/usr/bin/python3
# Makes examples/钢筋翻样单.xlsx, a bar-bending schedule as a bar bender keeps one in Excel: a
# title block, header captions merged over their columns, element names merged down their rows,
# counts per element times elements, grades written as names or as letters (in the 级别 column or
# before the diameter), totals as formulas with their values. Not run by the build or the tests:
# the workbook is committed; run this (it needs Debian's python3-xlsxwriter) after changing it.
import pathlib

import xlsxwriter

# GB/T 1499.1-2017 and GB/T 1499.2-2018: nominal mass per metre, kg.
MASS = {8: 0.395, 10: 0.617, 12: 0.888, 14: 1.21, 16: 1.58, 18: 2.00, 20: 2.47,
        22: 2.98, 25: 3.85, 28: 4.83}

# 构件名称, 构件数量, then per bar: 筋号, 级别, 直径 (as written), 简图, 长度, 单件根数, 接头.
# Bars longer than the 12 m stock are joined: a four-span beam's through-bars by couplers, a
# column's bars over four floors by electroslag welds, a slab's bottom bars by laps; 接头 left
# empty takes the settings' choice by diameter.
ELEMENTS = [
    ("KL1", 3, [
        ("1", "C", "25", "上部通长筋", 6456, 4, ""),
        ("2", "", "C22", "下部纵筋", 6180, 4, ""),
        ("3", "HRB400", "20", "支座负筋", 2350, 4, ""),
        ("4", "HPB300", "8", "箍筋", 1760, 32, ""),
    ]),
    ("KL2", 2, [
        ("1", "HRB400", "25", "上部通长筋", 4985, 2, ""),
        ("2", "HRB500", "25", "下部纵筋", 4720, 3, ""),
        ("3", "A", "8", "箍筋", 1560, 36, ""),
    ]),
    ("KL3", 2, [
        ("1", "C", "25", "上部通长筋", 28650, 2, "直螺纹"),
        ("2", "C", "25", "下部通长筋", 28350, 4, "直螺纹"),
    ]),
    ("KZ1", 8, [
        ("1", "HRB500", "25", "纵筋", 3180, 8, ""),
        ("2", "HRB400E", "22", "角筋", 3180, 4, ""),
        ("3", "", "C10", "箍筋", 2140, 30, ""),
    ]),
    ("KZ2", 4, [
        ("1", "HRB400E", "22", "纵筋（1-4层）", 14650, 8, "电渣压力焊"),
    ]),
    ("LB1", 2, [
        ("1", "C", "12", "X向底筋", 4350, 21, ""),
        ("2", "C", "12", "Y向底筋", 3950, 24, ""),
        ("3", "HRB400", "10", "支座负筋", 1850, 40, ""),
    ]),
    ("LB2", 1, [
        ("1", "C", "12", "X向通长底筋", 16800, 24, "绑扎搭接"),
    ]),
]


def diameter_of(written: str) -> int:
    return int(written.lstrip("ABCDabcd"))


def main() -> None:
    path = pathlib.Path(__file__).with_name("钢筋翻样单.xlsx")
    book = xlsxwriter.Workbook(str(path))
    sheet = book.add_worksheet("钢筋表")
    title = book.add_format({"bold": True, "font_size": 16, "align": "center"})
    caption = book.add_format({"bold": True, "align": "center", "valign": "vcenter", "border": 1,
                               "bg_color": "#D9E1F2"})
    cell = book.add_format({"border": 1, "align": "center", "valign": "vcenter"})
    kg = book.add_format({"border": 1, "num_format": "0.00"})

    sheet.merge_range("A1:K1", "钢筋翻样单", title)
    sheet.merge_range("A2:F2", "工程名称：某住宅楼 3# 楼  二层梁柱板")
    sheet.merge_range("G2:K2", "编制：张工    日期：2026-12-07")
    sheet.merge_range("A3:B3", "构件", caption)
    sheet.merge_range("C3:G3", "钢筋", caption)
    sheet.merge_range("H3:I3", "数量", caption)
    sheet.write("J3", "重量", caption)
    sheet.write("K3", "连接", caption)
    names = ["构件名称", "构件数量", "筋号", "级别", "直径", "钢筋简图", "长度(mm)",
             "根数", "总根数", "总重(kg)", "接头"]
    sheet.write_row("A4", names, caption)
    sheet.set_column("A:A", 10)
    sheet.set_column("F:F", 14)
    sheet.set_column("G:K", 10)

    row = 4  # zero-based: Excel's row 5
    for name, elements, bars in ELEMENTS:
        first = row
        for mark, grade, diameter, sketch, length, per_element, joint in bars:
            excel = row + 1
            total = elements * per_element
            sheet.write(row, 2, mark, cell)
            sheet.write(row, 3, grade, cell)
            sheet.write(row, 4, diameter if not diameter.isdigit() else int(diameter), cell)
            sheet.write(row, 5, sketch, cell)
            sheet.write_number(row, 6, length, cell)
            sheet.write_number(row, 7, per_element, cell)
            sheet.write_formula(row, 8, f"=B{first + 1}*H{excel}", cell, total)
            mass = MASS[diameter_of(diameter)]
            sheet.write_formula(row, 9, f"=G{excel}*I{excel}*{mass}/1000", kg,
                                round(length * total * mass / 1000, 2))
            sheet.write(row, 10, joint, cell)
            row += 1
        if row - 1 > first:
            sheet.merge_range(first, 0, row - 1, 0, name, cell)
            sheet.merge_range(first, 1, row - 1, 1, elements, cell)
        else:
            sheet.write(first, 0, name, cell)
            sheet.write_number(first, 1, elements, cell)
    book.close()


if __name__ == "__main__":
    main()
