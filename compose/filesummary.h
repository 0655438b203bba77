#pragma once

#include "compose/cmxcomposer.h"
#include "compose/result.h"

#include <QList>
#include <QString>

namespace kelvane {

// What an input file holds, as the composer sees it, or why the composer
// refuses it. Errors read exactly as the create command reports them for the
// same file.

// The skins of a character file, in order.
Result<QList<Skin>> summarizeCharacterFile(const QString &path);

// The group a mesh file adds: its bone and its mesh name.
Result<Skin> summarizeMeshFile(const QString &path);

// Whether skins hold a skin with the same bone and mesh name as skin, compared
// exactly.
bool holdsSkin(const QList<Skin> &skins, const Skin &skin);

// Whether the character file already holds the skin the mesh file adds, so
// that composing would attach the mesh a second time.
Result<bool> alreadyAttached(const QString &characterPath, const QString &meshPath);

} // namespace kelvane
