#include "formats/decode.h"

#include <string>

#include <QStringEncoder>

#include <gtest/gtest.h>

#include "qt_print.h"

namespace {

using formats::decode;
using formats::Encoding;

const QString kText =
    QStringLiteral("编号,直径,长度,根数\r\nKL1-1,Φ12,６４５７,4\r\n箍筋Ⅱ,8,1560,20\r\n");

QByteArray encoded(const char* encoding, const QString& text) {
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

struct Bytes {
    const char* name;
    QByteArray bytes;
    Encoding encoding;
};

class Decode : public testing::TestWithParam<Bytes> {};

TEST_P(Decode, ReadsTheSameTextFromEachEncoding) {
    const formats::Decoded got = decode(GetParam().bytes);
    EXPECT_EQ(got.badLine, 0);
    EXPECT_EQ(got.encoding, GetParam().encoding);
    EXPECT_EQ(got.text, kText);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Encodings, Decode, testing::Values(
    Bytes{"Utf8", kText.toUtf8(), Encoding::Utf8},
    Bytes{"Utf8WithBom", QByteArray("\xEF\xBB\xBF") + kText.toUtf8(), Encoding::Utf8WithBom},
    Bytes{"Gb18030", encoded("GB18030", kText), Encoding::Gb18030},
    Bytes{"Utf16LittleEndian", QByteArray("\xFF\xFE") + encoded("UTF-16LE", kText), Encoding::Utf16},
    Bytes{"Utf16BigEndian", QByteArray("\xFE\xFF") + encoded("UTF-16BE", kText), Encoding::Utf16}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Decode, ReadsGbkBytesAsExcelWritesThem) {
    // 编号,直径 in the GBK code page, as Excel on Chinese Windows saves it; written out by hand
    // so that the test does not trust the same converter it checks.
    const formats::Decoded got = decode(QByteArray("\xB1\xE0\xBA\xC5,\xD6\xB1\xBE\xB6\r\n"));
    EXPECT_EQ(got.encoding, Encoding::Gb18030);
    EXPECT_EQ(got.text, QStringLiteral("编号,直径\r\n"));
}

struct Bad {
    const char* name;
    QByteArray bytes;
    int badLine;
};

class Unreadable : public testing::TestWithParam<Bad> {};

TEST_P(Unreadable, NamesTheFirstLineNeitherEncodingReads) {
    const formats::Decoded got = decode(GetParam().bytes);
    EXPECT_EQ(got.badLine, GetParam().badLine);
    EXPECT_TRUE(got.text.isEmpty());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Bytes, Unreadable, testing::Values(
    Bad{"ByteFF", QByteArray("a,b\r\nc\xFF\r\n"), 2},
    Bad{"Byte80", QByteArray("a\n\nb\n\x80\n"), 4},
    Bad{"CharacterCutAtTheEnd", QByteArray("a\n\xB1"), 2},
    Bad{"BomThenNotUtf8", QByteArray("\xEF\xBB\xBF" "a\n\xB1\xE0\n"), 2}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
