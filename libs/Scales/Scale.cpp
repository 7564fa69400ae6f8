#include "Scales/Scale.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <string>

namespace Scales {

namespace {

// A line may hold this many bytes before its line feed; a longer line ends the
// reading quietly, keeping the degrees read so far.
constexpr qint64 MAX_LINE_LENGTH = 1023;
// More degrees than any tuning needs; past it a file is refused, so that an
// endless stream of degree lines cannot take all the memory.
constexpr int MAX_DEGREES = 1 << 20;

bool IsWhite(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

const char* SkipWhite(const char* p, const char* end)
{
    while (p < end && IsWhite(*p))
        ++p;
    return p;
}

// Length of the well-formed UTF-8 sequence starting at p (1 to 4 bytes), or 0
// when there is none (stray continuation byte, overlong form, surrogate, past
// U+10FFFF, or cut short by the end).
int Utf8SequenceLength(const char* p, const char* end)
{
    const auto lead = static_cast<unsigned char>(*p);
    if (lead < 0x80) return 1;
    int length = 0;
    char32_t code = 0, smallest = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1Fu, smallest = 0x80;
    } else if ((lead & 0xF0u) == 0xE0) {
        length = 3, code = lead & 0x0Fu, smallest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07u, smallest = 0x10000;
    } else {
        return 0;
    }
    if (end - p < length) return 0;
    for (int i = 1; i < length; ++i) {
        const auto b = static_cast<unsigned char>(p[i]);
        if ((b & 0xC0u) != 0x80) return 0;
        code = (code << 6) | (b & 0x3Fu);
    }
    if (code < smallest || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    return length;
}

// Text that is well-formed UTF-8 is read as UTF-8 (descriptions such as
// "Mārvā"); anything else as Latin-1, which every byte sequence is.
QString DecodeText(const char* begin, const char* end)
{
    for (const char* p = begin; p < end;) {
        const int n = Utf8SequenceLength(p, end);
        if (n == 0) return QString::fromLatin1(begin, int(end - begin));
        p += n;
    }
    return QString::fromUtf8(begin, int(end - begin));
}

// The scale's name: the description without carriage returns or line feeds,
// white space trimmed at both ends and each inner run made one blank.
QString Description(const char* begin, const char* end)
{
    std::string text(begin, end);
    text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == '\r' || c == '\n'; }),
               text.end());
    return DecodeText(text.data(), text.data() + text.size()).simplified();
}

// The character found where a slash was expected, as it reads in a message:
// nothing at the end of the line, a whole UTF-8 character when one starts
// there, and a control character as \xNN so that the message stays one
// readable line.
QString CharacterText(const char* p, const char* end)
{
    if (p == end) return QString();
    const auto b = static_cast<unsigned char>(*p);
    const int n = Utf8SequenceLength(p, end);
    if (n > 1) return QString::fromUtf8(p, n);
    if (b < 0x20 || (b >= 0x7F && b < 0xA0))
        return QStringLiteral("\\x%1").arg(unsigned(b), 2, 16, QLatin1Char('0'));
    return QString(QChar(b));
}

QString LineError(qint64 line, const QString& what)
{
    return QStringLiteral("Line ") + QString::number(line) + QStringLiteral(": ") + what;
}

// A decimal integer as written: an optional sign directly followed by digits.
struct Integer
{
    bool found = false;     // digits were read; otherwise the value counts as 0
    bool negative = false;  // a minus sign was written
    bool too_large = false; // outside the range of int
    qint64 value = 0;       // the value, unless too large
    QByteArray digits;      // the digits without leading zeros

    bool isNegative() const { return negative && (too_large || value != 0); }
    QString text() const
    {
        if (!too_large) return QString::number(value);
        return (negative ? QStringLiteral("-") : QString()) + QString::fromLatin1(digits);
    }
};

// Reads an integer after leading white space and moves p past it; when there is
// none, p stays where it was.
Integer ReadInteger(const char*& p, const char* end)
{
    Integer n;
    const char* q = SkipWhite(p, end);
    if (q < end && (*q == '+' || *q == '-')) n.negative = *q++ == '-';
    const char* first = q;
    while (q < end && IsDigit(*q))
        ++q;
    if (q == first) return Integer();
    n.found = true;
    while (first + 1 < q && *first == '0')
        ++first;
    n.digits = QByteArray(first, int(q - first));
    // Ten digits may still fit in an int; eleven never do.
    n.too_large = n.digits.size() > 10;
    if (!n.too_large) {
        n.value = n.digits.toLongLong() * (n.negative ? -1 : 1);
        n.too_large = n.value > INT_MAX || n.value < INT_MIN;
    }
    p = q;
    return n;
}

// A cents value: a single-precision number in the C locale (the decimal point
// is a full stop whatever the user's locale), the rest of the line ignored.
ScaleDegree ReadCents(const char* begin, const char* end, qint64 line)
{
    static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    const std::string text(begin, end);
    char* stop = nullptr;
    float value = strtof_l(text.c_str(), &stop, c_locale);
    if (stop == text.c_str()) value = 0.0f; // nothing readable counts as 0
    // Past the largest float the value is infinite: write it as it was written.
    const QString written = std::isinf(value) ? QString::fromLatin1(text.c_str(), int(stop - text.c_str()))
                                              : QString::number(double(value), 'g', 6);
    if (value < 0.0f)
        throw LineError(line,
                        QStringLiteral("Parsed cents value is negative '") + written + QStringLiteral("'"));
    if (std::isinf(value))
        throw LineError(line,
                        QStringLiteral("Parsed cents value is too large '") + written + QStringLiteral("'"));
    // Adding 0 turns -0 into 0.
    return ScaleDegree::fromCents(value + 0.0f);
}

