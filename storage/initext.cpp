#include "storage/initext.h"

#include "storage/inivariant.h"

#include <QStringList>

#include <array>

namespace {

const char hexDigits[] = "0123456789ABCDEF";

bool isLineBreak(char c)
{
    return c == '\n' || c == '\r';
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void chopTrailingBlanks(QString &text)
{
    int n = text.size();
    while (n > 0 && (text.at(n - 1) == QLatin1Char(' ') || text.at(n - 1) == QLatin1Char('\t')))
        --n;
    text.truncate(n);
}

char escapeFor(char c)
{
    switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    case '"': case '?': case '\'': case '\\': return c;
    default: return 0;
    }
}

// The value text as QSettings unescapes it: quotes, escapes, and a list when
// an unquoted comma splits it. True for a list.
bool unescape(const char *d, int to, QString &text, QStringList &list)
{
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    int i = 0;
    auto skipSpaces = [&] {
        while (i < to && (d[i] == ' ' || d[i] == '\t'))
            ++i;
    };
    skipSpaces();
    while (i < to) {
        const char c = d[i];
        if (c == '\\') {
            if (++i >= to)
                break;
            const char e = d[i++];
            if (const char mapped = escapeFor(e)) {
                text += QLatin1Char(mapped);
            } else if (e == 'x') {
                if (i < to && hexValue(d[i]) >= 0) {
                    uint code = 0;
                    while (i < to && hexValue(d[i]) >= 0)
                        code = (code << 4) + uint(hexValue(d[i++]));
                    text += QChar(ushort(code));
                }
            } else if (e >= '0' && e <= '7') {
                uint code = uint(e - '0');
                while (i < to && d[i] >= '0' && d[i] <= '7')
                    code = (code << 3) + uint(d[i++] - '0');
                text += QChar(ushort(code));
            } else if (isLineBreak(e)) {
                // A continued line: the break itself (one or a pair) is dropped.
                if (i < to && isLineBreak(d[i]) && d[i] != e)
                    ++i;
            }
            // Any other escaped character is dropped, as QSettings does.
        } else if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes)
                skipSpaces();
        } else if (c == ',' && !inQuotes) {
            if (!quoted)
                chopTrailingBlanks(text);
            isList = true;
            list.append(text);
            text.clear();
            quoted = false;
            ++i;
            skipSpaces();
        } else {
            int j = i + 1;
            while (j < to && d[j] != '\\' && d[j] != '"' && d[j] != ',')
                ++j;
            text += QString::fromUtf8(d + i, j - i);
            i = j;
        }
    }
    if (!quoted)
        chopTrailingBlanks(text);
    if (isList)
        list.append(text);
    return isList;
}

} // namespace

