// SPDX-License-Identifier: MIT
#include "components/textcodepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

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

} // namespace TextCodePage
