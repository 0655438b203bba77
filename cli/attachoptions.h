#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>

namespace kelvane {

// The options of kelvane-attach, and the help text that describes them.
struct AttachOptions {
    AttachOptions();

    QCommandLineOption name;
    QCommandLineOption suffix;
    QCommandLineOption out;
    QCommandLineOption inPlace;
    QCommandLineOption noBackup;
    QCommandLineOption allowDuplicate;
    QCommandLineOption copyMesh;
    QCommandLineOption strict;
    QCommandLineOption toStdout;
    QCommandLineOption list;
    QCommandLineOption findGame;
    QCommandLineOption restore;
    QCommandLineOption restoreGame;
    QCommandLineOption checkFolder;
    QCommandLineOption fix;
    QCommandLineOption renumber;
    QCommandLineOption preview;
    QCommandLineOption size;
    QCommandLineOption tone;
    QCommandLineOption angle;
    QCommandLineOption texture;
    QCommandLineOption with;
    QCommandLineOption help;
    QCommandLineOption version;

    QList<QCommandLineOption> all() const;
};

// The text --help prints: the usage lines, what the program does, the options.
QString attachHelpText(const AttachOptions &options);

} // namespace kelvane
