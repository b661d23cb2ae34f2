#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>

typedef struct _XDisplay Display;
typedef unsigned long Atom;
typedef unsigned long XWindow;

// The program's connection to the X server, opened on first use and shared by the window system
// and the keystroke sender. X errors (a window that closed while it was looked at, a request the
// server refuses) are counted, never fatal.
class X11Connection
{
public:
    // displayName empty: $DISPLAY.
    explicit X11Connection(const QString &displayName = {});
    ~X11Connection();
    X11Connection(const X11Connection &) = delete;
    X11Connection &operator=(const X11Connection &) = delete;

    // Null when there is no X display; reason() then says why.
    Display *display();
    QString reason() const { return m_reason; }
    XWindow root();
    Atom atom(const char *name);

    // Runs a request sequence and tells whether the server reported an error for it.
    class ErrorTrap
    {
    public:
        explicit ErrorTrap(X11Connection &connection);
        ~ErrorTrap();
        // Waits for the server's answers, then: true when an error came back.
        bool failed();

    private:
        X11Connection &m_connection;
        unsigned long m_errorsBefore;
    };

    static unsigned long errorCount();

private:
    QString m_displayName;
    Display *m_display = nullptr;
    bool m_tried = false;
    QString m_reason;
    QHash<QByteArray, Atom> m_atoms;
};
