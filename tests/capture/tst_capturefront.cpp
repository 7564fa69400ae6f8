// The capture front without any sound server: registry, selection, auto-detection,
// sources, the format declaration, the converters and the packet protocol.
// Environment: no JACK server under JACK_DEFAULT_SERVER, no Qt audio plugin (library
// paths emptied below), no /dev/dsp on this machine.

#include "CaptureTestUtil.h"
#include "CaptureThreadImpl.h"
#include "CaptureThreadImplOSS.h"

#include <QCoreApplication>
#include <QtTest>
#include <cstdint>
#include <cstring>

class TestCaptureFront : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Without plugins Qt Multimedia lists no device, so the Qt transport is N/A.
        QCoreApplication::setLibraryPaths(QStringList());
        QVERIFY(QFileInfo::exists("/dev/dsp") == false);
    }

    void registryListing()
    {
        StdoutCapture out;
        CaptureThread front("orfe");
        const QStringList lines = out.end();
        QVERIFY(lines.size() >= 4);
        const int first = lines.indexOf("CaptureThread: INFO: Built-in transports");
        QVERIFY(first >= 0);
        QCOMPARE(lines.mid(first + 1, 3),
                 QStringList({QStringLiteral("CaptureThread: INFO:\tN/A\tQt\tQt (lib:") + qVersion() + ")",
                              "CaptureThread: INFO:\tN/A\tJACK\tJack Audio Connection Kit",
                              "CaptureThread: INFO:\tN/A (No such file or directory)\tOSS\tOpen Sound System "
                              "(lib:40000)"}));
        QCOMPARE(int(front.getTransports().size()), 3);
        QCOMPARE(front.getTransports()[0]->getName(), QString("Qt"));
        QCOMPARE(front.getTransports()[1]->getName(), QString("JACK"));
        QCOMPARE(front.getTransports()[2]->getName(), QString("OSS"));
        QCOMPARE(front.getTransport("OSS"), front.getTransports()[2]);
        QCOMPARE(front.getTransport("jack"), static_cast<CaptureThreadImpl*>(nullptr));
        QCOMPARE(front.getTransport("Qt")->getSource(), QString("default"));
        QCOMPARE(front.getTransport("OSS")->getSource(), QString("/dev/dsp"));
        QCOMPARE(front.getTransport("JACK")->getSource(), QString());
        QCOMPARE(front.getTransport("OSS")->getSamplingRate(), -1);
    }

    void nothingSelected()
    {
        CaptureThread front("orfe");
        SignalRecorder rec(&front);
        QCOMPARE(front.getCurrentTransport(), static_cast<CaptureThreadImpl*>(nullptr));
        QCOMPARE(front.getCurrentTransportIndex(), -1);
        QCOMPARE(front.getSamplingRate(), -1);
        StdoutCapture out;
        front.startCapture();
        front.toggleCapture(true);
        front.reset();
        front.setSamplingRate(44100);
        front.stopCapture();
        front.setSource("anything");
        const QStringList lines = out.end();
        QCOMPARE(lines, QStringList({"CaptureThread: setSource: ERROR: select a transport first"}));
        QCoreApplication::processEvents();
        QVERIFY(!front.isCapturing());
        QCOMPARE(rec.started + rec.stopped + rec.errors.size() + rec.sources.size(), 0);
    }

    void selectByName()
    {
        CaptureThread front("orfe");
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.selectTransport(QString("JACK"));
        front.selectTransport(QString("JACK"));
        QCOMPARE(out.end(), QStringList({"CaptureThread: INFO: using JACK transport",
                                         "CaptureThread: INFO: using JACK transport"}));
        QCOMPARE(rec.transports, QStringList({"JACK"}));
        QCOMPARE(front.getCurrentTransportIndex(), 1);
        QCOMPARE(front.getCurrentTransport(), front.getTransport("JACK"));
    }

    void selectUnknownName()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("OSS"));
        SignalRecorder rec(&front);
        StdoutCapture out;
        QString raised;
        try {
            front.selectTransport(QString("ALSA"));
        } catch (const QString& e) {
            raised = e;
        }
        QCOMPARE(out.end(), QStringList({"CaptureThread: INFO: using ALSA transport",
                                         "CaptureThread: ERROR: unknown transport 'ALSA'"}));
        QCOMPARE(raised, QString("CaptureThread: ERROR: unknown transport 'ALSA'"));
        QCOMPARE(front.getCurrentTransport()->getName(), QString("OSS"));
        QVERIFY(rec.transports.isEmpty());
        QVERIFY(!front.isCapturing());
    }

    void selectByIndex()
    {
        CaptureThread front("orfe");
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.selectTransport(2);
        front.selectTransport(2);
        front.selectTransport(0);
        QCOMPARE(out.end(), QStringList({"CaptureThread: INFO: change transport to OSS transport",
                                         "CaptureThread: INFO: change transport to Qt transport"}));
        QCOMPARE(rec.transports, QStringList({"OSS", "Qt"}));
        QCOMPARE(front.getCurrentTransportIndex(), 0);
    }

    void autoDetectNothing()
    {
        CaptureThread front("orfe");
        SignalRecorder rec(&front);
        StdoutCapture out;
        front.autoDetectTransport();
        QCOMPARE(out.end(),
                 QStringList({"CaptureThread: INFO: Auto detecting a working transport ... no working "
                              "transport !"}));
        QVERIFY(rec.transports.isEmpty());
        QCOMPARE(front.getCurrentTransportIndex(), -1);

        // After a selection, finding nothing says so with an empty name and keeps the selection.
        front.selectTransport(QString("OSS"));
        rec.clear();
        front.autoDetectTransport();
        QCOMPARE(rec.transports, QStringList({QString()}));
        QCOMPARE(front.getCurrentTransport()->getName(), QString("OSS"));
    }

    void sources()
    {
        CaptureThread front("orfe");
        front.selectTransport(QString("OSS"));
        SignalRecorder rec(&front);
        front.setSource("/dev/dsp");
        QVERIFY(rec.sources.isEmpty());
        front.setSource("/dev/dsp1");
        QCOMPARE(rec.sources, QStringList({"/dev/dsp1"}));
        QCOMPARE(front.getCurrentTransport()->getSource(), QString("/dev/dsp1"));
    }

    void deviceSourceName_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("expected");
        QTest::newRow("default") << "default"
                                 << "default";
        QTest::newRow("port") << "system:capture_1"
                              << "system:capture_1";
        // U+00E9 is Latin-1; U+263A is not and becomes '?'.
        QTest::newRow("latin1") << QString::fromUtf8("caf\xc3\xa9") << QString::fromUtf8("caf\xc3\xa9");
        QTest::newRow("not latin1") << QString::fromUtf8("a\xe2\x98\xba") << "a?";
        QTest::newRow("embedded nul") << QString("ab") + QChar(0) + "cd"
                                      << "ab";
    }
    void deviceSourceName()
    {
        QFETCH(QString, source);
        QFETCH(QString, expected);
        CaptureThread front("orfe");
        CaptureThreadImpl* impl = front.getTransport("JACK");
        impl->setSource(source);
        QCOMPARE(impl->deviceSourceName(), expected);
    }

    void declareFormat_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<bool>("is_signed");
        QTest::addColumn<bool>("is_float");
        QTest::addColumn<int>("channels");
        QTest::addColumn<bool>("mix");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("converter"); // 0 s16, 1 u16, 2 s8, 3 u8
        QTest::addColumn<int>("adder");     // 0 mono, 1 first channel, 2 mixing
        QTest::newRow("jack") << 4 << true << true << 1 << false
                              << "CaptureThread: INFO: format is signed float 32bits with 1 channel(s)" << 2
                              << 0;
        QTest::newRow("u16 stereo")
            << 2 << false << false << 2 << false
            << "CaptureThread: INFO: format is unsigned integer 16bits with 2 channel(s)" << 1 << 1;
        QTest::newRow("s16 stereo mixed")
            << 2 << true << false << 2 << true
            << "CaptureThread: INFO: format is signed integer 16bits with 2 channel(s)" << 0 << 2;
        QTest::newRow("u8 mono") << 1 << false << false << 1 << true
                                 << "CaptureThread: INFO: format is unsigned integer 8bits with 1 channel(s)"
                                 << 3 << 0;
    }
    void declareFormat()
    {
        QFETCH(int, bytes);
        QFETCH(bool, is_signed);
        QFETCH(bool, is_float);
        QFETCH(int, channels);
        QFETCH(bool, mix);
        QFETCH(QString, line);
        QFETCH(int, converter);
        QFETCH(int, adder);
        const CaptureThreadImpl::Converter converters[] = {
            &CaptureThreadImpl::fromSigned16, &CaptureThreadImpl::fromUnsigned16,
            &CaptureThreadImpl::fromSigned8, &CaptureThreadImpl::fromUnsigned8};
        const CaptureThreadImpl::Adder adders[] = {
            &CaptureThreadImpl::addMono, &CaptureThreadImpl::addFirstChannel, &CaptureThreadImpl::addMixed};
        CaptureThread front("orfe");
        front.setMixMultipleChannels(mix);
        CaptureThreadImpl* impl = front.getTransport("OSS");
        StdoutCapture out;
        impl->declareFormat(bytes, is_signed, is_float, channels);
        QCOMPARE(out.end(), QStringList({line}));
        QCOMPARE(impl->bytesPerSample(), bytes);
        QCOMPARE(impl->channels(), channels);
        QVERIFY(impl->converter() == converters[converter]);
        QVERIFY(impl->adder() == adders[adder]);
    }

    void converters_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("raw");
        QTest::addColumn<double>("value");
        // s16: s / 32768
        QTest::newRow("s16 min") << 0 << -32768 << -1.0;
        QTest::newRow("s16 half") << 0 << 16384 << 0.5;
        QTest::newRow("s16 max") << 0 << 32767 << 32767.0 / 32768.0; // 0.999969482421875
        // u16: 2u / 65536 - 1
        QTest::newRow("u16 zero") << 1 << 0 << -1.0;
        QTest::newRow("u16 middle") << 1 << 32768 << 0.0;
        QTest::newRow("u16 max") << 1 << 65535 << 65534.0 / 65536.0; // 2*65535/65536 - 1 = 0.999969482421875
        // s8: s / 128
        QTest::newRow("s8 min") << 2 << -128 << -1.0;
        QTest::newRow("s8 quarter") << 2 << 32 << 0.25;
        // u8: 2u / 256 - 1
        QTest::newRow("u8 zero") << 3 << 0 << -1.0;
        QTest::newRow("u8 192") << 3 << 192 << 0.5; // 384/256 - 1
    }
    void converters()
    {
        QFETCH(int, kind);
        QFETCH(int, raw);
        QFETCH(double, value);
        // The sample sits at index 1 of a buffer with neighbours that must not leak in.
        unsigned char buffer[6] = {0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA};
        if (kind < 2) {
            const uint16_t bits = uint16_t(raw);
            std::memcpy(buffer + 2, &bits, 2);
        } else {
            buffer[1] = static_cast<unsigned char>(raw & 0xFF);
        }
        const CaptureThreadImpl::Converter f[] = {
            &CaptureThreadImpl::fromSigned16, &CaptureThreadImpl::fromUnsigned16,
            &CaptureThreadImpl::fromSigned8, &CaptureThreadImpl::fromUnsigned8};
        QCOMPARE(f[kind](buffer, 1), value);
    }

    void stereoBlock_data()
    {
        QTest::addColumn<bool>("mix");
        QTest::addColumn<QVector<double>>("expected_oldest_first");
        // Six s16 samples 1000, 3000, -2000, -4000, 8192, 0 (/32768).
        QTest::newRow("first channel")
            << false << QVector<double>{1000 / 32768.0, -2000 / 32768.0, 8192 / 32768.0};
        // (s0+s1)/2 = 2000, (s2+s3)/2 = -3000, (s4+s5)/2 = 4096
        QTest::newRow("mixed") << true << QVector<double>{2000 / 32768.0, -3000 / 32768.0, 4096 / 32768.0};
    }
    void stereoBlock()
    {
        QFETCH(bool, mix);
        QFETCH(QVector<double>, expected_oldest_first);
        CaptureThread front("orfe");
        front.setMixMultipleChannels(mix);
        CaptureThreadImpl* impl = front.getTransport("OSS");
        impl->declareFormat(2, true, false, 2);
        const int16_t raw[7] = {1000, 3000, -2000, -4000, 8192, 0, 12345}; // the last is past the block
        impl->pushRawBlock(raw, 6);
        const QueueSnapshot snap = TakeSnapshot(front);
        QCOMPARE(QVector<double>(snap.oldest_first.begin(), snap.oldest_first.end()), expected_oldest_first);
        QCOMPARE(snap.pushed_since_drain, 6);
    }

    void mixFlagAppliesAtDeclaration()
    {
        CaptureThread front("orfe");
        CaptureThreadImpl* impl = front.getTransport("OSS");
        impl->declareFormat(2, true, false, 2);
        front.setMixMultipleChannels(true);
        const int16_t raw[2] = {100, 300};
        impl->pushRawBlock(raw, 2);
        QCOMPARE(TakeSnapshot(front).oldest_first, std::vector<double>({100 / 32768.0}));
        impl->declareFormat(2, true, false, 2);
        impl->pushRawBlock(raw, 2);
        QCOMPARE(TakeSnapshot(front).oldest_first, std::vector<double>({100 / 32768.0, 200 / 32768.0}));
    }

    void pausedBlocksAreDropped()
    {
        CaptureThread front("orfe");
        CaptureThreadImpl* impl = front.getTransport("OSS");
        impl->declareFormat(2, true, false, 1);
        const int16_t raw[4] = {1, 2, 3, 4};
        impl->pushRawBlock(raw, 4);
        front.togglePause(true);
        impl->pushRawBlock(raw, 4);
        const float f[2] = {0.5f, 0.25f};
        impl->pushFloatBlock(f, 2);
        QCOMPARE(TakeSnapshot(front).oldest_first.size(), size_t(4));
        QCOMPARE(TakeSnapshot(front).pushed_since_drain, 4);
        front.togglePause(false);
        impl->pushFloatBlock(f, 2);
        QCOMPARE(TakeSnapshot(front).oldest_first,
                 std::vector<double>({1 / 32768.0, 2 / 32768.0, 3 / 32768.0, 4 / 32768.0, 0.5, 0.25}));
    }

    void drainCounter()
    {
        CaptureThread front("orfe");
        CaptureThreadImpl* impl = front.getTransport("OSS");
        impl->declareFormat(2, true, false, 1);
        int16_t raw[10] = {0};
        impl->pushRawBlock(raw, 7);
        {
            std::lock_guard<std::mutex> lock(front.m_capture_queue.m_queue_lock);
            front.m_capture_queue.m_drain_started = true;
        }
        impl->pushRawBlock(raw, 10);
        QueueSnapshot snap = TakeSnapshot(front);
        QCOMPARE(snap.pushed_since_drain, 10);
        QVERIFY(!snap.drain_started);
        impl->pushRawBlock(raw, 5);
        snap = TakeSnapshot(front);
        QCOMPARE(snap.pushed_since_drain, 15);
        QCOMPARE(snap.oldest_first.size(), size_t(22)); // 7 + 10 + 5: draining is the consumer's job
    }

    void pauseFlag()
    {
        CaptureThread front("orfe");
        QVERIFY(!front.isPaused());
        front.togglePause(true);
        QVERIFY(front.isPaused());
        QVERIFY(!front.isCapturing());
    }
};

QTEST_GUILESS_MAIN(TestCaptureFront)
#include "tst_capturefront.moc"
