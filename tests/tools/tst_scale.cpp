// The scale checker as a user runs it: the real executable on real files, the
// scales installed with the program among them.

#include <QtTest>

#include "RunProgram.h"

namespace {

// One CSV record: fields split at commas outside quotes, "" inside quotes is ".
QStringList CsvFields(const QString& line)
{
    QStringList fields{QString()};
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (quoted && c == '"' && i + 1 < line.size() && line[i + 1] == '"') {
            fields.last() += c;
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields << QString();
        } else {
            fields.last() += c;
        }
    }
    return fields;
}

const QString HEADER = "file,name,index,kind,numerator,denominator,cents";

} // namespace

class TestScaleTool : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

    QString write(const QString& name, const QByteArray& content)
    {
        QFile f(m_dir.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()) return QString();
        return f.fileName();
    }

private slots:
    // Every installed scale reads; its rows match its own note count, climb,
    // and end on the octave.
    void readsEveryInstalledScale()
    {
        QStringList files;
        for (const QString& f : QDir(ORFE_SCALES_DIR).entryList({"*.scl"}, QDir::Files))
            files << QDir(ORFE_SCALES_DIR).filePath(f);
        QVERIFY(files.size() >= 9);
        const RunResult r = RunProgram(ORFE_SCALE, QStringList{"--csv"} + files);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.err, QString());
        QCOMPARE(r.out.value(0), HEADER);
        for (const QString& file : files) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            QStringList entries; // lines that are not comments: description, count, degrees
            for (const QString& line : QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts))
                if (!line.startsWith('!')) entries << line;
            QList<QStringList> rows;
            for (const QString& line : r.out)
                if (CsvFields(line).value(0) == file) rows << CsvFields(line);
            QCOMPARE(rows.size(), entries.value(1).trimmed().toInt());
            QCOMPARE(rows.size(), entries.size() - 2);
            double last = 0;
            for (const QStringList& row : rows) {
                QCOMPARE(row.size(), 7);
                QCOMPARE(row[1], entries[0]);
                QVERIFY2(row[6].toDouble() > last, qPrintable(row.join(',')));
                last = row[6].toDouble();
            }
            QCOMPARE(rows.last()[6], QString("1200.000000"));
        }
    }

    void csvQuotesAndKinds()
    {
        const QString path = write("a,b.scl", "He said \"hi\", then left\n2\n3/2\n50.5\n");
        const RunResult r = RunProgram(ORFE_SCALE, {"--csv", path});
        QCOMPARE(r.status, 0);
        // 1200 log2(3/2) = 701.955001
        QCOMPARE(
            r.out,
            QStringList({HEADER, "\"" + path + "\",\"He said \"\"hi\"\", then left\",1,ratio,3,2,701.955001",
                         "\"" + path + "\",\"He said \"\"hi\"\", then left\",2,cents,,,50.500000"}));
    }

    void text()
    {
        const QString path = write("text.scl", "! text.scl\nFifth and a bit\n2\n3/2\n50.5\n");
        const RunResult r = RunProgram(ORFE_SCALE, {path});
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out.value(0), path + ": Fifth and a bit");
        QCOMPARE(r.out.value(1).simplified(), QString("1 ratio 3/2 701.955 cents"));
        QCOMPARE(r.out.value(2).simplified(), QString("2 cents 50.5 50.500 cents"));
    }

    // A bad file: one line on standard error, the other files still read, status 2.
    void goesOnAfterABadFile_data()
    {
        QTest::addColumn<QString>("bad");
        QTest::addColumn<QString>("message");
        QTest::newRow("no slash") << write("bad.scl", "!\nBad\n3\n5:4\n")
                                  << "Line 4: There is no slash between numerator and denominator:'";
        const QString missing = m_dir.filePath("missing.scl");
        QTest::newRow("missing") << missing << "Unkown filename: '" + missing + "'";
    }

    void goesOnAfterABadFile()
    {
        QFETCH(QString, bad);
        QFETCH(QString, message);
        const QString first = write("first.scl", "First\n1\n9/8\n");
        const QString last = write("last.scl", "Last\n1\n2\n");
        const RunResult r = RunProgram(ORFE_SCALE, {"--csv", first, bad, last});
        QCOMPARE(r.status, 2);
        QCOMPARE(r.err, bad + ": " + message + "\n");
        QCOMPARE(r.out, QStringList({HEADER, first + ",First,1,ratio,9,8,203.910002",
                                     last + ",Last,1,ratio,2,1,1200.000000"}));
    }

    void usage()
    {
        QCOMPARE(RunProgram(ORFE_SCALE, {}).status, 2);
        QCOMPARE(RunProgram(ORFE_SCALE, {"--frobnicate", "x.scl"}).status, 2);
        const RunResult help = RunProgram(ORFE_SCALE, {"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.value(0).startsWith("Usage: orfe-scale"));
    }
};

QTEST_GUILESS_MAIN(TestScaleTool)
#include "tst_scale.moc"
