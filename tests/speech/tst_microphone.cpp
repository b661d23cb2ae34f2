#include "config/ConfigWindowSession.h"
#include "recognizer/RecognizerSettings.h"
#include "recognizer/audio/SoundServerMessages.h"
#include "recognizer/fake/FakeSoundSources.h"
#include "speech/VuMeterBar.h"
#include "speech/frmVolSet.h"

#include <QAction>
#include <QComboBox>

using Condition = Recognizer::InputCondition;

// The microphone as the windows show it: the choice in the sound meter window, stored and used,
// the sound server's messages in the speech window's status bar, and the level meter's word on
// the input. The sound server is a fake here; tst_pulseaudio runs the real one.
class TestMicrophone : public ConfigWindowSession
{
    Q_OBJECT

private:
    FakeSoundSources m_sources;
    VuMeterBar m_meter;

    std::unique_ptr<frmVolSet> soundMeter()
    {
        return std::make_unique<frmVolSet>(m_meter, m_recognizer, nullptr, nullptr, &m_sources);
    }
    static QStringList entries(QComboBox *box)
    {
        QStringList texts;
        for (int i = 0; i < box->count(); ++i)
            texts.append(box->itemText(i));
        return texts;
    }
    static QString state(QWidget *window)
    {
        return window->findChild<QLabel *>("lblMicrophoneState")->text();
    }

private Q_SLOTS:
    void init()
    {
        fresh();
        m_sources.setError({});
        m_sources.setSources({{"usb", "USB Headset"},
                              {"builtin", "Built-in Audio"},
                              {"builtin.monitor", "Monitor of Built-in Audio"}},
                             "builtin");
        m_recognizer.setActivateNotice({});
    }

    // What the sound meter window offers: the default first, then the server's sources; a chosen
    // microphone that is not connected stays chosen, marked; the default is there to choose
    // whatever the server says.
    void microphonesOffered_data()
    {
        QTest::addColumn<QString>("listError");
        QTest::addColumn<bool>("sources");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QStringList>("offered");
        QTest::addColumn<QString>("shown");
        const QStringList listed{"Default: Built-in Audio", "Built-in Audio", "USB Headset",
                                 "Monitor of Built-in Audio"};
        QTest::newRow("listed") << QString() << true << "" << listed << "";
        QTest::newRow("chosen one not connected")
            << QString() << true << "bt"
            << listed + QStringList{"Bluetooth Headset (not connected)"}
            << SoundServerMessages::chosenSourceGone("Bluetooth Headset");
        QTest::newRow("no sound server")
            << SoundServerMessages::noServer() << true << "" << QStringList{"Default"}
            << "No sound server is running: start PipeWire or PulseAudio, then click the level "
               "meter.";
        QTest::newRow("no source") << QString() << false << "" << QStringList{"Default"}
                                   << SoundServerMessages::noSource();
    }
    void microphonesOffered()
    {
        QFETCH(QString, listError);
        QFETCH(bool, sources);
        QFETCH(QString, chosen);
        QFETCH(QStringList, offered);
        QFETCH(QString, shown);
        m_sources.setError(listError);
        if (!sources)
            m_sources.setSources({}, {});
        if (!chosen.isEmpty())
            RecognizerSettings::setMicrophone({chosen, "Bluetooth Headset"});
        auto window = soundMeter();
        auto *box = window->findChild<QComboBox *>("cmbMicrophone");
        QCOMPARE(entries(box), offered);
        QCOMPARE(box->currentIndex(), chosen.isEmpty() ? 0 : offered.size() - 1);
        QCOMPARE(state(window.get()), shown);
        QCOMPARE(window->findChild<QLabel *>("lblMicrophone")->buddy(), box);
        QCOMPARE(RecognizerSettings::microphone().name, chosen);
    }

    // The choice is stored when made, and the recognizer listens again on it, so that the
    // meter shows the new microphone: also when the window opened without listening (no sound
    // server then).
    void choiceStoredAndUsed_data()
    {
        QTest::addColumn<bool>("listening");
        QTest::newRow("listening") << true;
        QTest::newRow("not listening") << false;
    }
    void choiceStoredAndUsed()
    {
        QFETCH(bool, listening);
        if (listening)
            QVERIFY(m_recognizer.Activate());
        const int activations = m_recognizer.activations();
        auto window = soundMeter();
        window->show();
        auto *box = window->findChild<QComboBox *>("cmbMicrophone");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_Down);
        QTest::keyClick(box, Qt::Key_Down);
        QCOMPARE(box->currentText(), QString("USB Headset"));
        QCOMPARE(RecognizerSettings::microphone().name, QString("usb"));
        QCOMPARE(RecognizerSettings::microphone().description, QString("USB Headset"));
        QVERIFY(m_recognizer.isActive());
        QCOMPARE(m_recognizer.activations(), activations + 2);
        // Shown again as chosen, also when the server lists it elsewhere.
        m_sources.setSources({{"builtin", "Built-in Audio"}, {"usb", "USB Headset"}}, "builtin");
        QCOMPARE(soundMeter()->findChild<QComboBox *>("cmbMicrophone")->currentText(),
                 QString("USB Headset"));

