#include "cli/previewjob.h"

#include "base/messagetext.h"
#include "cli/attachjob.h"
#include "cli/attachoptions.h"
#include "cli/consoleoutput.h"
#include "game/texturerule.h"
#include "platform/gamefolders.h"
#include "platform/windowsfolder.h"
#include "preview/previewscene.h"
#include "replace/wholefile.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <cmath>

namespace kelvane {

namespace {

constexpr int kLargestSide = 4096;

Failure<QString> usage(const QString &message)
{
    return {message};
}

Result<QSize> sizeOf(const QString &given)
{
    static const QRegularExpression pattern(QStringLiteral("^([0-9]{1,5})[xX]([0-9]{1,5})$"));
    const QRegularExpressionMatch match = pattern.match(given);
    const int width = match.hasMatch() ? match.captured(1).toInt() : 0;
    const int height = match.hasMatch() ? match.captured(2).toInt() : 0;
    if (width < 1 || height < 1 || width > kLargestSide || height > kLargestSide)
        return usage(QStringLiteral("--size %1: give the width and height in pixels, each from "
                                    "1 to %2, as 512x512.")
                         .arg(shownName(given))
                         .arg(kLargestSide));
    return QSize(width, height);
}

Result<float> angleOf(const QString &given)
{
    bool ok = false;
    const float angle = given.toFloat(&ok);
    if (!ok || !std::isfinite(angle))
        return usage(QStringLiteral("--angle %1: give the turn in degrees, as 30 or -45.5.")
                         .arg(shownName(given)));
    return std::fmod(angle, 360.0f);
}

Result<PreviewJob> parsePreview(const QCommandLineParser &parser, const AttachOptions &options,
                                const QStringList &files)
{
    const QList<QCommandLineOption> ownOptions{options.preview, options.size,    options.tone,
                                               options.angle,   options.texture, options.with};
    for (const QCommandLineOption &other : options.all()) {
        const bool own = std::any_of(ownOptions.cbegin(), ownOptions.cend(),
                                     [&](const auto &o) { return o.names() == other.names(); });
        if (!own && parser.isSet(other))
            return usage(QStringLiteral("--preview only draws a picture; leave out --%1.")
                             .arg(other.names().constLast()));
    }
    if (!parser.isSet(options.preview))
        return usage(QStringLiteral("--size, --tone, --texture, --angle and --with go with "
                                    "--preview."));
    if (files.isEmpty() || files.size() > 2)
        return usage(QStringLiteral("--preview draws one character file, and the mesh file it "
                                    "would wear if one is given."));
    PreviewJob job;
    job.picturePath = parser.value(options.preview);
    // A picture is never written over a character or mesh file given by mistake.
    if (!job.picturePath.endsWith(QLatin1StringView(".png"), Qt::CaseInsensitive))
        return usage(QStringLiteral("--preview %1: the picture is written as PNG; give a file "
                                    "name ending in .png.")
                         .arg(shownName(job.picturePath)));
    job.characterFile = files.constFirst();
    job.meshFile = files.value(1);
    if (parser.isSet(options.size)) {
        const Result<QSize> size = sizeOf(parser.value(options.size));
        if (!size.ok())
            return Failure{size.error()};
        job.size = size.value();
    }
    if (parser.isSet(options.angle)) {
        const Result<float> angle = angleOf(parser.value(options.angle));
        if (!angle.ok())
            return Failure{angle.error()};
        job.angleDegrees = angle.value();
    }
    if (parser.isSet(options.tone)) {
        job.tone = parser.value(options.tone);
        if (!skinTones().contains(job.tone))
            return usage(
                QStringLiteral("--tone %1: give lgt, med or drk.").arg(shownName(job.tone)));
    }
    job.label = parser.value(options.texture);
    for (const QString &typed : parser.values(options.with)) {
        const Result<QString> path = typedInputPath(typed);
        if (!path.ok())
            return usage(path.error());
        job.withFiles.append(path.value());
    }
    return job;
}

QString failureLine(const QString &message)
{
    return QStringLiteral("kelvane-attach: ") + message;
}

// The tone drawn: the one asked for, which must have been found, or the first found.
Result<QString> toneFor(const PreviewJob &job, const PreviewScene &scene)
{
    if (job.tone.isEmpty() || scene.tones().contains(job.tone))
        return job.tone.isEmpty() ? scene.tones().value(0) : job.tone;
    const QString found =
        scene.tones().isEmpty()
            ? QStringLiteral("none of the character's textures was found")
            : QStringLiteral("found: ") + scene.tones().join(QStringLiteral(", "));
    return Failure{QStringLiteral("%1: the texture of the tone %2 was not found (%3).")
                       .arg(shownName(job.characterFile), job.tone, found)};
}

// The label asked for, which must have been found in tone.
std::optional<QString> labelFault(const PreviewJob &job, const PreviewScene &scene,
                                  const QString &tone)
{
    const QStringList labels = scene.labels(tone);
    if (job.label.isEmpty() || labels.contains(job.label, Qt::CaseInsensitive))
        return std::nullopt;
    const QString found = labels.isEmpty()
                              ? QStringLiteral("none was found")
                              : QStringLiteral("found: ") + labels.join(QStringLiteral(", "));
    return QStringLiteral("%1: no texture labelled %2 in the tone %3 (%4).")
        .arg(shownName(job.characterFile), shownName(job.label),
             tone.isEmpty() ? QStringLiteral("-") : tone, found);
}

} // namespace

std::optional<Result<PreviewJob>> previewJobOf(const QCommandLineParser &parser,
                                               const AttachOptions &options,
                                               const QStringList &files)
{
    for (const QCommandLineOption &own : {options.preview, options.size, options.tone,
                                          options.angle, options.texture, options.with}) {
        if (parser.isSet(own))
            return parsePreview(parser, options, files);
    }
    return std::nullopt;
}

int runPreviewJob(const PreviewJob &job, ConsoleOutput &console)
{
    QStringList games;
    for (const GameFolder &game : findGameFolders())
        games.append(game.folder);
    const Result<PreviewScene> scene =
        loadPreviewScene({job.characterFile, job.meshFile, games, job.withFiles});
    if (!scene.ok()) {
        console.printError(failureLine(scene.error()));
        return kExitFailure;
    }
    const Result<QString> tone = toneFor(job, scene.value());
    if (!tone.ok()) {
        console.printError(failureLine(tone.error()));
        return kExitFailure;
    }
    if (const std::optional<QString> fault = labelFault(job, scene.value(), tone.value())) {
        console.printError(failureLine(*fault));
        return kExitFailure;
    }
    for (const QString &note : scene.value().notes())
        console.printError(QStringLiteral("kelvane-attach: note: ") + note);

    PreviewView view;
    // A positive angle shows the character's left side: its front turns to
    // the viewer's left.
    view.turnDegrees = -job.angleDegrees;
    const QImage picture = scene.value().render(job.size, view, tone.value(), job.label);
    const QString shown = shownName(QDir::toNativeSeparators(job.picturePath));
    // A link would carry the picture onto whatever file it leads to.
    if (QFileInfo(job.picturePath).isSymLink()) {
        console.printError(failureLine(QStringLiteral("%1: not written: the name is a link, and a "
                                                      "picture is never written through one; "
                                                      "choose another name.")
                                           .arg(shown)));
        return kExitFailure;
    }
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !picture.save(&buffer, "PNG")) {
        console.printError(failureLine(
            QStringLiteral("%1: the picture could not be made into a PNG.").arg(shown)));
        return kExitFailure;
    }
    // Written whole or not at all.
    if (const Result<void> written = writeWholeFile(job.picturePath, png); !written.ok()) {
        console.printError(failureLine(written.error()));
        return kExitFailure;
    }
    console.printLine(shownName(QDir::toNativeSeparators(job.picturePath)));
    return kExitSuccess;
}

} // namespace kelvane
