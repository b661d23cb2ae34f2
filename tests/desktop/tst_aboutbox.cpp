#include "config/ProgramFiles.h"
#include "config/frmAbout.h"
#include "platform/fake/ScriptedPrompter.h"

#include <QDesktopServices>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Pixels that are not fully transparent: an icon that failed to load draws none.
int paintedPixels(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    int painted = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            painted += qAlpha(image.pixel(x, y)) > 0;
    return painted;
}

} // namespace

// Catches the addresses the program hands to the system's browser.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public Q_SLOTS:
    void open(const QUrl &url) { opened.append(url); }
};

// The program's pictures, which need Qt's SVG support at run time (tst_screenshot looks for them
// on the screen), and the About box's buttons.
class TestAboutBox : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void iconsDraw_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("program icon") << "jev.svg";
        QTest::newRow("web site") << "web.svg";
        QTest::newRow("toolbar: save") << "toolbar/save.svg";
    }

    void iconsDraw()
    {
        QFETCH(QString, file);
        const QIcon icon = ProgramFiles::icon(file);
        QVERIFY2(!icon.isNull(), qPrintable(file + " does not load: is libqt6svg6 installed?"));
        const QPixmap pixmap = icon.pixmap(32, 32);
        QVERIFY(!pixmap.isNull());
        QVERIFY2(paintedPixels(pixmap) > 32 * 32 / 4, qPrintable(file + " draws almost nothing"));
    }

    void missingIconIsNull() { QVERIFY(ProgramFiles::icon("no-such-picture.svg").isNull()); }

    // No system-information program on this PATH: the message says so.
    void systemInformationMissing()
    {
        ScriptedPrompter prompter;
        frmAbout about(prompter);
        QTemporaryDir empty;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", empty.path().toUtf8());
        about.StartSysInfo();
        qputenv("PATH", path);
        QCOMPARE(prompter.shown().size(), 1);
        QCOMPARE(prompter.shown().first().text,
                 QString("System Information Is Unavailable At This Time"));
    }

    void webButtonOpensTheWebSite()
    {
        const QUrl address = frmAbout::webAddress();
        QVERIFY(address.isValid());
        QCOMPARE(address.scheme(), QString("https"));
        UrlCatcher catcher;
        QDesktopServices::setUrlHandler("https", &catcher, "open");
        ScriptedPrompter prompter;
        frmAbout about(prompter);
        // A picture without text: the tool tip and assistive tools name it.
        auto *web = about.findChild<QPushButton *>("cmdBruWebSvr");
        QVERIFY(web->text().isEmpty());
        QVERIFY(web->toolTip().contains(address.toString()));
        QVERIFY(!web->accessibleName().isEmpty());
        QTest::mouseClick(web, Qt::LeftButton);
        QDesktopServices::unsetUrlHandler("https");
        QCOMPARE(catcher.opened, QList<QUrl>{address});
        QVERIFY(prompter.shown().isEmpty());
    }
};

QTEST_MAIN(TestAboutBox)
#include "tst_aboutbox.moc"