        // The first entry gives the choice back to the sound settings.
        QTest::keyClick(box, Qt::Key_Home);
        QCOMPARE(box->currentIndex(), 0);
        QCOMPARE(RecognizerSettings::microphone().name, QString());
        QVERIFY(!QSettings().contains("Recognizer/Microphone"));
    }

    // A choice made while listening that cannot be opened says why in the window.
    void choiceThatCannotBeOpened()
    {
        QVERIFY(m_recognizer.Activate());
        auto window = soundMeter();
        window->show();
        m_recognizer.setActivateError(SoundServerMessages::noServer());
        auto *box = window->findChild<QComboBox *>("cmbMicrophone");
        box->setFocus();
        QTest::keyClick(box, Qt::Key_End);
        QCOMPARE(state(window.get()), SoundServerMessages::noServer());
        m_recognizer.setActivateError({});
        m_recognizer.setActivateNotice(SoundServerMessages::chosenSourceGone("USB Headset"));
        QTest::keyClick(box, Qt::Key_Up);
        QCOMPARE(state(window.get()), SoundServerMessages::chosenSourceGone("USB Headset"));
    }

    // Each sound-server message reaches the speech window's status bar. A click while the server
    // is still away says so again and leaves the next click to try; one click after it is back
    // listens and the message goes.
    void soundServerMessagesInTheSpeechWindow_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("how"); // 0: at start, 1: stopped while listening, 2: notice
        QTest::newRow("no sound server at start") << SoundServerMessages::noServer() << 0;
        QTest::newRow("no source at start") << SoundServerMessages::noSource() << 0;
        QTest::newRow("sound server stopped") << SoundServerMessages::serverStopped() << 1;
        QTest::newRow("chosen microphone gone")
            << SoundServerMessages::chosenSourceGone("USB Headset") << 2;
    }
    void soundServerMessagesInTheSpeechWindow()
    {
        QFETCH(QString, message);
        QFETCH(int, how);
        if (how == 0)
            m_recognizer.setActivateError(message);
        if (how == 2)
            m_recognizer.setActivateNotice(message);
        makeWindow(nullptr, &m_sources);
        if (how == 1) {
            QVERIFY(m_recognizer.isActive());
            m_recognizer.Deactivate();
            Q_EMIT m_recognizer.listeningFailed(message);
        }
        QCOMPARE(problemsShown(), message);
        QCOMPARE(m_recognizer.isActive(), how == 2);
        if (how == 2)
            return;
        if (how == 0) {
            QTest::mouseClick(&m_window->meter(), Qt::LeftButton);
            QVERIFY(!m_recognizer.isActive());
            QCOMPARE(problemsShown(), message);
        }
        m_recognizer.setActivateError({});
        QTest::mouseClick(&m_window->meter(), Qt::LeftButton);
        QVERIFY(m_recognizer.isActive());
        QCOMPARE(problemsShown(), QString());
    }

    // The sound meter window opened from the configuration offers the server's sources.
    void soundMeterFromTheConfiguration()
    {
        makeWindow(nullptr, &m_sources);
        QStringList offered;
        whileAppOpen([&](frmApp &w) {
            QTimer::singleShot(0, [&] {
                QWidget *meter = QApplication::activeModalWidget();
                offered = entries(meter->findChild<QComboBox *>("cmbMicrophone"));
                meter->close();
            });
            child<QAction>(w, "mnuMeter")->trigger();
        });
        QCOMPARE(offered.size(), 4);
        QCOMPARE(offered.value(2), QString("USB Headset"));
    }

    void meterSaysTooQuietOrTooLoud_data()
    {
        QTest::addColumn<Condition>("condition");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("advice");
        QTest::newRow("too quiet") << Condition::TooQuiet << "Too quiet"
                                   << "volume up";
        QTest::newRow("clipping") << Condition::Clipping << "Too loud"
                                  << "volume down";
    }
    void meterSaysTooQuietOrTooLoud()
    {
        QFETCH(Condition, condition);
        QFETCH(QString, text);
        QFETCH(QString, advice);
        makeWindow(nullptr, &m_sources);
        VuMeterBar &meter = m_window->meter();
        const QString usage = meter.toolTip();
        QVERIFY(!meter.isTextVisible());
        m_recognizer.inputCondition(condition);
        QTRY_VERIFY(meter.isTextVisible());
        QCOMPARE(meter.text(), text);
        QVERIFY2(meter.toolTip().contains(advice), qPrintable(meter.toolTip()));
        QVERIFY(meter.toolTip().endsWith(usage));
        QVERIFY(meter.accessibleDescription().contains(advice));
        // Fine again, or listening off: the bar is a plain meter again.
        m_recognizer.inputCondition(Condition::Normal);
        QTRY_VERIFY(!meter.isTextVisible());
        m_recognizer.inputCondition(condition);
        QTRY_VERIFY(meter.isTextVisible());
        QTest::mouseClick(&meter, Qt::LeftButton);
        QVERIFY(!meter.isTextVisible());
        QCOMPARE(meter.toolTip(), usage);
    }
};

QTEST_MAIN(TestMicrophone)
#include "tst_microphone.moc"
