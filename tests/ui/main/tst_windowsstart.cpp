#include "controls/directorylist.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/messagebox.h"
#include "ui/main/mainwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <qt_windows.h>

using namespace kelvane;

namespace {

const wchar_t *wide(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

// The volume label of the drive with root as Windows gives it.
QString volumeLabel(const QString &root)
{
    wchar_t label[MAX_PATH + 1] = {};
    if (!GetVolumeInformationW(wide(root), label, MAX_PATH + 1, nullptr, nullptr, nullptr, nullptr,
                               0))
        return {};
    return QString::fromWCharArray(label);
}

} // namespace

// The main window on the system's drive letters, one of which cannot be read:
// its letter stands for a file, as a card reader without a card stands for
// nothing.
class TestWindowsStart : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensOnCWithEveryDriveLetter();
    void unreadableDriveIsTrapped();

private:
    template <typename Control> Control *control(const char *name) const
    {
        return m_window->findChild<Control *>(QLatin1String(name));
    }
    QString cDriveText() const;

    QString m_startFolder;
    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_unreadable; // "r:" or the next free letter
    QString m_unreadableTarget;
    std::unique_ptr<MainWindow> m_window;
};

void TestWindowsStart::init()
{
    // The drive lists start on the drive of the current folder.
    m_startFolder = QDir::currentPath();
    QVERIFY(QDir::setCurrent(QStringLiteral("C:\\Windows")));
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());

    m_unreadableTarget = QDir::toNativeSeparators(m_dir->filePath("not a folder"));
    QVERIFY(QFile(m_unreadableTarget).open(QIODevice::WriteOnly));
    const DWORD used = GetLogicalDrives();
    char letter = 'r';
    while (letter < 'z' && used & (1u << (letter - 'a')))
        ++letter;
    m_unreadable = QLatin1Char(letter) + QStringLiteral(":");
    QVERIFY(DefineDosDeviceW(0, wide(m_unreadable), wide(m_unreadableTarget)));

    m_window = std::make_unique<MainWindow>();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
}

void TestWindowsStart::cleanup()
{
    m_window.reset();
    setMessageHandler({});
    DefineDosDeviceW(DDD_REMOVE_DEFINITION | DDD_EXACT_MATCH_ON_REMOVE, wide(m_unreadable),
                     wide(m_unreadableTarget));
    QDir::setCurrent(m_startFolder);
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

QString TestWindowsStart::cDriveText() const
{
    const QString label = volumeLabel(QStringLiteral("C:\\"));
    return label.isEmpty() ? QStringLiteral("c:") : QStringLiteral("c: [%1]").arg(label);
}

void TestWindowsStart::opensOnCWithEveryDriveLetter()
{
    for (const char *name : {"DirSkins", "DirProps"})
        QCOMPARE(control<DirectoryList>(name)->path(), QStringLiteral("c:\\"));
    for (const char *name : {"FileSkins", "FileProps"})
        QCOMPARE(control<FileList>(name)->path(), QStringLiteral("c:\\"));

    auto *box = control<DriveList>("DrvSkins")->findChild<QComboBox *>();
    QStringList shown;
    for (int i = 0; i < box->count(); ++i)
        shown << box->itemText(i);
    const QRegularExpression driveText(QStringLiteral("^[a-z]:( \\[.+\\])?$"));
    for (const QString &text : shown)
        QVERIFY2(driveText.match(text).hasMatch(), qPrintable(text));
    QStringList sorted = shown;
    sorted.sort();
    QCOMPARE(shown, sorted);
    QVERIFY(shown.contains(cDriveText()));
    QVERIFY(shown.contains(m_unreadable));
    QCOMPARE(control<DriveList>("DrvSkins")->drive(), cDriveText());
}

void TestWindowsStart::unreadableDriveIsTrapped()
{
    QList<Message> messages;
    setMessageHandler([&](const Message &message) { messages.append(message); });
    auto *drives = control<DriveList>("DrvSkins");
    auto *folders = control<DirectoryList>("DirSkins");
    // A folder below the root, its drive letter in capitals as Windows writes it.
    QVERIFY(folders->setPath(QStringLiteral("C:\\WINDOWS")));
    QVERIFY(!folders->setPath(m_unreadable + QStringLiteral("\\")));

    auto *box = drives->findChild<QComboBox *>();
    box->setCurrentIndex(box->findText(m_unreadable));

    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().text, QStringLiteral("Nothing in specified drive!"));
    QCOMPARE(messages.first().title, QStringLiteral("Error"));
    QCOMPARE(drives->drive(), cDriveText());
    QCOMPARE(folders->path(), QStringLiteral("c:\\"));
    QCOMPARE(control<FileList>("FileSkins")->path(), QStringLiteral("c:\\"));
}

QTEST_MAIN(TestWindowsStart)
#include "tst_windowsstart.moc"
