#ifndef SCALES_SCALE_H
#define SCALES_SCALE_H

// The scale model and the Scala (.scl) file reader. A scale is a named list of
// pitches above a root, each a frequency ratio or a distance in cents. No widget
// here: the microtonal view names these types MicrotonalView::Scale and
// MicrotonalView::ScaleDegree, and the scale checker and the fuzzer use them
// without a display. Plain data; use from one thread at a time.

#include <QRect>
#include <QString>
#include <QVector>

class QIODevice;

namespace Scales {

struct ScaleDegree
{
    bool is_ratio = false;
    int numerator = 0;   // ratio degree: >= 0; cents degree: 0
    int denominator = 0; // ratio degree: > 0; cents degree: 0
    float ratio = 0.0f;  // ratio degree: numerator / denominator in single precision; cents degree: 0
    float cents = 0.0f;  // cents degree: >= 0; ratio degree: 0
    // Where the microtonal view last drew this degree's label, in its ratios
    // label's coordinates; a null rectangle until then. A cache owned by the view.
    QRect label_rect;

    static ScaleDegree fromRatio(int numerator, int denominator);
    static ScaleDegree fromCents(float cents);

    // Size above the root in cents: 1200 log2(numerator / denominator) from the
    // integers in double precision, or the cents value.
    double sizeInCents() const;
    // The value as written in a label: "3/2" or the cents with at most 6
    // significant digits ("50.5").
    QString text() const;
};

class Scale
{
public:
    // The one kind of scale file there is. Any other number may still be passed
    // (the underlying type is int); the constructor reports it.
    enum FileType : int { SCALA = 1 };

    // An empty scale with that name and no filename (the built-in scale).
    explicit Scale(const QString& name);
    // Reads the file when type is SCALA; any other type prints
    // "MicrotonalView::Scale::Scale unsupported file type 'N'" on standard output
    // and leaves the scale with its filename, an empty name and no degrees.
    // A file that cannot be opened or read is raised as a QString holding the
    // message, and the scale is to be dropped.
    Scale(const QString& filename, FileType type);

    // Reads Scala text from an open device into name and values (replacing
    // them). Throws a QString message ("Line 4: ...") at the first error.
    void readScala(QIODevice& device);

    QString name;
    QString filename;            // empty for the built-in scale
    QVector<ScaleDegree> values; // in file order, without the unison
};

// The built-in scale "default": 23 just ratios from 25/24 to 125/64, with
// neither 1/1 nor 2/1.
Scale DefaultScale();

} // namespace Scales

#endif
