// The Scala reader on arbitrary bytes: it must end with a scale or a one-line
// message, and what it reads keeps the rules of the scale model. Any crash,
// sanitizer report, abort below, hang or oversized allocation is a finding.

#include "Scales/Scale.h"

#include <QBuffer>

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

void Check(bool condition)
{
    if (!condition) std::abort();
}

// "Line N: ..." with N between 1 and the number of lines of the input.
void CheckMessage(const QString& message, const QByteArray& input)
{
    Check(message.startsWith(QLatin1String("Line ")));
    const int colon = message.indexOf(QLatin1Char(':'));
    bool ok = false;
    const qint64 line = message.mid(5, colon - 5).toLongLong(&ok);
    Check(ok && line >= 1 && line <= input.count('\n') + 1);
    for (const QChar c : message)
        Check(c.unicode() >= 0x20 && c.unicode() != 0x7F);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    QByteArray input(reinterpret_cast<const char*>(data), int(size));
    QBuffer device(&input);
    device.open(QIODevice::ReadOnly);
    Scales::Scale scale(QStringLiteral("fuzz"));
    try {
        scale.readScala(device);
    } catch (const QString& message) {
        CheckMessage(message, input);
        return 0;
    }
    // One line, trimmed, inner white space made single blanks.
    Check(scale.name == scale.name.simplified());
    for (const Scales::ScaleDegree& d : scale.values) {
        Check(d.label_rect.isNull());
        if (d.is_ratio) {
            Check(d.numerator >= 0 && d.denominator > 0 && d.cents == 0.0f);
            Check(d.ratio == float(d.numerator) / float(d.denominator));
        } else {
            Check(std::isfinite(d.cents) && d.cents >= 0.0f && !std::signbit(d.cents));
            Check(d.numerator == 0 && d.denominator == 0 && d.ratio == 0.0f);
        }
    }
    return 0;
}
