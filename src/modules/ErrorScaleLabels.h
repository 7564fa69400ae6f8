#ifndef ORFE_ERRORSCALELABELS_H
#define ORFE_ERRORSCALELABELS_H

// Texts of the error scales, shared by the views that plot errors in cents or
// in fractions of a semitone over a scale range of s cents (5 to 50).

#include <QString>

namespace orfe {

// Cents between two labels of the cents scale.
inline int centsLabelStep(int s)
{
    return s <= 10 ? 1 : (s <= 25 ? 5 : 10);
}

// Largest labelled value: the last multiple of the step within the range.
inline int centsLabelTop(int s)
{
    const int step = centsLabelStep(s);
    return step * (s / step);
}

// Label of c cents, padded so that the digits line up left of the plot.
inline QString centsLabelText(int c)
{
    QString text = QString::number(c);
    if (c >= 0) text = "  " + text;
    if (c == 0) text = "  " + text;
    return text;
}

// The fraction scale puts 1/(4q) semitone at its quarter-height rows and
// 1/(8q) at its three-eighth rows (q = 50 div s): the labels give those
// numbers, so that they match the plotted values.
struct FractionLabels
{
    QString quarter; // "1/" 4q
    QString eighth;  // "1/" 8q
};

inline FractionLabels fractionLabels(int s)
{
    const int q = 50 / s;
    return {"1/" + QString::number(4 * q), "1/" + QString::number(8 * q)};
}

} // namespace orfe

#endif
