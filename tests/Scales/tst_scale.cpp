// The scale model and the Scala reader on real files in a temporary directory.

#include <QtTest>

#include "Scales/InstalledScales.h"
#include "Scales/Scale.h"

#include <cmath>
#include <dirent.h>
#include <iostream>
#include <memory>
#include <sstream>

using Scales::Scale;
using Scales::ScaleDegree;

namespace {

// Degrees as "9/8 50.5c 2/1", built here from the fields, not from the model's text.
QString Degrees(const Scale& s)
{
    QStringList out;
    for (const ScaleDegree& d : s.values)
        out << (d.is_ratio ? QString("%1/%2").arg(d.numerator).arg(d.denominator)
                           : QString::number(double(d.cents), 'g', 9) + "c");
    return out.join(' ');
}

// What the library writes on standard output while f runs.
template <typename F> QString Stdout(F f)
{
    std::ostringstream captured;
    std::streambuf* old = std::cout.rdbuf(captured.rdbuf());
    f();
    std::cout.rdbuf(old);
    return QString::fromStdString(captured.str());
}

} // namespace

class TestScale : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_files = 0;

    QString write(const QByteArray& content, QString name = QString())
    {
        if (name.isEmpty()) name = QString("f%1.scl").arg(++m_files);
        QFile f(m_dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()) return QString();
        return f.fileName();
    }

    // Reads the file; returns the error message, or an empty string.
    static QString read(const QString& path, Scale* out = nullptr)
    {
        try {
            Scale s(path, Scale::SCALA);
            if (out) *out = s;
        } catch (const QString& message) {
            return message;
        }
        return QString();
    }

