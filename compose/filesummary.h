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

} // namespace kelvane
