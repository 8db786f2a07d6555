// SPDX-License-Identifier: MIT
#include "generate/basresoutprn.h"

#include <cmath>

#include <QHash>
#include <QRegularExpression>

#include "components/textcodepage.h"
#include "components/wholefile.h"

#include "components/photorow.h"

namespace basResOutPrn
{

namespace
{

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

using TextCodePage::splitLines;

} // namespace

int readNumberField(const QString& field)
{
    // Blanks do not count anywhere in the field ("1 2" reads 12).
    QString s;
    for (const QChar c : field)
        if (c != QLatin1Char(' ') && c != QLatin1Char('\t'))
            s.append(c);

    qsizetype i = 0;
    const qsizetype n = s.size();
    auto isDigit = [&](qsizetype at) { return at < n && s.at(at) >= QLatin1Char('0') && s.at(at) <= QLatin1Char('9'); };
    QString number;
    if (i < n && (s.at(i) == QLatin1Char('+') || s.at(i) == QLatin1Char('-')))
        number.append(s.at(i++));
    bool digits = false;
    while (isDigit(i)) {
        number.append(s.at(i++));
        digits = true;
    }
    if (i < n && s.at(i) == QLatin1Char('.')) {
        number.append(s.at(i++));
        while (isDigit(i)) {
            number.append(s.at(i++));
            digits = true;
        }
    }
    if (!digits)
        return 0;
    if (i < n && QStringLiteral("eEdD").contains(s.at(i))) {
        qsizetype j = i + 1;
        QString exponent = QStringLiteral("e");
        if (j < n && (s.at(j) == QLatin1Char('+') || s.at(j) == QLatin1Char('-')))
            exponent.append(s.at(j++));
        if (isDigit(j)) {
            while (isDigit(j))
                exponent.append(s.at(j++));
            number.append(exponent);
        }
    }
    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return 0;
    const double rounded = std::nearbyint(value); // default rounding mode: halves to even
    if (rounded > 2147483647.0 || rounded < -2147483648.0)
        return rounded > 0 ? 2147483647 : -2147483647 - 1;
    return int(rounded);
}

QString photoNumberText(int n)
{
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

QString ReplaceMark(const QString& line, const QString& value)
{
    const qsizetype at = line.indexOf(QLatin1String("&&"));
    if (at < 0)
        return line;
    return line.left(at) + value + line.mid(at + 2);
}

QString escapeHtml(const QString& text)
{
    // Qt escapes & < > "; the apostrophe too, so a value is safe in either kind of attribute quotes.
    return text.toHtmlEscaped().replace(QLatin1Char('\''), QLatin1String("&#39;"));
}

QString plainText(const QString& markup)
{
    // A tag is "<" followed by a letter, "/", "!" or "?", up to the next ">"; any other "<" is text.
    static const QRegularExpression tag(QStringLiteral("<(?:/?([A-Za-z][A-Za-z0-9]*)|[!?])[^>]*>"));
    // Tags that break the line or start a block read as a blank between the words around them.
    static const QRegularExpression breaking(
        QStringLiteral("^(?:br|p|div|li|ul|ol|dt|dd|tr|td|th|table|hr|h[1-6]|blockquote)$"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression reference(QStringLiteral("&(#[0-9]{1,7}|#[xX][0-9A-Fa-f]{1,6}|[A-Za-z]+);"));
    static const QHash<QString, QString> named = {
        {QStringLiteral("amp"), QStringLiteral("&")},  {QStringLiteral("lt"), QStringLiteral("<")},
        {QStringLiteral("gt"), QStringLiteral(">")},   {QStringLiteral("quot"), QStringLiteral("\"")},
        {QStringLiteral("apos"), QStringLiteral("'")}, {QStringLiteral("nbsp"), QStringLiteral(" ")},
    };

    QString text;
    qsizetype at = 0;
    for (auto m = tag.globalMatch(markup); m.hasNext();) {
        const auto match = m.next();
        text += markup.mid(at, match.capturedStart() - at);
        if (breaking.match(match.captured(1)).hasMatch())
            text += QLatin1Char(' ');
        at = match.capturedEnd();
    }
    text += markup.mid(at);

    QString decoded;
    at = 0;
    for (auto m = reference.globalMatch(text); m.hasNext();) {
        const auto match = m.next();
        decoded += text.mid(at, match.capturedStart() - at);
        at = match.capturedEnd();
        const QString name = match.captured(1);
        if (!name.startsWith(QLatin1Char('#'))) {
            decoded += named.value(name, match.captured(0));
            continue;
        }
        bool ok = false;
        const bool hex = name.size() > 1 && (name.at(1) == QLatin1Char('x') || name.at(1) == QLatin1Char('X'));
        const uint code = name.mid(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
        // Only characters a page can hold: no control character but blanks, no lone surrogate,
        // nothing past U+10FFFF.
        const bool blank = code == '\t' || code == '\n' || code == '\r';
        if (ok && (code >= 0x20 || blank) && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
            const char32_t c = code;
            decoded += QString::fromUcs4(&c, 1);
        } else {
            decoded += match.captured(0);
        }
    }
    decoded += text.mid(at);
    return decoded.simplified();
}

QString altText(const PhotoRow& photo, int n)
{
    QString text = plainText(photo.caption);
    if (text.isEmpty())
        text = photo.fileName.simplified();
    if (text.isEmpty())
        text = photoNumberText(n);
    return escapeHtml(text);
}

QString secondImageName(const QString& fileName)
{
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString suffix = QStringLiteral("@2x");
    return dot < 0 ? fileName + suffix : fileName.left(dot) + suffix + fileName.mid(dot);
}

QString imageAttributes(const QString& fileName, const ImageSizes& sizes)
{
    if (sizes.design.isEmpty())
        return {};
    QString text = QStringLiteral(" width=\"%1\" height=\"%2\"").arg(sizes.design.width()).arg(sizes.design.height());
    if (sizes.second.isEmpty() || sizes.second.width() <= sizes.design.width())
        return text;
    // The density as a short decimal: "2", "1.5", "1.875" (a valid floating-point number for srcset).
    QString density = QString::number(double(sizes.second.width()) / sizes.design.width(), 'f', 3);
    while (density.endsWith(QLatin1Char('0')))
        density.chop(1);
    if (density.endsWith(QLatin1Char('.')))
        density.chop(1);
    return text + QStringLiteral(" srcset=\"%1 1x, %2 %3x\"").arg(fileName, secondImageName(fileName), density);
}

TemplateText decodeTemplate(const QByteArray& bytes)
{
    return TextCodePage::decode(bytes);
}

std::optional<TemplateText> readTemplateFile(const QString& path, QString* error)
{
    auto text = TextCodePage::readFile(path);
    if (!text)
        setError(error, QStringLiteral("cannot open the template %1").arg(path));
    return text;
}

std::optional<SlotTable> ReadFormatSection(const QString& templateText, const QString& sectionName, QString* error)
{
    const QStringList lines = splitLines(templateText);
    qsizetype i = 0;
    while (i < lines.size() && lines.at(i) != sectionName)
        ++i;
    if (i == lines.size()) {
        setError(error, QStringLiteral("section \"%1\" not found").arg(sectionName));
        return std::nullopt;
    }
    SlotTable table;
    for (++i; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line == QLatin1String("End"))
            return table;
        if (line.startsWith(QLatin1Char('\'')))
            continue;
        ++table.count;
        const int slot = readNumberField(line.left(3));
        if (slot < 1 || slot > SlotCount) {
            setError(error, QStringLiteral("section \"%1\", line %2: slot number %3 is outside 1..%4")
                                .arg(sectionName)
                                .arg(i + 1)
                                .arg(slot)
                                .arg(SlotCount));
            return std::nullopt;
        }
        table.kinds[slot] = readNumberField(line.mid(4, 1));
        table.texts[slot] = line.size() > 5 ? line.mid(5) : QString();
    }
    setError(error, QStringLiteral("section \"%1\" has no \"End\" line").arg(sectionName));
    return std::nullopt;
}

std::optional<SlotTable> readFormatSectionFile(const QString& path, const QString& sectionName, QString* error)
{
    const auto text = readTemplateFile(path, error);
    if (!text)
        return std::nullopt;
    return ReadFormatSection(text->text, sectionName, error);
}

bool writePageFile(const QString& path, const QString& pageText, const QByteArray& encoding, QString* error)
{
    const QString reason = WholeFile::write(path, TextCodePage::encode(pageText, encoding));
    if (!reason.isEmpty())
        setError(error, reason);
    return reason.isEmpty();
}

} // namespace basResOutPrn
