#!/usr/bin/python3
# Makes the small .xls (BIFF8) workbooks the workbook tests read back and the fuzzer starts from.
# Run by hand with Debian's python3-xlwt (apt-get install python3-xlwt; /usr/bin/python3), and
# commit what it writes: the tests read the files and never run this script, so python3-xlwt is
# not a test dependency.
#   tests/formats/data/make_xls.py      (writes beside itself)
import os
import struct

import xlwt

here = os.path.dirname(os.path.abspath(__file__))


def list_book():
    book = xlwt.Workbook(encoding="utf-8")
    notes = book.add_sheet("说明")
    notes.write(0, 0, "本工作簿的清单在第二张工作表")
    sheet = book.add_sheet("钢筋表")
    sheet.write_merge(0, 0, 0, 4, "某某工程 钢筋下料单")
    sheet.write(1, 0, "编制：张三")
    for column, name in enumerate(["编号", "直径", "长度", "根数", "备注"]):
        sheet.write(2, column, name)
    rows = [
        ["KL1-1", 25, 6456.34, 4, "梁"],
        ["KL1-2", 22, "3000", 2, None],  # a length stored as text
        ["Z1", 20, 3200, 8, None],
    ]
    for r, row in enumerate(rows, start=3):
        for column, value in enumerate(row):
            if value is not None:
                sheet.write(r, column, value)
    sheet.write(7, 0, "#设置")
    sheet.write(8, 0, "锯口")
    sheet.write(8, 1, 3)
    return book


def encrypted(path):
    # xlwt cannot encrypt: the WRITEACCESS record after the first BOF becomes a FILEPASS record
    # (RC4, as Excel writes it for a password to open) of the same length, so that the stream
    # keeps its size and its place in the compound file.
    with open(path, "rb") as f:
        data = bytearray(f.read())
    at = data.find(struct.pack("<HH", 0x005C, 112))
    assert at > 0, "no WRITEACCESS record"
    data[at : at + 2] = struct.pack("<H", 0x002F)
    data[at + 4 : at + 10] = struct.pack("<HHH", 1, 1, 1)
    with open(path, "wb") as f:
        f.write(data)


list_book().save(os.path.join(here, "list.xls"))
list_book().save(os.path.join(here, "encrypted.xls"))
encrypted(os.path.join(here, "encrypted.xls"))