ScaleDegree ReadRatio(const char* p, const char* end, qint64 line)
{
    const Integer numerator = ReadInteger(p, end);
    if (numerator.isNegative())
        throw LineError(line, QStringLiteral("Parsed numerator is negative '") + numerator.text() + "'");
    if (numerator.too_large)
        throw LineError(line, QStringLiteral("Parsed numerator is too large '") + numerator.text() + "'");
    const char* after_numerator = p;
    const char* c = SkipWhite(p, end);
    if (c < end && *c == '/') {
        p = c + 1;
        const Integer denominator = ReadInteger(p, end);
        if (denominator.isNegative() || (!denominator.too_large && denominator.value == 0))
            throw LineError(line,
                            QStringLiteral("Parsed denominator is not positive'") + denominator.text() + "'");
        if (denominator.too_large)
            throw LineError(line,
                            QStringLiteral("Parsed denominator is too large '") + denominator.text() + "'");
        return ScaleDegree::fromRatio(int(numerator.value), int(denominator.value));
    }
    // A bare integer stands for that ratio over 1, when the line, a comment or
    // white space ends it ("2", "2 ! octave"); "5:4" stays an error.
    if (numerator.found && (c == end || *c == '!' || c != after_numerator))
        return ScaleDegree::fromRatio(int(numerator.value), 1);
    throw LineError(line, QStringLiteral("There is no slash between numerator and denominator") +
                              CharacterText(c, end) + "'");
}

// A degree line: a cents value when the value itself holds a full stop (an
// optional sign and digits, then "."), a ratio otherwise; a full stop in a
// comment after a ratio ("3/2 ! 701.955 c.") does not make it cents.
ScaleDegree ReadDegree(const char* begin, const char* end, qint64 line)
{
    const char* value = SkipWhite(begin, end);
    const char* p = value;
    if (p < end && (*p == '+' || *p == '-')) ++p;
    while (p < end && IsDigit(*p))
        ++p;
    if (p < end && *p == '.') return ReadCents(value, end, line);
    return ReadRatio(value, end, line);
}

} // namespace

ScaleDegree ScaleDegree::fromRatio(int numerator, int denominator)
{
    ScaleDegree d;
    d.is_ratio = true;
    d.numerator = numerator;
    d.denominator = denominator;
    d.ratio = float(numerator) / float(denominator);
    return d;
}

ScaleDegree ScaleDegree::fromCents(float cents)
{
    ScaleDegree d;
    d.cents = cents;
    return d;
}

double ScaleDegree::sizeInCents() const
{
    if (!is_ratio) return double(cents);
    return 1200.0 * (std::log2(double(numerator)) - std::log2(double(denominator)));
}

QString ScaleDegree::text() const
{
    if (!is_ratio) return QString::number(double(cents), 'g', 6);
    return QString::number(numerator) + QLatin1Char('/') + QString::number(denominator);
}

Scale::Scale(const QString& name) : name(name) {}

Scale::Scale(const QString& filename, FileType type) : filename(filename)
{
    if (type != SCALA) {
        std::cout << "MicrotonalView::Scale::Scale unsupported file type '" << int(type) << "'" << std::endl;
        return;
    }
    // QFile converts the name as the file system expects, so that names
    // outside Latin-1 open too.
    QFile file(filename);
    if (filename.isEmpty() || !file.open(QIODevice::ReadOnly))
        throw QCoreApplication::translate("MicrotonalView::Scale", "Unkown filename: '") + filename +
            QStringLiteral("'");
    readScala(file);
}

void Scale::readScala(QIODevice& device)
{
    name.clear();
    values.clear();
    // The line, its line feed and the terminating NUL readLine adds.
    char buffer[MAX_LINE_LENGTH + 2];
    qint64 line = 0;
    qint64 entries = 0; // lines that are not comments
    for (;;) {
        const qint64 n = device.readLine(buffer, sizeof buffer);
        if (n <= 0) break;
        ++line;
        const bool line_feed = buffer[n - 1] == '\n';
        if (!line_feed && n > MAX_LINE_LENGTH) break;
        const char* begin = buffer;
        const char* end = buffer + (line_feed ? n - 1 : n);
        // A byte order mark, as some editors write at the start of UTF-8 text.
        if (line == 1 && end - begin >= 3 && std::equal(begin, begin + 3, "\xEF\xBB\xBF")) begin += 3;
        // The text of a line ends at a NUL byte.
        end = std::find(begin, end, '\0');
        if (begin < end && *begin == '!') continue;
        ++entries;
        if (entries == 1) {
            name = Description(begin, end);
        } else if (entries > 2) { // the second is the note count, not needed
            if (values.size() == MAX_DEGREES)
                throw LineError(line, QStringLiteral("Too many degrees (more than ") +
                                          QString::number(MAX_DEGREES) + QStringLiteral(")"));
            values.append(ReadDegree(begin, end, line));
        }
    }
}

Scale DefaultScale()
{
    static const int ratios[23][2] = {{25, 24}, {16, 15}, {9, 8},    {7, 6},   {75, 64}, {6, 5},
                                      {5, 4},   {32, 25}, {125, 96}, {4, 3},   {25, 18}, {45, 32},
                                      {36, 25}, {3, 2},   {25, 16},  {8, 5},   {5, 3},   {125, 72},
                                      {16, 9},  {9, 5},   {15, 8},   {48, 25}, {125, 64}};
    Scale scale(QStringLiteral("default"));
    for (const auto& r : ratios)
        scale.values.append(ScaleDegree::fromRatio(r[0], r[1]));
    return scale;
}

} // namespace Scales
