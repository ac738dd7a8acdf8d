#include "textio/cp936.h"

#include <gtest/gtest.h>

namespace {

using textio::decodeCp936;
using textio::encodeCp936;

struct Encoded {
    const char* text; // UTF-8
    const char* hex;  // code page 936 bytes
};

TEST(Cp936, EncodesTheProgramsTexts)
{
    const Encoded cases[] = {
        {"室外雨水水力计算表", "cad2cde2d3eacbaecbaec1a6bcc6cbe3b1ed"},
        {"是否保存计算结果？", "cac7b7f1b1a3b4e6bcc6cbe3bde1b9fba3bf"},
        {"℃", "a1e6"},
        {"‰", "a1eb"},
        {"㎡", "a94f"},
        {"€", "80"},
        {"·", "a1a4"},
        {"，。！：（）", "a3aca1a3a3a1a3baa3a8a3a9"},
        {"【GBJ 14-87 第3.2.9条】", "a1be47424a2031342d383720b5da332e322e39ccf5a1bf"},
        {"L/s 0.65", "4c2f7320302e3635"},
        {"", ""},
    };
    for (const auto& c : cases) {
        const auto result = encodeCp936(QString::fromUtf8(c.text));
        ASSERT_TRUE(result.ok()) << c.text << ": " << result.error->message.toStdString();
        EXPECT_EQ(result.bytes.toHex(), QByteArray(c.hex)) << c.text;

        const auto back = decodeCp936(result.bytes);
        ASSERT_TRUE(back.ok()) << c.text;
        EXPECT_EQ(back.text, QString::fromUtf8(c.text));
    }
}

TEST(Cp936, ReportsCharactersItCannotHold)
{
    const struct {
        QString text;
        qsizetype position;
        const char* before; // bytes written before the character
    } cases[] = {
        {QStringLiteral("m³/h"), 1, "m"},
        {QStringLiteral("m²"), 1, "m"},
        {QStringLiteral("aก"), 1, "a"},
        {QStringLiteral("ab😀c"), 2, "ab"},
        {QStringLiteral("•"), 0, ""},
        {QString(QChar(0xD800)) + QStringLiteral("x"), 0, ""},
        {QStringLiteral("x") + QChar(0xDC00), 1, "x"},
        // A language tag character: the C library would drop it silently.
        {QStringLiteral("x\U000E0041"), 1, "x"},
    };
    for (const auto& c : cases) {
        const auto result = encodeCp936(c.text);
        ASSERT_FALSE(result.ok()) << c.text.toStdString();
        EXPECT_EQ(result.error->position, c.position) << c.text.toStdString();
        EXPECT_FALSE(result.error->message.isEmpty());
        EXPECT_EQ(result.bytes, QByteArray(c.before)) << c.text.toStdString();
    }
}

TEST(Cp936, ReportsMalformedBytes)
{
    const struct {
        QByteArray bytes;
        qsizetype position;
        const char* before; // text decoded before the fault
    } cases[] = {
        {QByteArray("\x81"), 0, ""},
        {QByteArray("ab\x81"), 2, "ab"},
        {QByteArray("\x81\x20"), 0, ""},
        {QByteArray("a\x81\x7f"), 1, "a"},
        {QByteArray("\xff"), 0, ""},
        {QByteArray("\xca\xd2\xcd"), 2, "室"},
    };
    for (const auto& c : cases) {
        const auto result = decodeCp936(c.bytes);
        ASSERT_FALSE(result.ok()) << c.bytes.toHex().toStdString();
        EXPECT_EQ(result.error->position, c.position) << c.bytes.toHex().toStdString();
        EXPECT_FALSE(result.error->message.isEmpty());
        EXPECT_EQ(result.text, QString::fromUtf8(c.before));
    }
}

TEST(Cp936, DecodesLongTextsWhole)
{
    QString text;
    for (int i = 0; i < 5000; ++i) {
        text += QStringLiteral("汇流时间€ 12.5‰\r\n");
    }
    const auto encoded = encodeCp936(text);
    ASSERT_TRUE(encoded.ok());
    const auto decoded = decodeCp936(encoded.bytes);
    ASSERT_TRUE(decoded.ok());
    EXPECT_EQ(decoded.text, text);
}

} // namespace
