#pragma once

#include <QStringList>

#include <functional>

namespace kelvane {

// Gives the texts a drive list offers, each a drive's root optionally
// followed by " [label]". Tests substitute their own.
using DriveSource = std::function<QStringList()>;

// The drives a user browses: the drive letters on Windows ("c: [label]");
// elsewhere the drive letters of the Wine prefix in use first ("c: [wine]"),
// then "/", then the volumes mounted under the usual places for removable and
// extra disks, without pseudo file systems.
QStringList browsableDrives();

} // namespace kelvane
