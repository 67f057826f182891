// The bell, rung in a child process whose sound device is chosen through
// libcanberra's environment: exactly one bell sounds, and a bell that cannot
// sound prints nothing.
#include <QApplication>
#include <QCoreApplication>
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
};

// device: canberra's ALSA device; "null" is always defined by ALSA and
// swallows the sound, an unknown name fails the way a missing card does.
Ring ringIn(const QString& device)
{
    QTemporaryDir runtime;  // Qt warns on stderr without one
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("XDG_RUNTIME_DIR", runtime.path());
    env.insert("CANBERRA_DRIVER", "alsa");
    env.insert("CANBERRA_DEVICE", device);
    QProcess child;
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {"--ring"});
    if (!child.waitForFinished(10000)) {
        child.kill();
        child.waitForFinished();
        return {"timeout", child.readAllStandardError()};
    }
    return {QString::fromLatin1(child.readAllStandardOutput()).trimmed(), child.readAllStandardError()};
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

    void fallsBackSilentlyWithoutDevice()
    {
        const Ring ring = ringIn("tavola_no_such_device");
        QCOMPARE(ring.bell, QString("window"));
        QCOMPARE(ring.stderrText, QByteArray());
    }

    void soundThemeAloneWithDevice()
    {
        if (!QFileInfo::exists("/usr/share/sounds/freedesktop/stereo/bell.oga"))
            QSKIP("the freedesktop sound theme is not installed");
        const Ring ring = ringIn("null");
        QCOMPARE(ring.bell, QString("theme"));
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
