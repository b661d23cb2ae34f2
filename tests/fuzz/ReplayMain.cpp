// Feeds every file of the given folders (or the given files) to the harness it is linked with,
// so that the inputs kept from fuzzing are checked in every test run without libFuzzer.

#include "FuzzCheck.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

QStringList inputsOf(const QString &argument)
{
    const QFileInfo info(argument);
    if (!info.exists())
        return {}; // a harness that never found anything has no folder of such inputs
    if (!info.isDir())
        return {argument};
    QStringList files;
    const QDir dir(argument);
    for (const QString &name : dir.entryList(QDir::Files, QDir::Name))
        files.append(dir.filePath(name));
    return files;
}

} // namespace

int main(int argc, char *argv[])
{
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        for (const QString &path : inputsOf(QString::fromLocal8Bit(argv[i]))) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
                return 1;
            }
            const QByteArray bytes = file.readAll();
            // Named first, so that the input of a crash is known; the output shows on failure.
            std::fprintf(stderr, "%s\n", qPrintable(path));
            LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()),
                                   size_t(bytes.size()));
            ++replayed;
        }
    }
    std::printf("replayed %d inputs\n", replayed);
    // An empty corpus would check nothing: that is a failure of the test, not a pass.
    return replayed > 0 ? 0 : 1;
}
