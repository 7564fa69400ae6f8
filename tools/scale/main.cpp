// orfe-scale: reads Scala scale files with the tuner's own reader and prints
// their names and degrees, as text or as CSV.

#include "Scales/Scale.h"

#include <QFile>

#include <cstdio>
#include <cstring>

namespace {

const char* const USAGE = "Usage: orfe-scale [--csv] FILE...\n"
                          "Reads Scala scale files (.scl) as the tuner does and prints each scale's name\n"
                          "and degrees, with the size of each degree in cents.\n"
                          "  --csv    one row per degree: file,name,index,kind,numerator,denominator,cents\n"
                          "  --help   this text\n"
                          "A file that cannot be read gives one line on standard error and the others are\n"
                          "still read; the exit status is then 2.\n";

// CSV field: quoted when it holds a separator, a quote or a line end.
QByteArray Field(const QString& text)
{
    QByteArray s = text.toUtf8();
    if (!s.contains(',') && !s.contains('"') && !s.contains('\n') && !s.contains('\r')) return s;
    return '"' + s.replace("\"", "\"\"") + '"';
}

void PrintText(const QString& file, const Scales::Scale& scale)
{
    std::printf("%s: %s\n", file.toUtf8().constData(), scale.name.toUtf8().constData());
    if (scale.values.isEmpty()) std::printf("  (no degrees)\n");
    int index = 0;
    for (const Scales::ScaleDegree& d : scale.values)
        std::printf("%6d  %s  %-16s %12.3f cents\n", ++index, d.is_ratio ? "ratio" : "cents",
                    d.text().toUtf8().constData(), d.sizeInCents());
}

void PrintCsv(const QString& file, const Scales::Scale& scale)
{
    const QByteArray file_field = Field(file), name_field = Field(scale.name);
    int index = 0;
    for (const Scales::ScaleDegree& d : scale.values) {
        std::printf("%s,%s,%d,", file_field.constData(), name_field.constData(), ++index);
        if (d.is_ratio)
            std::printf("ratio,%d,%d,", d.numerator, d.denominator);
        else
            std::printf("cents,,,");
        std::printf("%.6f\n", d.sizeInCents());
    }
}

} // namespace

int main(int argc, char** argv)
{
    bool csv = false;
    QStringList files;
    bool options_end = false;
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (!options_end && std::strcmp(a, "--") == 0) {
            options_end = true;
        } else if (!options_end && std::strcmp(a, "--csv") == 0) {
            csv = true;
        } else if (!options_end && std::strcmp(a, "--help") == 0) {
            std::fputs(USAGE, stdout);
            return 0;
        } else if (!options_end && a[0] == '-' && a[1] != '\0') {
            std::fprintf(stderr, "orfe-scale: unknown option '%s'\n%s", a, USAGE);
            return 2;
        } else {
            files << QFile::decodeName(a);
        }
    }
    if (files.isEmpty()) {
        std::fputs(USAGE, stderr);
        return 2;
    }

    int status = 0;
    if (csv) std::printf("file,name,index,kind,numerator,denominator,cents\n");
    for (const QString& file : files) {
        try {
            const Scales::Scale scale(file, Scales::Scale::SCALA);
            if (csv)
                PrintCsv(file, scale);
            else
                PrintText(file, scale);
        } catch (const QString& message) {
            std::fflush(stdout);
            std::fprintf(stderr, "%s: %s\n", file.toUtf8().constData(), message.toUtf8().constData());
            status = 2;
        }
    }
    return status;
}
