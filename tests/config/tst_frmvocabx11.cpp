#include "config/ConfigWindows.h"
#include "config/frmVocab.h"
#include "data/CVocab.h"
#include "data/ListBox.h"
#include "recognizer/fake/FakeRecognizer.h"
#include "speech/frmJev.h"
#include "support/FakeDesktop.h"
#include "support/RecordFileBytes.h"
#include "support/XvfbSession.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using Records = QByteArrayList;

// The vocabulary window on Xvfb: words dragged from the word list with the mouse, as Qt carries
// the drag out on X11, and a screenshot for a person to look at.
class TestFrmVocabX11 : public QObject
{
    Q_OBJECT

private:
    Records words(const QString &vocab) const
    {
        return RecordFileBytes::records(
            RecordFileBytes::read(m_dir->filePath("data/vocab/" + vocab + ".txt")), 128);
    }
    void writeVocab(const QString &name, const Records &records)
    {
        RecordFileBytes::write(m_dir->filePath("data/vocab/" + name + ".txt"),
                               RecordFileBytes::file(records, 128));
    }
    frmVocab &window() { return dynamic_cast<frmVocab &>(m_jev->configWindows().vocabulary()); }
    template <typename T> T *child(const char *name) { return window().findChild<T *>(name); }
    QStringList shownWords()
    {
        QStringList texts;
        for (int i = 0; i < child<QListWidget>("lstDictionary")->count(); ++i)
            texts.append(child<QListWidget>("lstDictionary")->item(i)->text());
        return texts;
    }
    // Presses on a word, moves the pointer past the drag distance and, inside the drag, over
    // the points of `way` (widget, point), letting go at the last one: all as mouse events of
    // the window system.
    void drag(int line, const QList<std::pair<QWidget *, QPoint>> &way)
    {
        auto *from = child<QListWidget>("lstDictionary");
        const QPoint start = from->visualItemRect(from->item(line)).center();
        QTimer::singleShot(50, [=, this] {
            for (const auto &[widget, at] : way) {
                QTest::mouseMove(widget, at - QPoint(3, 3));
                QTest::mouseMove(widget, at);
            }
            m_timerBeforeRelease = window().findChild<QTimer *>("tmrExtend")->isActive();
            QTest::mouseRelease(way.last().first, Qt::LeftButton, {}, way.last().second);
        });
        QTest::mousePress(from->viewport(), Qt::LeftButton, {}, start);
        QTest::mouseMove(from->viewport(), start + QPoint(QApplication::startDragDistance(), 2));
    }
    QPoint vocabularyLine(int line)
    {
        auto *list = child<QListWidget>("lstVocab");
        return list->visualItemRect(list->item(line)).center();
    }

    bool m_timerBeforeRelease = false;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<FakeDesktop> m_desktop;
    FakeRecognizer m_recognizer;
    std::unique_ptr<frmJev> m_jev;

private Q_SLOTS:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_dir->filePath("config"));
        m_desktop = std::make_unique<FakeDesktop>();
        writeVocab("Editing", {"select all:^a", "save file:^s", "undo:^z", "find:^f",
                               "go to line:^g", "close tab:^w"});
        writeVocab("Web", {"back:%{LEFT}", "undo:^z", "new tab:^t"});
        m_jev =
            std::make_unique<frmJev>(m_dir->filePath("data"), m_desktop->services(), m_recognizer);
        m_jev->load();
        CVocab(m_dir->filePath("data"), {&window().vocabularyList()}).FillVocabFile(true);
        window().vocabularyList().setSelectedIndex(0);
        window().move(30, 30);
        window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&window()));
    }
    void cleanup() { m_jev.reset(); }

    // Dragged onto Web: undo is there already. Let go over the edit box after passing the
    // bottom of the vocabulary list: nothing is copied, the timer stops and Editing is selected
    // again, whose words a click loads as before.
    void dragAndDrop_data()
    {
        QTest::addColumn<bool>("selectAll");
        QTest::addColumn<bool>("onWeb");
        QTest::addColumn<Records>("web");
        const Records web{"back:%{LEFT}", "undo:^z", "new tab:^t"};
        QTest::newRow("one word") << false << true << web + Records{"select all:^a"};
        QTest::newRow("Select All") << true << true
                                    << web + Records{"select all:^a", "save file:^s", "find:^f",
                                                     "go to line:^g", "close tab:^w"};
        QTest::newRow("let go elsewhere") << true << false << web;
    }

    void dragAndDrop()
    {
        QFETCH(bool, selectAll);
        QFETCH(bool, onWeb);
        QFETCH(Records, web);
        if (selectAll)
            child<QAction>("mnuDicSelAll")->trigger();
        QWidget *vocabularies = child<QListWidget>("lstVocab")->viewport();
        if (onWeb) {
            drag(0, {{vocabularies, vocabularyLine(1)}});
        } else {
            drag(0, {{vocabularies, QPoint(20, vocabularies->height() - 3)},
                     {child<QLineEdit>("txtCommand"), QPoint(10, 5)}});
        }
        QTRY_COMPARE(words("Web"), web);
        QTRY_COMPARE(window().vocabularyList().selectedIndex(), onWeb ? 1 : 0);
        QCOMPARE(m_timerBeforeRelease, !onWeb); // the drag did pass the list's bottom
        QVERIFY(!window().findChild<QTimer *>("tmrExtend")->isActive());
        QCOMPARE(words("Editing").size(), 6);
        QCOMPARE(shownWords().size(), 6); // the dragged words, until a click on a vocabulary
        QTest::mouseClick(vocabularies, Qt::LeftButton, {}, vocabularyLine(onWeb ? 0 : 1));
        QCOMPARE(shownWords().size(), onWeb ? 6 : web.size());
        QCOMPARE(m_desktop->prompter.shown().size(), 0);
    }

    void screenshot()
    {
        auto *list = child<QListWidget>("lstDictionary");
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualItemRect(list->item(1)).center());
        QCOMPARE(child<QLineEdit>("txtCommand")->text(), QString("save file:^s"));
        QCOMPARE(window().windowTitle(), QString("Vocabulary/Dictionary Configuration"));
        QTest::qWait(200); // the window manager draws its frame
        const QRect frame = window().frameGeometry().adjusted(-4, -4, 4, 4);
        const QImage shot = QGuiApplication::primaryScreen()
                                ->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
                                .toImage();
        QDir().mkpath(QStringLiteral(JEV_SCREENSHOT_DIR));
        QVERIFY(shot.save(QStringLiteral(JEV_SCREENSHOT_DIR "/frmVocab.png")));
        // Every caption fits its control at the design size.
        for (QWidget *control : window().findChildren<QWidget *>()) {
            if (control->isVisible() &&
                (qobject_cast<QLabel *>(control) || qobject_cast<QPushButton *>(control)))
                QVERIFY2(control->sizeHint().width() <= control->width(),
                         qPrintable(control->objectName()));
        }
    }
};

int main(int argc, char *argv[])
{
    XvfbSession session;
    QString error;
    if (!session.start(&error)) {
        qCritical("%s", qPrintable(error));
        return 1;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication app(argc, argv);
    TestFrmVocabX11 test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_frmvocabx11.moc"
