// Code page 936 (simplified Chinese GBK) text, the encoding of every text
// file the program reads or writes. A character the code page cannot hold
// and a byte sequence that is not code page 936 are reported with their
// position, never dropped or replaced.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace textio {

struct CodecError {
    QString message;
    // Encoding: index of the offending character in the text (UTF-16 code
    // units). Decoding: offset of the offending byte.
    qsizetype position = 0;
};

struct EncodeResult {
    // On error: the bytes of the text before the offending character.
    QByteArray bytes;
    std::optional<CodecError> error;
    bool ok() const { return !error.has_value(); }
};

struct DecodeResult {
    // On error: the text decoded before the offending byte.
    QString text;
    std::optional<CodecError> error;
    bool ok() const { return !error.has_value(); }
};

EncodeResult encodeCp936(const QString& text);
DecodeResult decodeCp936(const QByteArray& bytes);

} // namespace textio
