#include "config/CHelp.h"
#include "config/ProgramSettings.h"
#include "config/QtPrompter.h"
#include "config/StretchContainer.h"
#include "config/frmAbout.h"
#include "platform/fake/ScriptedPrompter.h"
#include "recognizer/fake/FakeRecognizer.h"
#include "speech/VuMeterBar.h"
#include "speech/frmVolSet.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The small windows: sound meter, About box, help, message boxes, and the stretch container.
class TestConfigWidgets : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_config;

private Q_SLOTS:
    void init()
    {
        // Qt reads the settings folder once per process: each test gets its own explicitly.
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_config.path());
        QSettings().clear();
    }

    void soundMeterStoresOnRelease()
    {
        VuMeterBar meter;
        meter.setFullScale(ProgramSettings::fullScale());
        FakeRecognizer recognizer;
        recognizer.Activate();
        frmVolSet window(meter, recognizer);
        auto *slider = window.findChild<QSlider *>("Slider1");
        QCOMPARE(slider->value(), 3000);
        QCOMPARE(slider->minimum(), 2000);
        QCOMPARE(slider->maximum(), 20000);

        slider->setSliderDown(true);
        slider->setValue(20000);
        QCOMPARE(QSettings().value("Startup/VUMeter").toString(), QString()); // not yet
        slider->setSliderDown(false);
        QCOMPARE(meter.fullScale(), 20000);
        QCOMPARE(QSettings().value("Startup/VUMeter").toString(), QString("20000"));
        QCOMPARE(ProgramSettings::fullScale(), 20000);

        meter.setLevel(800);
        QTest::mouseClick(window.findChild<QPushButton *>("cmdDone"), Qt::LeftButton);
        QVERIFY(!recognizer.isActive());
        QCOMPARE(meter.level(), 0);
        QCOMPARE(window.result(), int(QDialog::Accepted));
    }

    void doneWithoutMovingKeepsTheScale()
    {
        ProgramSettings::setFullScale(4500);
        VuMeterBar meter;
        meter.setFullScale(ProgramSettings::fullScale());
        FakeRecognizer recognizer;
        recognizer.Activate();
        frmVolSet window(meter, recognizer);
        QTest::mouseClick(window.findChild<QPushButton *>("cmdDone"), Qt::LeftButton);
        QCOMPARE(meter.fullScale(), 4500);
        QCOMPARE(ProgramSettings::fullScale(), 4500);
        QVERIFY(!recognizer.isActive());
    }

    void fullScaleSetting_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<int>("fullScale");
        QTest::newRow("absent") << QString() << 3000;
        QTest::newRow("whole number") << "12000" << 12000;
        QTest::newRow("with decimals") << "2500.5" << 2500;
        QTest::newRow("not a number") << "loud" << 3000;
        QTest::newRow("zero") << "0" << 3000;
    }

    void fullScaleSetting()
    {
        QFETCH(QString, stored);
        QFETCH(int, fullScale);
        if (!stored.isNull())
            QSettings().setValue("Startup/VUMeter", stored);
        QCOMPARE(ProgramSettings::fullScale(), fullScale);
    }

    void aboutBox()
    {
        ScriptedPrompter prompter;
        frmAbout about(prompter);
        QCOMPARE(about.windowTitle(), QString("About JEV! Voice Command"));
        QCOMPARE(about.findChild<QLabel *>("lblVersion")->text(), QString("Version 2.0.6"));
        QCOMPARE(about.findChild<QLabel *>("lblTitle")->text(), QString("JEV! Voice Command"));
        QVERIFY(
            about.findChild<QLabel *>("lblDescription")->text().startsWith("JEV! Voice Control"));
        QVERIFY(about.findChild<QPushButton *>("cmdSysInfo"));
        QVERIFY(about.findChild<QPushButton *>("cmdBruWebSvr"));
        // No system-information program on this PATH: the message says so.
        qputenv("PATH", m_config.path().toUtf8());
        about.StartSysInfo();
        qputenv("PATH", "/usr/local/bin:/usr/bin:/bin");
        QCOMPARE(prompter.shown().size(), 1);
        QCOMPARE(prompter.shown().first().text,
                 QString("System Information Is Unavailable At This Time"));
    }

    void help_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QVariant>("context");
        QTest::addColumn<QString>("page");
        QTest::newRow("the book") << "" << QVariant() << "index.html";
        QTest::newRow("a page") << " keystrokes " << QVariant() << "keystrokes.html";
        QTest::newRow("the windows") << "windows" << QVariant() << "windows.html";
        QTest::newRow("the application window")
            << "applications" << QVariant() << "applications.html";
        QTest::newRow("an unknown page") << "nothing" << QVariant() << "index.html";
        QTest::newRow("an anchor") << "" << QVariant("vocabulary") << "index.html#vocabulary";
    }

    void help()
    {
        QFETCH(QString, pane);
        QFETCH(QVariant, context);
        QFETCH(QString, page);
        const QUrl url = CHelp::target("/somewhere/jevhelp.chm", pane, context);
        QVERIFY2(url.toString().endsWith("/help/" + page), qPrintable(url.toString()));
        QVERIFY(QFile::exists(url.toLocalFile()));
        CHelp help;
        QWidget *window = help.Show("/somewhere/jevhelp.chm", pane, context);
        QVERIFY(window);
        QCOMPARE(window->objectName(), QString("HelpWindow"));
        window->close();
    }

    void messageBoxes()
    {
        QtPrompter prompter;
        QString text, title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            text = box->text();
            title = box->windowTitle();
            icon = box->icon();
            box->button(QMessageBox::Ok)->click();
        });
        prompter.showMessage("Nothing to save!", "", Prompter::Icon::Critical);
        QCOMPARE(text, QString("Nothing to save!"));
        QCOMPARE(title, QString("JEV! Voice Command"));
        QCOMPARE(icon, QMessageBox::Critical);

        QTimer::singleShot(0, [] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            box->button(QMessageBox::Cancel)->click();
        });
        QVERIFY(
            !prompter.askOkCancel("Delete?", "Vocabulary File Deletion", Prompter::Icon::Critical));
    }

    void stretchContainer()
    {
        StretchContainer container(QSize(2880, 1440));
        auto *child = new QWidget;
        container.addControl(child, QRect(1440, 720, 720, 360));
        const QSize design = container.designPixelSize();
        container.show(); // a hidden widget gets its resize events only when shown
        container.resize(design);
        QCOMPARE(child->geometry(), container.designPixelRect(QRect(1440, 720, 720, 360)));
        container.resize(design * 2);
        QCOMPARE(child->geometry().topLeft(),
                 container.designPixelRect(QRect(2880, 1440, 0, 0)).topLeft());
        QCOMPARE(child->width(), 2 * container.designPixelRect(QRect(0, 0, 720, 0)).width());
    }
};

QTEST_MAIN(TestConfigWidgets)
#include "tst_configwidgets.moc"
