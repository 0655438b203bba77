#pragma once

#include "cmxcomposer.h"
#include "inputfiles.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace kelvane {

// What an input file holds, as the composer sees it. Errors read exactly as the
// create command reports them for the same file.

// The skins of a character file, in order, or why the composer refuses it.
struct CharacterFileSummary {
    QList<Skin> skins;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

CharacterFileSummary summarizeCharacterFile(const QString &path);

// The group a mesh file adds (its bone and its mesh name), or why the
// composer refuses it.
struct MeshFileSummary {
    Skin attached;
    QString error;

    bool ok() const { return error.isEmpty(); }
};

MeshFileSummary summarizeMeshFile(const QString &path);

} // namespace kelvane
