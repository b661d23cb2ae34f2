#include "config/CHelp.h"
#include "config/ProgramSettings.h"
#include "config/QtPrompter.h"
#include "config/StretchContainer.h"
#include "recognizer/fake/FakeRecognizer.h"
#include "speech/VuMeterBar.h"
#include "speech/frmVolSet.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The small windows: sound meter, help, message boxes, and the stretch container.
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

    // The stored scale is read as a whole number, 3000 when absent or unusable. It is stored when
    // the slider is let go, not while it moves; Done stops listening and keeps the scale, moved
    // or not.
    void soundMeter_data()
    {
        QTest::addColumn<QString>("stored"); // null: none
        QTest::addColumn<int>("read");
        QTest::addColumn<int>("movedTo"); // 0: not moved
        QTest::newRow("none, moved to the top") << QString() << 3000 << 20000;
        QTest::newRow("not moved") << "4500" << 4500 << 0;
        QTest::newRow("with decimals") << "2500.5" << 2500 << 0;
        QTest::newRow("not a number") << "loud" << 3000 << 0;
        QTest::newRow("zero") << "0" << 3000 << 0;
    }

    void soundMeter()
    {
        QFETCH(QString, stored);
        QFETCH(int, read);
        QFETCH(int, movedTo);
        if (!stored.isNull())
            QSettings().setValue("Startup/VUMeter", stored);
        VuMeterBar meter;
        meter.setFullScale(ProgramSettings::fullScale());
        FakeRecognizer recognizer;
        recognizer.Activate();
        frmVolSet window(meter, recognizer);
        auto *slider = window.findChild<QSlider *>("Slider1");
        QCOMPARE(slider->value(), read);
        QCOMPARE(slider->maximum(), 20000);
        if (movedTo) {
            slider->setSliderDown(true);
            slider->setValue(movedTo);
            QCOMPARE(QSettings().value("Startup/VUMeter").toString(), QString());
            slider->setSliderDown(false);
            QCOMPARE(meter.fullScale(), movedTo);
            QCOMPARE(QSettings().value("Startup/VUMeter").toString(), QString::number(movedTo));
        }
        meter.setLevel(800);
        QTest::mouseClick(window.findChild<QPushButton *>("cmdDone"), Qt::LeftButton);
        QVERIFY(!recognizer.isActive());
        QCOMPARE(meter.level(), 0);
        QCOMPARE(window.result(), int(QDialog::Accepted));
        const int scale = movedTo ? movedTo : read;
        QCOMPARE(meter.fullScale(), scale);
        QCOMPARE(ProgramSettings::fullScale(), scale);
    }

    void help_data()
    {
        QTest::addColumn<QString>("pane");
        QTest::addColumn<QVariant>("context");
        QTest::addColumn<QString>("page");
        QTest::newRow("the book") << "" << QVariant() << "index.html";
        QTest::newRow("a page") << " keystrokes " << QVariant() << "keystrokes.html";
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
