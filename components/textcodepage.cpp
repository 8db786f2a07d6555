// SPDX-License-Identifier: MIT
#include "components/textcodepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include "components/wholefile.h"

namespace TextCodePage
{

Decoded decode(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::System);
    Decoded result;
    result.text = utf8(bytes);
    if (!utf8.hasError())
        return result;
    QStringDecoder sjis("Shift_JIS");
    if (sjis.isValid()) {
        QString text = sjis(bytes);
        if (!sjis.hasError()) {
            result.text = text;
            result.encoding = "Shift_JIS";
        }
    }
    return result;
}

QByteArray encode(const QString& text, const QByteArray& encoding)
{
    QStringEncoder encoder(encoding.constData());
    if (!encoder.isValid())
        encoder = QStringEncoder(QStringEncoder::System);
    return encoder(text);
}

std::optional<Decoded> readFile(const QString& path, QString* error)
{
    const std::optional<QByteArray> bytes = WholeFile::read(path, error);
    if (!bytes)
        return std::nullopt;
    return decode(*bytes);
}

QStringList splitLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        lines.append(text.mid(start));
    return lines;
}

} // namespace TextCodePage
