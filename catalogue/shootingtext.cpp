// SPDX-License-Identifier: MIT
#include "catalogue/shootingtext.h"

#include <cmath>
#include <cstdlib>

namespace
{

// Euclid's algorithm; 1 when either side is 0, so that 0/0 and n/0 stay as they are.
qint64 divisor(qint64 a, qint64 b)
{
    a = std::llabs(a);
    b = std::llabs(b);
    if (a == 0 || b == 0)
        return 1;
    while (b != 0) {
        const qint64 r = a % b;
        a = b;
        b = r;
    }
    return a;
}

} // namespace

namespace ShootingText
{

QString modelText(const QString& maker, const QString& model)
{
    // Many cameras repeat the maker in the model ("ABC" / "ABC Shot 5"); only prefix it when not.
    if (model.contains(maker, Qt::CaseSensitive))
        return model;
    return maker + QLatin1Char(' ') + model;
}

QString dateText(const QString& exifDateTime)
{
    QString text = exifDateTime;
    if (text.size() > 4)
        text[4] = QLatin1Char('/');
    if (text.size() > 7)
        text[7] = QLatin1Char('/');
    return text;
}

QString shutterText(qint64 a, qint64 b)
{
    const qint64 g = divisor(a, b);
    const qint64 n = a / g;
    const qint64 d = b / g;
    if (n < 2)
        return QStringLiteral("%1/%2sec").arg(n).arg(d);
    // Exposures of more than a second would come out as "1/0sec" or "1/1sec" with the reciprocal
    // form, so they are shown in seconds: 2/1 "2sec", 10/3 "3.3sec".
    if (d >= 1 && n > d) {
        if (n % d == 0)
            return QStringLiteral("%1sec").arg(n / d);
        return QStringLiteral("%1sec").arg(QString::number(double(n) / double(d), 'f', 1));
    }
    // The reciprocal, rounded half away from zero like the "#######0" format.
    const auto reciprocal = d > 0 ? qint64(std::llround(double(d) / double(n))) : 0;
    return QStringLiteral("1/%1sec").arg(reciprocal);
}

QString apertureText(qint64 a, qint64 b)
{
    if (b <= 0)
        return Unknown;
    return QLatin1Char('f') + QString::number(double(a) / double(b), 'f', 1);
}

} // namespace ShootingText
