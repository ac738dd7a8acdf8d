#include "textio/cp936.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>

namespace textio {

namespace {

// One conversion descriptor of the C library, closed on scope exit.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }
    void reset() const { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

constexpr auto kCodePage = "CP936";

QString codePointName(char32_t cp)
{
    return QStringLiteral("U+%1").arg(static_cast<uint>(cp), 4, 16, QLatin1Char('0')).toUpper();
}

QString hexByte(uint byte)
{
    return QString::number(byte, 16).toUpper().rightJustified(2, QLatin1Char('0'));
}

CodecError converterMissing()
{
    return CodecError{QStringLiteral("系统不支持GBK(代码页936)编码转换"), 0};
}

} // namespace

EncodeResult encodeCp936(const QString& text)
{
    EncodeResult result;
    const Converter conv(kCodePage, "UTF-32LE");
    if (!conv.valid()) {
        result.error = converterMissing();
        return result;
    }
    result.bytes.reserve(text.size() * 2);

    // One character at a time, so that a character the code page cannot
    // hold is found at its own position and nothing before it is lost.
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype at = i;
        const QChar c = text[i];
        char32_t cp = c.unicode();
        bool wellFormed = true;
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            cp = QChar::surrogateToUcs4(c, text[i + 1]);
            i += 2;
        } else {
            wellFormed = !c.isSurrogate();
            i += 1;
        }
        if (!wellFormed) {
            result.error = CodecError{
                QStringLiteral("第%1个字符是不完整的Unicode代理项(%2)，无法以GBK编码保存")
                    .arg(QString::number(at + 1), codePointName(cp)),
                at};
            return result;
        }

        std::array<char, 4> in{};
        const auto cp32 = static_cast<std::uint32_t>(cp);
        for (std::size_t k = 0; k < 4; ++k) {
            in[k] = static_cast<char>((cp32 >> (8 * k)) & 0xFFu);
        }
        std::array<char, 16> out{};
        char* inPtr = in.data();
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        const std::size_t rc = iconv(conv.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        const auto written = static_cast<qsizetype>(outPtr - out.data());
        // Irreversible conversions and characters the converter swallows
        // without output (tag characters) count as unencodable, too.
        if (rc != 0 || inLeft != 0 || written == 0) {
            conv.reset();
            result.error = CodecError{
                QStringLiteral("第%1个字符“%2”(%3)无法以GBK编码保存")
                    .arg(QString::number(at + 1), text.mid(at, i - at), codePointName(cp)),
                at};
            return result;
        }
        result.bytes.append(out.data(), written);
    }
    return result;
}

DecodeResult decodeCp936(const QByteArray& bytes)
{
    DecodeResult result;
    const Converter conv("UTF-8", kCodePage);
    if (!conv.valid()) {
        result.error = converterMissing();
        return result;
    }

    QByteArray input = bytes;
    QByteArray utf8;
    // A code page 936 byte gives at most three UTF-8 bytes.
    utf8.resize(input.size() * 3 + 4);
    char* inPtr = input.data();
    std::size_t inLeft = static_cast<std::size_t>(input.size());
    char* outPtr = utf8.data();
    std::size_t outLeft = static_cast<std::size_t>(utf8.size());

    while (inLeft > 0) {
        const std::size_t rc = iconv(conv.get(), &inPtr, &inLeft, &outPtr, &outLeft);
        if (rc != static_cast<std::size_t>(-1)) {
            break;
        }
        const int err = errno;
        if (err == E2BIG) {
            const auto used = outPtr - utf8.data();
            utf8.resize(utf8.size() * 2);
            outPtr = utf8.data() + used;
            outLeft = static_cast<std::size_t>(utf8.size() - used);
            continue;
        }
        const auto position = static_cast<qsizetype>(inPtr - input.data());
        const auto byte = static_cast<uint>(static_cast<unsigned char>(input[position]));
        QString message;
        if (err == EINVAL) {
            message = QStringLiteral("第%1字节处的GBK字符不完整(0x%2)，文本在其中结束")
                          .arg(QString::number(position + 1), hexByte(byte));
        } else {
            message = QStringLiteral("第%1字节处不是有效的GBK编码(0x%2)")
                          .arg(QString::number(position + 1), hexByte(byte));
        }
        result.text = QString::fromUtf8(utf8.constData(), outPtr - utf8.data());
        result.error = CodecError{message, position};
        return result;
    }
    result.text = QString::fromUtf8(utf8.constData(), outPtr - utf8.data());
    return result;
}

} // namespace textio