bool iniText::nextLine(const QByteArray &data, int &pos, int &lineStart, int &lineLen, int &equalsPos)
{
    const int size = data.size();
    const char *d = data.constData();
    bool inQuotes = false;
    equalsPos = -1;
    lineStart = pos;
    while (lineStart < size && isBlank(d[lineStart]))
        ++lineStart;
    // The characters that matter to a line's shape; runs of others are skipped
    // at once (a library's state file is megabytes of them).
    static const auto special = [] {
        std::array<bool, 256> table{};
        for (const unsigned char c : {'=', '\n', '\r', '\\', '"', ';'})
            table[c] = true;
        return table;
    }();
    int i = lineStart;
    while (i < size) {
        while (i < size && !special[static_cast<unsigned char>(d[i])])
            ++i;
        if (i >= size)
            break;
        const char c = d[i++];
        if (c == '=') {
            if (!inQuotes && equalsPos < 0)
                equalsPos = i - 1;
        } else if (isLineBreak(c)) {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (c == '\\') {
            if (i < size) {
                const char next = d[i++];
                if (i < size && isLineBreak(next) && isLineBreak(d[i]) && d[i] != next)
                    ++i;
            }
        } else if (c == '"') {
            inQuotes = !inQuotes;
        } else if (c == ';') {
            if (i == lineStart + 1) {
                // A comment line: skipped up to its end.
                while (i < size && !isLineBreak(d[i]))
                    ++i;
                lineStart = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    lineLen = i - lineStart;
    return lineLen > 0;
}

void iniText::appendKey(QByteArray &out, const QString &key)
{
    for (const QChar qc : key) {
        uint c = qc.unicode();
        if (c == '/') {
            out += '\\';
        } else if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'
                   || c == '-' || c == '.') {
            out += char(c);
        } else if (c <= 0xFF) {
            out += '%';
            out += hexDigits[c / 16];
            out += hexDigits[c % 16];
        } else {
            out += "%U";
            char code[4];
            for (int k = 3; k >= 0; --k, c >>= 4)
                code[k] = hexDigits[c % 16];
            out.append(code, 4);
        }
    }
}

QString iniText::key(const char *d, int length)
{
    QString result;
    result.reserve(length);
    int i = 0;
    while (i < length) {
        const char c = d[i];
        if (c == '\\') {
            result += QLatin1Char('/');
            ++i;
            continue;
        }
        if (c != '%' || i == length - 1) {
            result += QLatin1Char(c);
            ++i;
            continue;
        }
        const int digits = d[i + 1] == 'U' ? 4 : 2;
        const int first = i + 1 + (digits == 4 ? 1 : 0);
        bool ok = first + digits <= length;
        uint code = 0;
        for (int k = first; ok && k < first + digits; ++k) {
            const int v = hexValue(d[k]);
            ok = v >= 0;
            code = code * 16 + uint(qMax(0, v));
        }
        if (!ok) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        result += QChar(ushort(code));
        i = first + digits;
    }
    return result;
}

QString iniText::sectionName(const char *d, int length)
{
    const QByteArray name = QByteArray::fromRawData(d, length).trimmed();
    if (name.compare("general", Qt::CaseInsensitive) == 0)
        return QString();
    if (name.compare("%general", Qt::CaseInsensitive) == 0)
        return QString::fromLatin1(name.mid(1));
    return key(name.constData(), name.size());
}

void iniText::appendSection(QByteArray &out, const QString &group)
{
    QByteArray name;
    appendKey(name, group);
    if (name.isEmpty())
        out += "[General]";
    else if (name.compare("general", Qt::CaseInsensitive) == 0)
        out += "[%General]";
    else
        out += '[' + name + ']';
    out += '\n';
}

void iniText::appendString(QByteArray &out, const QString &text)
{
    const int start = out.size();
    // Byte arrays keep every byte above ASCII as an escape; text is UTF-8.
    const bool utf8 = !text.startsWith(QLatin1String("@ByteArray(")) && !text.startsWith(QLatin1String("@Variant("));
    bool needsQuotes = false;
    bool escapeNextIfHex = false;
    const int size = text.size();
    const QChar *chars = text.constData();
    for (int i = 0; i < size; ++i) {
        const uint c = chars[i].unicode();
        if (c == ';' || c == ',' || c == '=')
            needsQuotes = true;
        // "\x1" followed by "a" would read back as one escape, "\x1a".
        if (escapeNextIfHex && c < 0x80 && hexValue(char(c)) >= 0) {
            out += "\\x" + QByteArray::number(c, 16);
            continue;
        }
        escapeNextIfHex = false;
        switch (c) {
        case '\0': out += "\\0"; escapeNextIfHex = true; break;
        case '\a': out += "\\a"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\v': out += "\\v"; break;
        case '"':
        case '\\':
            out += '\\';
            out += char(c);
            break;
        default:
            if (c <= 0x1F || (c >= 0x7F && !utf8)) {
                out += "\\x" + QByteArray::number(c, 16);
                escapeNextIfHex = true;
            } else if (c < 0x80) {
                out += char(c);
            } else {
                // A run of characters beyond ASCII in one conversion, so a
                // surrogate pair stays one character.
                int end = i + 1;
                while (end < size && chars[end].unicode() >= 0x80)
                    ++end;
                out += QString::fromRawData(chars + i, end - i).toUtf8();
                i = end - 1;
            }
        }
    }
    if (needsQuotes || (start < out.size() && (out.at(start) == ' ' || out.at(out.size() - 1) == ' '))) {
        out.insert(start, '"');
        out += '"';
    }
}

void iniText::appendText(QByteArray &out, const QString &text)
{
    // A leading '@' would read as a type marker.
    if (text.startsWith(QLatin1Char('@')))
        appendString(out, QLatin1Char('@') + text);
    else
        appendString(out, text);
}

void iniText::appendValue(QByteArray &out, const QVariant &value)
{
    const int type = value.userType();
    if (type == QMetaType::QStringList || (type == QMetaType::QVariantList && value.toList().size() != 1)) {
        const QVariantList items = value.toList();
        if (items.isEmpty()) {
            out += "@Invalid()";
            return;
        }
        for (int i = 0; i < items.size(); ++i) {
            if (i > 0)
                out += ", ";
            appendString(out, iniVariant::text(items.at(i)));
        }
        return;
    }
    appendString(out, iniVariant::text(value));
}

QVariant iniText::value(const char *data, int length)
{
    QString text;
    QStringList list;
    if (unescape(data, length, text, list))
        return iniVariant::fromList(list);
    return iniVariant::fromText(text);
}

QString iniText::stringValue(const char *data, int length)
{
    int from = 0;
    int to = length;
    while (from < to && (data[from] == ' ' || data[from] == '\t'))
        ++from;
    while (to > from && (data[to - 1] == ' ' || data[to - 1] == '\t'))
        --to;
    bool plain = from == to || data[from] != '@';
    for (int i = from; plain && i < to; ++i)
        plain = data[i] != '\\' && data[i] != '"' && data[i] != ',';
    if (plain)
        return QString::fromUtf8(data + from, to - from);
    const QVariant v = value(data, length);
    if (v.userType() == QMetaType::QStringList)
        return v.toStringList().join(QStringLiteral(", "));
    return v.canConvert<QString>() ? v.toString() : QString();
}
