// The bell, rung in a child process on an X display whose sound device is
// chosen through libcanberra's environment: exactly one bell sounds, and a
// bell that cannot sound prints nothing.
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "ui/bell.h"

namespace {

struct Ring {
    QString bell;
    QByteArray stderrText;
    bool xBell = false;  // the X server was asked to ring its bell
};

// Rings in a child on this X display with `sound` as its environment, while
// XKB's event daemon notes every bell the X server rings; its own, which it
// rings as it starts, tells that it listens.
Ring ringIn(const QStringList& sound)
{
    QTemporaryDir runtime;  // Qt warns on stderr without one
    const QString ready = runtime.filePath("ready"), rung = runtime.filePath("rung");
    QFile config(runtime.filePath("xkbevd.cf"));
    if (!config.open(QIODevice::WriteOnly) ||
        !config.write(QString("Bell(ImAlive) shell \"echo >>%1\"\nBell() shell \"echo >>%2\"\n").arg(ready, rung).toUtf8()))
        return {"no listener", {}};
    config.close();
    QProcess listener;
    listener.start("xkbevd", {"-cfg", config.fileName()});
    if (!QTest::qWaitFor([&] { return QFile::exists(ready); }, 10000))
        return {"no listener", {}};
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    for (const QString& setting : sound)
        env.insert(setting.section('=', 0, 0), setting.section('=', 1));
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--ring"});
    Ring ring{child.waitForFinished(10000) ? QString::fromLatin1(child.readAllStandardOutput()).trimmed() : "timeout", {}};
    child.kill();
    child.waitForFinished();
    ring.stderrText = child.readAllStandardError();
    ring.xBell = QTest::qWaitFor([&] { return QFile::exists(rung); }, 2000);
    listener.kill();
    listener.waitForFinished();
    return ring;
}

bool canberraWithAlsa()
{
    QLibrary canberra("canberra", 0);
    Dl_info where{};
    if (!canberra.load() || !dladdr(reinterpret_cast<void*>(canberra.resolve("ca_context_create")), &where))
        return false;
    // The backend module lives beside the library (Debian's libcanberra0 ships it).
    const QString folder = QFileInfo(QString::fromLocal8Bit(where.dli_fname)).absolutePath();
    return QFileInfo::exists(folder + "/libcanberra-0.30/libcanberra-alsa.so");
}

}  // namespace

class BellTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!canberraWithAlsa())
            QSKIP("libcanberra with its ALSA backend is not installed");
    }

    // One bell whatever the machine: the sound theme's through a sound
    // device, else the X server's, and never a word on stderr. A missing
    // card and a sound server that is not there fail alike.
    void ringsOnceSilently_data()
    {
        QTest::addColumn<QStringList>("sound");
        QTest::addColumn<QString>("bell");
        QTest::newRow("no sound card") << QStringList{"CANBERRA_DRIVER=alsa", "CANBERRA_DEVICE=tavola_no_such_device"}
                                       << "window";
        QTest::newRow("no sound server") << QStringList{"CANBERRA_DRIVER=pulse", "PULSE_SERVER=unix:/nonexistent"}
                                         << "window";
        QTest::newRow("a sound device") << QStringList{"CANBERRA_DRIVER=alsa", "CANBERRA_DEVICE=null"} << "theme";
    }
    void ringsOnceSilently()
    {
        QFETCH(QStringList, sound);
        QFETCH(QString, bell);
        if (bell == "theme" && !QFileInfo::exists("/usr/share/sounds/freedesktop/stereo/bell.oga"))
            QSKIP("the freedesktop sound theme is not installed");
        const Ring ring = ringIn(sound);
        QCOMPARE(ring.bell, bell);
        QCOMPARE(ring.xBell, bell == "window");
        QCOMPARE(ring.stderrText, QByteArray());
    }
};

int main(int argc, char* argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--ring") == 0) {
        QApplication app(argc, argv);
        const bool theme = tavola::ringBell() == tavola::BellSound::SoundTheme;
        std::printf("%s\n", theme ? "theme" : "window");
        return 0;
    }
    QCoreApplication app(argc, argv);
    BellTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "bell_test.moc"
