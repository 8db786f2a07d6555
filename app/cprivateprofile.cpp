// SPDX-License-Identifier: MIT
#include "app/cprivateprofile.h"

#include <algorithm>
#include <limits>
#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QFileInfo>
#include <QList>

#include "components/wholefile.h"

namespace
{

// One line of the file as byte offsets: [begin, end) is its text, [end, next) its terminator.
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

// Where a key stands: the section's heading line, the key's line (-1 when absent) and the last
// line of the section that holds anything, after which a new key goes.
struct Position {
    int sectionLine = -1;
    int keyLine = -1;
    int lastFilledLine = -1;
};

QList<Line> splitLines(const QByteArray& bytes)
{
    QList<Line> lines;
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        Line line;
        line.begin = pos;
        const qsizetype nl = bytes.indexOf('\n', pos);
        line.next = nl < 0 ? bytes.size() : nl + 1;
        line.end = nl < 0 ? bytes.size() : nl;
        if (line.end > line.begin && bytes.at(line.end - 1) == '\r')
            --line.end;
        lines.push_back(line);
        pos = line.next;
    }
    return lines;
}

QByteArrayView trimmed(QByteArrayView text)
{
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && blank(text.at(b)))
        ++b;
    while (e > b && blank(text.at(e - 1)))
        --e;
    return text.sliced(b, e - b);
}

QByteArrayView lineText(const QByteArray& bytes, const Line& line)
{
    return QByteArrayView(bytes).sliced(line.begin, line.end - line.begin);
}

// "[name]" (the last ']' closes it, as other readers of these files do); nullopt for other lines.
std::optional<QByteArrayView> sectionName(QByteArrayView text)
{
    text = trimmed(text);
    if (!text.startsWith('['))
        return std::nullopt;
    const qsizetype close = text.lastIndexOf(']');
    if (close < 1)
        return std::nullopt;
    return trimmed(text.sliced(1, close - 1));
}

bool sameName(QByteArrayView stored, const QString& wanted)
{
    if (stored.isEmpty())
        return wanted.isEmpty();
    return QString::fromUtf8(stored).compare(wanted, Qt::CaseInsensitive) == 0;
}

// "key=value" split at the first '='; a line without '=' is a key with an empty value. Comment
// lines (';') and blank lines are no keys.
bool splitKey(QByteArrayView text, QByteArrayView* key, QByteArrayView* value)
{
    text = trimmed(text);
    if (text.isEmpty() || text.startsWith(';'))
        return false;
    const qsizetype eq = text.indexOf('=');
    *key = trimmed(eq < 0 ? text : text.first(eq));
    *value = eq < 0 ? QByteArrayView() : trimmed(text.sliced(eq + 1));
    return !key->isEmpty();
}

Position locate(const QByteArray& bytes, const QList<Line>& lines, const QString& section, const QString& key)
{
    Position at;
    for (int i = 0; i < lines.size(); ++i) {
        const QByteArrayView text = lineText(bytes, lines.at(i));
        const auto name = sectionName(text);
        if (at.sectionLine < 0) {
            if (name && sameName(*name, section)) {
                at.sectionLine = i;
                at.lastFilledLine = i;
            }
            continue;
        }
        if (name)
            break; // the next section begins
        if (!trimmed(text).isEmpty())
            at.lastFilledLine = i;
        QByteArrayView k;
        QByteArrayView v;
        if (at.keyLine < 0 && splitKey(text, &k, &v) && sameName(k, key))
            at.keyLine = i;
    }
    return at;
}

std::optional<QByteArray> readFile(const QString& path, bool* exists = nullptr)
{
    const QFileInfo info(path);
    if (exists)
        *exists = info.exists();
    if (info.size() > CPrivateProfile::MaxFileBytes)
        return std::nullopt;
    auto bytes = WholeFile::read(path);
    if (bytes && bytes->size() > CPrivateProfile::MaxFileBytes) // grown since
        return std::nullopt;
    return bytes;
}

// The stored value of a key, quotes around it removed; nullopt when the key is missing.
std::optional<QByteArray> readValue(const QString& path, const QString& section, const QString& key)
{
    const auto bytes = readFile(path);
    if (!bytes)
        return std::nullopt;
    const QList<Line> lines = splitLines(*bytes);
    const Position at = locate(*bytes, lines, section, key);
    if (at.keyLine < 0)
        return std::nullopt;
    QByteArrayView k;
    QByteArrayView value;
    splitKey(lineText(*bytes, lines.at(at.keyLine)), &k, &value);
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.sliced(1, value.size() - 2);
    QByteArray result = value.toByteArray();
    const qsizetype nul = result.indexOf('\0');
    if (nul >= 0)
        result.truncate(nul);
    return result;
}

