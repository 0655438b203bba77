#pragma once

#include "base/result.h"

#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>

class QCommandLineParser;

namespace kelvane {

class ConsoleOutput;
struct AttachOptions;

// A run of kelvane-attach --preview: a picture of a character file wearing a
// mesh, written as PNG; no character file is written.
struct PreviewJob {
    QString picturePath;
    QString characterFile;
    QString meshFile; // empty: the character alone
    QSize size{512, 512};
    QString tone;  // empty: the first of lgt, med, drk found
    QString label; // of the character's texture; empty: the default
    float angleDegrees = 0;
    QStringList withFiles; // character files put in the picture too
};

// The preview the command line asks for; nothing when it names neither
// --preview nor its options; a usage error when they are wrong, given without
// --preview, or mixed with another mode's options.
std::optional<Result<PreviewJob>> previewJobOf(const QCommandLineParser &parser,
                                               const AttachOptions &options,
                                               const QStringList &files);

// Draws the preview and writes it, printing the notes on standard error and
// the picture's path on standard output. Nothing is written on failure.
int runPreviewJob(const PreviewJob &job, ConsoleOutput &console);

} // namespace kelvane