private slots:
    void reads_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("degrees");
        QTest::addColumn<QString>("error");
        const QString none;
        // Comments are skipped wherever they are; the count line is never read.
        QTest::newRow("just 5-limit")
            << QByteArray("! a comment\nJust 5-limit\n 2\n9/8\n5/4\n50.5\n2/1\n") << "Just 5-limit"
            << "9/8 5/4 50.5c 2/1" << none;
        QTest::newRow("name made one line") << QByteArray("  My   scale \r\n") << "My scale"
                                            << "" << none;
        QTest::newRow("empty file") << QByteArray() << ""
                                    << "" << none;
        QTest::newRow("no count, no degrees") << QByteArray("!\n!\nName only") << "Name only"
                                              << "" << none;
        QTest::newRow("blanks around slash") << QByteArray("x\n1\n3 / 2\n") << "x"
                                             << "3/2" << none;
        QTest::newRow("comment without stop") << QByteArray("x\n1\n3/2 fifth\n") << "x"
                                              << "3/2" << none;
        QTest::newRow("zero cents") << QByteArray("x\n1\n0.0\n") << "x"
                                    << "0c" << none;
        QTest::newRow("cents forms") << QByteArray("x\n1\n.5\n+100.\n1.5e2 c\n") << "x"
                                     << "0.5c 100c 150c" << none;
        QTest::newRow("CR LF") << QByteArray("x\r\n3\r\n9/8\r\n100.0\r\n2\r\n") << "x"
                               << "9/8 100c 2/1" << none;
        QTest::newRow("largest int") << QByteArray("x\n\n2147483647/2147483646\n") << "x"
                                     << "2147483647/2147483646" << none;
        QTest::newRow("text ends at NUL") << QByteArray("x\n\n3/2\0 junk\n", 13) << "x"
                                          << "3/2" << none;
        // Lines count from 1, comments included.
        QTest::newRow("negative numerator") << QByteArray("!\n!\nx\n3\n9/8\n!\n-5/4\n") << ""
                                            << ""
                                            << "Line 7: Parsed numerator is negative '-5'";
        QTest::newRow("colon") << QByteArray("!\nx\n3\n5:4\n") << ""
                               << ""
                               << "Line 4: There is no slash between numerator and denominator:'";
        QTest::newRow("zero denominator") << QByteArray("!\n!\n!\nx\n3\n5/0\n") << ""
                                          << ""
                                          << "Line 6: Parsed denominator is not positive'0'";
        QTest::newRow("negative denominator") << QByteArray("x\n\n3/-2\n") << ""
                                              << ""
                                              << "Line 3: Parsed denominator is not positive'-2'";
        QTest::newRow("1/0") << QByteArray("x\n\n1/0\n") << ""
                             << ""
                             << "Line 3: Parsed denominator is not positive'0'";
        QTest::newRow("negative cents") << QByteArray("!\n!\n!\n!\n!\nx\n3\n9/8\n-10.0\n") << ""
                                        << ""
                                        << "Line 9: Parsed cents value is negative '-10'";
        QTest::newRow("blank degree line") << QByteArray("x\n3\n \t\n") << ""
                                           << ""
                                           << "Line 3: There is no slash between numerator and denominator'";
        QTest::newRow("indented comment") << QByteArray("x\n3\n  ! no.\n") << ""
                                          << ""
                                          << "Line 3: There is no slash between numerator and denominator!'";
        // Past 2^31 - 1 = 2147483647.
        QTest::newRow("numerator too large") << QByteArray("x\n\n2147483648/1\n") << ""
                                             << ""
                                             << "Line 3: Parsed numerator is too large '2147483648'";
        QTest::newRow("denominator too large")
            << QByteArray("x\n\n1/00099999999999999999999\n") << ""
            << ""
            << "Line 3: Parsed denominator is too large '99999999999999999999'";
        QTest::newRow("cents past float") << QByteArray("x\n\n1.0e39\n") << ""
                                          << ""
                                          << "Line 3: Parsed cents value is too large '1.0e39'";
        // Control bytes are written as \xNN, a UTF-8 character whole (÷ is C3 B7).
        QTest::newRow("control byte") << QByteArray("x\n\n5\x1b"
                                                    "4\n")
                                      << ""
                                      << ""
                                      << "Line 3: There is no slash between numerator and denominator\\x1b'";
        QTest::newRow("UTF-8 character")
            << QByteArray("x\n\n5\xc3\xb7"
                          "4\n")
            << ""
            << ""
            << QString::fromUtf8("Line 3: There is no slash between numerator and "
                                 "denominator\xc3\xb7'");
        // 1023 characters fit on a line; the first longer line ends the reading quietly.
        QTest::newRow("longest line") << QByteArray("x\n\n9/8" + QByteArray(1020, ' ') + "\n5/4\n") << "x"
                                      << "9/8 5/4" << none;
        QTest::newRow("longer line") << QByteArray("x\n\n9/8\n" + QByteArray(1024, '1') + "\n5/4\n") << "x"
                                     << "9/8" << none;
        QTest::newRow("million-character line") << QByteArray(1000000, 'D') + "\n1\n3/2\n"
                                                << ""
                                                << "" << none;
    }

    void reads()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, name);
        QFETCH(QString, degrees);
        QFETCH(QString, error);
        const QString path = write(content);
        QVERIFY(!path.isEmpty());
        Scale s(QString("unread"));
        QCOMPARE(read(path, &s), error);
        if (!error.isEmpty()) return;
        QCOMPARE(s.name, name);
        QCOMPARE(s.filename, path);
        QCOMPARE(Degrees(s), degrees);
        for (const ScaleDegree& d : s.values) {
            QCOMPARE(d.label_rect, QRect(QPoint(0, 0), QPoint(-1, -1)));
            if (d.is_ratio) {
                QCOMPARE(d.cents, 0.0f);
            } else {
                QCOMPARE(d.numerator + d.denominator, 0);
                QCOMPARE(d.ratio, 0.0f);
            }
        }
    }

    void degreeFields()
    {
        Scale s(QString("unread"));
        QCOMPARE(read(write("x\n\n9/8\n50.5\n"), &s), QString());
        QCOMPARE(s.values.size(), 2);
        QVERIFY(s.values[0].is_ratio && !s.values[1].is_ratio);
        QCOMPARE(s.values[0].ratio, 1.125f); // 9 / 8
        QCOMPARE(s.values[1].cents, 50.5f);
        QCOMPARE(s.values[0].sizeInCents(), 1200 * std::log2(1.125)); // 203.91 cents
        QCOMPARE(s.values[1].sizeInCents(), 50.5);
    }

    // The three mends, on files the grammar refused or misread as written.
    void mends_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("degrees");
        // A bare integer is that ratio over 1 ("2" was the no-slash error).
        QTest::newRow("bare integer")
            << QByteArray("Octaves\n 3\n2\n  4 ! double octave\n3\r\n8 octaves\n") << "Octaves"
            << "2/1 4/1 3/1 8/1";
        // A full stop in a comment after a ratio made it 3 cents, 5 cents, 2 cents.
        QTest::newRow("full stop in comment")
            << QByteArray("x\n3\n3/2 ! fifth, 701.955 c.\n5/4 386.3 c.\n2 ! oct.\n") << "x"
            << "3/2 5/4 2/1";
        QTest::newRow("cents with ratio comment") << QByteArray("x\n1\n386.25 ! 5/4\n") << "x"
                                                  << "386.25c";
        // UTF-8 descriptions as UTF-8 (was "MÄ\u0081rvÄ\u0081"), anything else as Latin-1.
        QTest::newRow("UTF-8 name") << QByteArray("M\xc4\x81rv\xc4\x81  th\xc4\x81t\n")
                                    << QString::fromUtf8("Mārvā thāt") << "";
        QTest::newRow("Latin-1 name")
            << QByteArray("Caf\xe9 scale\n") << QString::fromUtf8("Café scale") << "";
        QTest::newRow("mixed bytes") << QByteArray("\xc4\x81 \xe9\n") << QString::fromLatin1("\xc4\x81 \xe9")
                                     << "";
        QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf! x.scl\nx\n1\n9/8\n") << "x"
                                         << "9/8";
    }

    void mends()
    {
        QFETCH(QByteArray, content);
        Scale s(QString("unread"));
        QCOMPARE(read(write(content), &s), QString());
        QTEST(s.name, "name");
        QTEST(Degrees(s), "degrees");
    }

    void pathOutsideLatin1()
    {
        for (const QString& name : {QString::fromUtf8("Mārvā.scl"), QString::fromUtf8("café.scl")}) {
            Scale s(QString("unread"));
            QCOMPARE(read(write("x\n1\n3/2\n", name), &s), QString());
            QCOMPARE(Degrees(s), QString("3/2"));
        }
    }

    void unopenable_data()
    {
        QTest::addColumn<QString>("path");
        QTest::newRow("missing") << m_dir.filePath("missing.scl");
        QTest::newRow("directory") << m_dir.path();
        QTest::newRow("empty name") << QString();
    }

    void unopenable()
    {
        QFETCH(QString, path);
        QCOMPARE(read(path), "Unkown filename: '" + path + "'");
    }

    void millionLines()
    {
        // 2 + 2^20 lines: 2^20 = 1048576 degrees fit, one more is refused.
        QByteArray many("Many\n1048576\n");
        for (int i = 0; i < (1 << 20); ++i)
            many += "1/1\n";
        Scale s(QString("unread"));
        QCOMPARE(read(write(many), &s), QString());
        QCOMPARE(s.values.size(), 1 << 20);
        QCOMPARE(read(write(many + "3/2\n")), QString("Line 1048579: Too many degrees (more than 1048576)"));
        // A million comment lines count: the bad line is 2 + 1000000 + 1.
        QByteArray comments("x\n1\n");
        for (int i = 0; i < 1000000; ++i)
            comments += "!\n";
        QCOMPARE(read(write(comments + "5:4\n")),
                 QString("Line 1000003: There is no slash between numerator and denominator:'"));
    }

    void binaryJunk()
    {
        QRandomGenerator random(20240611);
        for (int i = 0; i < 300; ++i) {
            QByteArray junk(int(random.bounded(4096)), '\0');
            for (char& c : junk)
                c = random.bounded(16) == 0 ? '\n' : char(random.bounded(256));
            const QString message = read(write(junk, "junk.scl"));
            QVERIFY2(message.isEmpty() || message.startsWith("Line "), qPrintable(message));
        }
    }

    void unsupportedType()
    {
        const QString path = write("x\n1\n3/2\n");
        std::unique_ptr<Scale> s;
        const QString out = Stdout([&] { s = std::make_unique<Scale>(path, Scale::FileType(2)); });
        QCOMPARE(out, QString("MicrotonalView::Scale::Scale unsupported file type '2'\n"));
        QCOMPARE(s->filename, path);
        QVERIFY(s->name.isEmpty() && s->values.isEmpty());
    }

    void builtInScale()
    {
        const Scale named(QString("Mine"));
        QVERIFY(named.name == "Mine" && named.filename.isEmpty() && named.values.isEmpty());
        const Scale s = Scales::DefaultScale();
        QCOMPARE(s.name, QString("default"));
        QVERIFY(s.filename.isEmpty());
        QCOMPARE(Degrees(s),
                 QString("25/24 16/15 9/8 7/6 75/64 6/5 5/4 32/25 125/96 4/3 25/18 45/32 36/25 3/2 "
                         "25/16 8/5 5/3 125/72 16/9 9/5 15/8 48/25 125/64"));
    }

    void installedDirectory()
    {
        QCOMPARE(Scales::InstalledScalesDirectory(), QString(ORFE_INSTALL_PREFIX_TEXT "/share/orfe/scales"));
    }

    void installedScales()
    {
        QTemporaryDir dir;
        const QMap<QString, QByteArray> files{{"a.scl", "A\n"},
                                              {"b.SCL", "B\n"},
                                              {"c.Scl", "C\n"},
                                              {"d.scl.bak", "D\n"},
                                              {"e.scl", "default\n"},
                                              {"f.scl", "Twin\n1\n3/2\n"},
                                              {"g.scl", "Twin\n1\n5/4\n"},
                                              {"h.scl", "H\n1\n5:4\n"}};
        for (auto it = files.begin(); it != files.end(); ++it) {
            QFile f(dir.filePath(it.key()));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(it.value()) == it.value().size());
        }
        QVERIFY(QDir(dir.path()).mkdir("sub.scl"));
        // The directory's own order, straight from readdir; what it should give.
        QStringList expected{"default"}, paths{QString()};
        DIR* d = opendir(QFile::encodeName(dir.path()).constData());
        QVERIFY(d);
        while (const dirent* e = readdir(d)) {
            const QString file = QFile::decodeName(e->d_name);
            const QString name = QString::fromLatin1(files.value(file)).section('\n', 0, 0);
            if (QStringList{"A", "B", "Twin"}.contains(name) && !expected.contains(name)) {
                expected << name;
                paths << dir.filePath(file);
            }
        }
        closedir(d);

        QList<Scale*> scales{new Scale(Scales::DefaultScale())};
        const QString out = Stdout([&] { Scales::LoadInstalledScales(scales, dir.path()); });
        QCOMPARE(out,
                 QString("MicrotonalView::load_installed_scales Line 3: There is no slash between numerator "
                         "and denominator:'\n"));
        QStringList names, filenames;
        for (const Scale* s : scales) {
            names << s->name;
            filenames << s->filename;
        }
        QCOMPARE(names, expected);
        QCOMPARE(filenames, paths);
        QCOMPARE(Scales::AddScaleFile(scales, dir.filePath("a.scl"), "MicrotonalView::load"), nullptr);
        qDeleteAll(scales);
    }
};

QTEST_GUILESS_MAIN(TestScale)
#include "tst_scale.moc"
