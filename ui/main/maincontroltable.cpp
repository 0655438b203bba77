#include "ui/main/maincontroltable.h"

#include "controls/commandbutton.h"
#include "controls/directorylist.h"
#include "controls/drivelist.h"
#include "controls/filelist.h"
#include "controls/label.h"
#include "controls/textbox.h"
#include "formats/fileformats.h"
#include "platform/systempaths.h"
#include "ui/main/maincontrols.h"
#include "version.h"

#include <type_traits>

namespace kelvane {

namespace {

template <typename Control>
Control *construct(const MainControlRow &row, const DriveSource &drives, QWidget *window)
{
    // A folder list starts where the window's Load puts it: listing the
    // current folder first would be work thrown away.
    if constexpr (std::is_same_v<Control, DirectoryList>)
        return new Control(systemRoot(), window);
    else if constexpr (std::is_constructible_v<Control, DriveSource, QWidget *>)
        return new Control(drives, window);
    else if constexpr (std::is_constructible_v<Control, QString, QWidget *>)
        return new Control(QString::fromUtf8(row.text), window);
    else
        return new Control(window);
}

// A control the controller handles, stored in its member of MainControls.
template <auto member>
QWidget *handled(const MainControlRow &row, const DriveSource &drives, QWidget *window,
                 MainControls &controls)
{
    using Control = std::remove_pointer_t<std::remove_reference_t<decltype(controls.*member)>>;
    return controls.*member = construct<Control>(row, drives, window);
}

// A file list of the files of role, filtered by the patterns of its formats.
// Several character files can be chosen at once, one mesh file.
template <auto member, FileRole role>
QWidget *fileList(const MainControlRow &, const DriveSource &, QWidget *window,
                  MainControls &controls)
{
    auto *list = new FileList(listPatternsOf(role).split(QLatin1Char(';')), window);
    list->setMultipleSelection(role == FileRole::Character);
    return controls.*member = list;
}

QWidget *caption(const MainControlRow &row, const DriveSource &drives, QWidget *window,
                 MainControls &)
{
    return construct<Label>(row, drives, window);
}

QWidget *centredCaption(const MainControlRow &row, const DriveSource &drives, QWidget *window,
                        MainControls &)
{
    Label *label = construct<Label>(row, drives, window);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

using M = MainControls;
using F = FontRole;
using C = ColourRole;

// Name, creation, text; place in twips, font, colour; accessible name and
// description. The controls that take the focus come first, in tab order:
// setTabOrder() moves only a control's focus widget, and a wrapper or list
// viewport left behind elsewhere in the chain would catch Tab or Shift+Tab.
// clang-format off
constexpr MainControlRow kRows[] = {
    {"DirSkins", handled<&M::DirSkins>, nullptr,
     {120, 1560, 3615, 1140}, F::Caption, C::FolderText,
     "Select your skins directory", "Folder whose CMX files are listed below"},
    {"DirProps", handled<&M::DirProps>, nullptr,
     {3840, 1560, 4575, 1140}, F::Caption, C::FolderText,
     "Select the directory of the mesh to be appended", "Folder whose SKN files are listed below"},
    {"FileSkins", fileList<&M::FileSkins, FileRole::Character>, nullptr,
     {120, 3120, 3615, 1170}, F::Caption, C::Standard,
     "Existing CMX files", "The character file the new file is made from"},
    {"FileProps", fileList<&M::FileProps, FileRole::Mesh>, nullptr,
     {3840, 3120, 4575, 1170}, F::Caption, C::Standard,
     "Existing SKN files", "The mesh that will be added to the new file"},
    {"txtNewName", handled<&M::txtNewName>, nullptr,
     {120, 4800, 3615, 285}, F::Strong, C::Standard,
     "Name of new CMX file to be created", "Typed without the .cmx extension"},
    {"cmdDoIt", handled<&M::cmdDoIt>, "CREATE NEW CMX FILE WITH ATTACHMENT",
     {3840, 4800, 4575, 295}, F::Strong, C::ButtonFace,
     "Create new CMX file with attachment",
     "Writes the new character file into the directory to be saved to"},
    {"DrvProps", handled<&M::DrvProps>, nullptr,
     {7560, 1200, 855, 315}, F::Default, C::MeshDrive,
     "Drive of the mesh to be appended", "The drive that holds the SKN file"},
    {"DrvSkins", handled<&M::DrvSkins>, nullptr,
     {2880, 1200, 855, 315}, F::Default, C::SkinsDrive,
     "Drive of your skins directory", "The drive that holds the existing CMX file"},
    {"txtSavedTo", handled<&M::txtSavedTo>, nullptr,
     {120, 5400, 8295, 300}, F::Strong, C::Standard,
     "Directory to be saved to", "Folder the new CMX file is written into"},
    {"cmdHelp", handled<&M::cmdHelp>, "?",
     {8160, 240, 255, 255}, F::Strong, C::Standard,
     "Help", "Opens the instructions for using Kelvane"},
    {"lblTitle", handled<&M::lblTitle>, KELVANE_TITLE,
     {120, 120, 2775, 375}, F::Title, C::CaptionText,
     KELVANE_TITLE, "Click to show information about Kelvane"},
    {"lblSkins", caption, "Select your SKINS directory:",
     {120, 1320, 3615, 255}, F::Caption, C::CaptionText,
     nullptr, nullptr},
    {"lblProps", caption, "Select the directory of the mesh  to be appended:",
     {3840, 1320, 4575, 255}, F::Caption, C::CaptionText,
     nullptr, nullptr},
    {"Label1", caption, "Existing CMX Files:",
     {120, 2880, 3615, 255}, F::Caption, C::CaptionText,
     nullptr, nullptr},
    {"Label2", caption, "Existing SKN Files:",
     {3840, 2880, 4575, 255}, F::Caption, C::CaptionText,
     nullptr, nullptr},
    {"lblInfo", centredCaption,
     "*The selected mesh will be added to the new cmx file to create a new sim",
     {4320, 4320, 3615, 375}, F::Caption, C::InfoText,
     "The selected mesh will be added to the new cmx file to create a new sim", ""},
    {"lblNewName", caption, "NAME OF NEW CMX FILE TO BE CREATED:",
     {120, 4560, 3615, 255}, F::Strong, C::CaptionText,
     nullptr, nullptr},
    {"lblSavedTo", caption, "DIRECTORY TO BE SAVED TO:",
     {120, 5160, 3615, 255}, F::Strong, C::CaptionText,
     nullptr, nullptr},
};
// clang-format on

} // namespace

std::span<const MainControlRow> mainControlTable()
{
    return kRows;
}

} // namespace kelvane
