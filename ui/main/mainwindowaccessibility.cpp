#include "mainwindowaccessibility.h"
#include "version.h"

#include "mainwindow.h"

namespace kelvane {

namespace {

struct Description {
    const char *control;
    const char *name;
    const char *description;
};

constexpr Description kDescriptions[] = {
    {"lblTitle", KELVANE_TITLE, "Click to show information about Kelvane"},
    {"cmdHelp", "Help", "Opens the instructions for using Kelvane"},
    {"DrvSkins", "Drive of your skins directory", "The drive that holds the existing CMX file"},
    {"DrvProps", "Drive of the mesh to be appended", "The drive that holds the SKN file"},
    {"DirSkins", "Select your skins directory", "Folder whose CMX files are listed below"},
    {"DirProps", "Select the directory of the mesh to be appended",
     "Folder whose SKN files are listed below"},
    {"FileSkins", "Existing CMX files", "The character file the new file is made from"},
    {"FileProps", "Existing SKN files", "The mesh that will be added to the new file"},
    {"lblInfo", "The selected mesh will be added to the new cmx file to create a new sim", ""},
    {"txtNewName", "Name of new CMX file to be created", "Typed without the .cmx extension"},
    {"cmdDoIt", "Create new CMX file with attachment",
     "Writes the new character file into the directory to be saved to"},
    {"txtSavedTo", "Directory to be saved to", "Folder the new CMX file is written into"},
};

} // namespace

void describeForAssistiveTechnology(MainWindow &window)
{
    window.setAccessibleName(QStringLiteral(KELVANE_TITLE));
    for (const Description &entry : kDescriptions) {
        auto *control = window.findChild<QWidget *>(QLatin1String(entry.control));
        // Screen readers announce the widget that holds the focus.
        for (QWidget *widget : {control, control->focusProxy()}) {
            if (!widget)
                continue;
            widget->setAccessibleName(QString::fromUtf8(entry.name));
            widget->setAccessibleDescription(QString::fromUtf8(entry.description));
        }
    }
}

} // namespace kelvane
