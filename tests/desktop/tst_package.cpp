#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run
{
    int code = -1;
    QString out;
    QString err;
};

Run run(const QString &program, const QStringList &args, const QProcessEnvironment &env = {})
{
    QProcess process;
    if (!env.isEmpty())
        process.setProcessEnvironment(env);
    process.start(program, args);
    if (!process.waitForFinished(240000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The package names in a Depends field, alternatives and versions dropped.
QStringList packageNames(const QString &depends)
{
    QStringList names;
    for (const QString &part : depends.split(QRegularExpression("[,|]")))
        names.append(part.trimmed().section(' ', 0, 0));
    return names;
}

} // namespace

// The Debian package made by cpack: what it holds, what it depends on, what Debian's checkers
// say of it, and the program it installs, run from where it was unpacked.
class TestPackage : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    QString m_deb;
    QString m_root;

    QString field(const QString &name)
    {
        return run("dpkg-deb", {"--field", m_deb, name}).out.trimmed();
    }

private Q_SLOTS:
    void initTestCase()
    {
        for (const auto &[tool, package] :
             {std::pair{"dpkg-shlibdeps", "dpkg-dev"}, std::pair{"lintian", "lintian"},
              std::pair{"desktop-file-validate", "desktop-file-utils"},
              std::pair{"appstreamcli", "appstream"}}) {
            QVERIFY2(!QStandardPaths::findExecutable(tool).isEmpty(),
                     qPrintable(QString("%1 is missing: install %2").arg(tool, package)));
        }
        const Run cpack = run(
            JEV_CPACK, {"-G", "DEB", "--config", JEV_CPACK_CONFIG, "-B", m_dir.filePath("out")});
        QVERIFY2(cpack.code == 0, qPrintable(cpack.out + cpack.err));
        const QStringList debs = QDir(m_dir.filePath("out")).entryList({"jev_*.deb"});
        QCOMPARE(debs.size(), 1);
        m_deb = m_dir.filePath("out/" + debs.first());
        m_root = m_dir.filePath("root");
        QCOMPARE(run("dpkg-deb", {"-x", m_deb, m_root}).code, 0);
    }

    void control()
    {
        QCOMPARE(field("Package"), QString("jev"));
        QCOMPARE(field("Version"), QString(JEV_VERSION));
        QCOMPARE(field("Architecture"), run("dpkg", {"--print-architecture"}).out.trimmed());
        QVERIFY(!field("Maintainer").isEmpty());
        QCOMPARE(field("Homepage"), QString(JEV_HOMEPAGE));
    }

    // What the program loads or reads at run time without linking it: the acoustic model, Qt's
    // X11 platform plugin, the SVG reader of its icons, xdg-open.
    void dependsOnWhatItLoads_data()
    {
        QTest::addColumn<QString>("package");
        for (const char *name : {"pocketsphinx-en-us", "qt6-qpa-plugins", "libqt6svg6", "xdg-utils",
                                 "libpulse0", "libflite1", "libx11-6", "libxtst6"})
            QTest::newRow(name) << QString(name);
    }

    void dependsOnWhatItLoads()
    {
        QFETCH(QString, package);
        QVERIFY2(packageNames(field("Depends")).contains(package), qPrintable(field("Depends")));
    }

    // Every library the installed program links directly comes from a package it depends on.
    void dependsOnEveryLinkedLibrary()
    {
        const QString binary = m_root + "/usr/bin/jev";
        const Run needed = run("objdump", {"-p", binary});
        QCOMPARE(needed.code, 0);
        const Run ldd = run("ldd", {binary});
        const QStringList depends = packageNames(field("Depends"));
        const QRegularExpression neededLine("NEEDED\\s+(\\S+)");
        for (auto m = neededLine.globalMatch(needed.out); m.hasNext();) {
            const QString library = m.next().captured(1);
            // "libx.so => /path/libx.so", or the loader named by its path alone.
            const QRegularExpression where("(/\\S*/" + QRegularExpression::escape(library) + ")");
            const QString path = where.match(ldd.out).captured(1);
            QVERIFY2(!path.isEmpty(), qPrintable(library + " is not found"));
            // dpkg knows a library by the path its package gives, /lib or /usr/lib (merged /usr).
            Run owner = run("dpkg", {"-S", path});
            if (owner.code != 0)
                owner = run("dpkg", {"-S", QFileInfo(path).canonicalFilePath()});
            QVERIFY2(owner.code == 0, qPrintable(path + ": " + owner.err));
            const QString package = owner.out.section(':', 0, 0);
            QVERIFY2(depends.contains(package), qPrintable(library + " comes from " + package));
        }
    }

    void files_data()
    {
        QTest::addColumn<QString>("path");
        for (const char *path :
             {"usr/bin/jev", "usr/share/jev/help/index.html", "usr/share/jev/icons/jev.svg",
              "usr/share/jev/icons/web.svg", "usr/share/jev/samples/Editor.txt",
              "usr/share/jev/samples/Browser.txt", "usr/share/jev/samples/Terminal.txt",
              "usr/share/applications/jev.desktop", "usr/share/icons/hicolor/scalable/apps/jev.svg",
              "usr/share/metainfo/io.github.duvevuvuraru.jev.metainfo.xml",
              "usr/share/man/man1/jev.1.gz", "usr/share/doc/jev/copyright",
              "usr/share/doc/jev/changelog.gz"})
            QTest::newRow(path) << QString(path);
    }

    void files()
    {
        QFETCH(QString, path);
        QVERIFY2(QFileInfo(m_root + "/" + path).isFile(), qPrintable(path + " is not installed"));
    }

    void checkers_data()
    {
        QTest::addColumn<QString>("tool");
        QTest::addColumn<QStringList>("args");
        QTest::newRow("desktop entry")
            << "desktop-file-validate" << QStringList{"usr/share/applications/jev.desktop"};
        QTest::newRow("AppStream") << "appstreamcli"
                                   << QStringList{"validate", "--no-net", "--pedantic",
                                                  "usr/share/metainfo/"
                                                  "io.github.duvevuvuraru.jev.metainfo.xml"};
        QTest::newRow("lintian") << "lintian" << QStringList{"--fail-on", "error,warning"};
    }

    void checkers()
    {
        QFETCH(QString, tool);
        QFETCH(QStringList, args);
        QStringList paths;
        for (const QString &arg : args)
            paths.append(arg.startsWith("usr/") ? m_root + "/" + arg : arg);
        if (tool == "lintian")
            paths.append(m_deb);
        const Run result = run(tool, paths);
        QVERIFY2(result.code == 0, qPrintable(result.out + result.err));
        QVERIFY2(!result.out.contains(
                     QRegularExpression("^(E|W|error):", QRegularExpression::MultilineOption)),
                 qPrintable(result.out));
    }

    // Installed, the program finds its read-only files under share/jev beside bin/.
    void installedProgramRuns()
    {
        const QString jev = m_root + "/usr/bin/jev";
        const Run version = run(jev, {"--version"});
        QCOMPARE(version.code, 0);
        QCOMPARE(version.out, QString("jev (JEV! Voice Command) " JEV_VERSION "\n"));
        const QString data = m_dir.filePath("data");
        QCOMPARE(run(jev, {"--data-dir", data, "samples"}).out,
                 QString("Browser\nEditor\nTerminal\n"));
        QCOMPARE(run(jev, {"--data-dir", data, "samples", "add"}).code, 0);
        QCOMPARE(run(jev, {"--data-dir", data, "vocabs"}).out,
                 QString("Browser\nEditor\nTerminal\n"));
    }
};

QTEST_GUILESS_MAIN(TestPackage)
#include "tst_package.moc"