bool unsafeText(const QString& text)
{
    return text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) || text.contains(QChar(0));
}

} // namespace

qint32 CPrivateProfile::GetValueLong(const QString& strINIFileName, const QString& strSection,
                                     const QString& strKey) const
{
    const auto value = readValue(strINIFileName, strSection, strKey);
    if (!value || value->isEmpty())
        return -1;
    qsizetype i = 0;
    bool negative = false;
    if (value->at(0) == '-' || value->at(0) == '+') {
        negative = value->at(0) == '-';
        ++i;
    }
    qint64 number = 0;
    constexpr qint64 limit = qint64(std::numeric_limits<qint32>::max()) + 1;
    for (; i < value->size() && value->at(i) >= '0' && value->at(i) <= '9'; ++i)
        number = std::min(limit, number * 10 + (value->at(i) - '0'));
    if (negative)
        number = -number;
    return qint32(std::clamp<qint64>(number, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
}

QString CPrivateProfile::GetValueString(const QString& strINIFileName, const QString& strSection, const QString& strKey,
                                        qsizetype maxBytes) const
{
    const auto value = readValue(strINIFileName, strSection, strKey);
    if (!value || value->isEmpty())
        return {};
    qsizetype n = value->size();
    if (maxBytes >= 0 && n > maxBytes) {
        // Cut before the character that would straddle the limit: step back over continuation bytes.
        n = maxBytes;
        while (n > 0 && (uchar(value->at(n)) & 0xC0) == 0x80)
            --n;
    }
    return QString::fromUtf8(value->constData(), n);
}

qint16 CPrivateProfile::SetValueString(const QString& strINIFileName, const QString& strSection, const QString& strKey,
                                       const QString& strValue) const
{
    const QString key = strKey.trimmed();
    const QString section = strSection.trimmed();
    if (key.isEmpty() || unsafeText(section) || unsafeText(key) || unsafeText(strValue) ||
        key.contains(QLatin1Char('=')) || key.startsWith(QLatin1Char(';')) || key.startsWith(QLatin1Char('[')) ||
        section.contains(QLatin1Char(']')))
        return 0;

    bool exists = false;
    const auto old = readFile(strINIFileName, &exists);
    if (exists && !old)
        return 0; // never replace a file we could not read whole
    const QByteArray bytes = old.value_or(QByteArray());
    const QList<Line> lines = splitLines(bytes);
    const Position at = locate(bytes, lines, section, key);

    // New lines end like the file's first line, CR LF for a new file.
    QByteArray eol = "\r\n";
    if (!lines.isEmpty() && lines.first().next > lines.first().end)
        eol = bytes.mid(lines.first().end, lines.first().next - lines.first().end);

    QByteArray result;
    result.reserve(bytes.size() + key.size() + strValue.size() + section.size() + 16);
    if (at.keyLine >= 0) {
        // Replace that one line, keeping the key as it is spelt in the file and the line's ending.
        const Line& line = lines.at(at.keyLine);
        QByteArrayView storedKey;
        QByteArrayView v;
        splitKey(lineText(bytes, line), &storedKey, &v);
        result.append(bytes.first(line.begin));
        result.append(storedKey.toByteArray()).append('=').append(strValue.toUtf8());
        result.append(bytes.sliced(line.end));
    } else if (at.sectionLine >= 0) {
        const Line& line = lines.at(at.lastFilledLine);
        result.append(bytes.first(line.next));
        if (line.next == line.end)
            result.append(eol); // the section's last line had no line break
        result.append(key.toUtf8()).append('=').append(strValue.toUtf8()).append(eol);
        result.append(bytes.sliced(line.next));
    } else {
        result.append(bytes);
        if (!bytes.isEmpty() && !bytes.endsWith('\n'))
            result.append(eol);
        result.append('[').append(section.toUtf8()).append(']').append(eol);
        result.append(key.toUtf8()).append('=').append(strValue.toUtf8()).append(eol);
    }

    return WholeFile::write(strINIFileName, result).isEmpty() ? 1 : 0;
}

QString CPrivateProfile::numberText(double value)
{
    // 'g' with 15 significant digits: whole numbers without a point, no exponent for any width,
    // position or size this program stores.
    return QString::number(value, 'g', 15);
}
