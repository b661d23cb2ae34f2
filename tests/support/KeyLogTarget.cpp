// A window for tests: it takes a chosen window class and title and appends every key it
// receives, with its modifiers, to a log file, one line per key press:
//   <monotonic ns> TAB <key combination, portable text> TAB <text typed>
// Usage: jev-keylog-target --class NAME --title TITLE --log FILE [--minimized]
//        [--dialog TITLE] [--hidden TITLE] [--retitle]
// --dialog also shows a dialog owned by the window, --hidden creates a window that is never shown,
// --retitle changes the title after every key as an editor marks a document modified:
// "*TITLE (n)" after n keys.

#include <QApplication>
#include <QCommandLineParser>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <ctime>

namespace {

qint64 monotonicNs()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return qint64(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

class KeyLogWindow : public QLabel
{
public:
    KeyLogWindow(const QString &logPath, const QString &title, bool retitle)
        : m_log(logPath), m_title(title), m_retitle(retitle)
    {
        setWindowTitle(title);
        m_log.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
        setMinimumSize(320, 120);
        setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        switch (event->key()) {
        case Qt::Key_Shift:
        case Qt::Key_Control:
        case Qt::Key_Alt:
        case Qt::Key_Meta:
        case Qt::Key_AltGr:
            return; // a modifier shows up with the key it modifies
        default:
            break;
        }
        const QString combination =
            QKeySequence(event->keyCombination()).toString(QKeySequence::PortableText);
        // Only printable text is logged: a control key's "text" (Ctrl+A gives 0x01) says nothing.
        QString text = event->text();
        if (!std::all_of(text.cbegin(), text.cend(), [](QChar c) { return c.isPrint(); }))
            text.clear();
        const QByteArray line = QByteArray::number(monotonicNs()) + '\t' + combination.toUtf8() +
                                '\t' + text.toUtf8() + '\n';
        m_log.write(line);
        setText(combination);
        if (m_retitle)
            setWindowTitle(QStringLiteral("*%1 (%2)").arg(m_title).arg(++m_keys));
    }
    void keyReleaseEvent(QKeyEvent *) override {}

private:
    QFile m_log;
    QString m_title;
    bool m_retitle;
    int m_keys = 0;
};

// Qt's xcb platform takes "--title" for itself (the first window's title) and removes it from
// the arguments, so the title is read before the application sees them.
QString titleArgument(int argc, char *argv[])
{
    for (int i = 1; i + 1 < argc; ++i) {
        if (qstrcmp(argv[i], "--title") == 0)
            return QString::fromLocal8Bit(argv[i + 1]);
    }
    return {};
}

} // namespace

int main(int argc, char *argv[])
{
    const QString title = titleArgument(argc, argv);
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({"class", "Window class.", "name"});
    parser.addOption({"title", "Window title.", "title"});
    parser.addOption({"log", "Key log file.", "file"});
    parser.addOption({"minimized", "Start minimized."});
    parser.addOption({"dialog", "Also show an owned dialog with this title.", "title"});
    parser.addOption({"hidden", "Also create a hidden window with this title.", "title"});
    parser.addOption({"retitle", "Change the title after every key."});
    parser.process(app);
    // The X11 class of a Qt window is the application name.
    QCoreApplication::setApplicationName(parser.value("class"));

    KeyLogWindow window(parser.value("log"), title, parser.isSet("retitle"));
    if (parser.isSet("minimized"))
        window.showMinimized();
    else
        window.show();

    QDialog dialog(&window);
    if (parser.isSet("dialog")) {
        dialog.setWindowTitle(parser.value("dialog"));
        dialog.show();
    }
    QWidget hidden;
    if (parser.isSet("hidden")) {
        hidden.setWindowTitle(parser.value("hidden"));
        hidden.winId(); // a native window that exists but is never mapped
    }
    return app.exec();
}
