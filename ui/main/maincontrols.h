#pragma once

namespace kelvane {

class CommandButton;
class DirectoryList;
class DriveList;
class FileList;
class Label;
class TextBox;

// The controls of the Main window that have behaviour, by their names.
struct MainControls {
    DriveList *DrvSkins = nullptr;
    DirectoryList *DirSkins = nullptr;
    FileList *FileSkins = nullptr;
    DriveList *DrvProps = nullptr;
    DirectoryList *DirProps = nullptr;
    FileList *FileProps = nullptr;
    TextBox *txtNewName = nullptr;
    TextBox *txtSavedTo = nullptr;
    CommandButton *cmdDoIt = nullptr;
    CommandButton *cmdHelp = nullptr;
    Label *lblTitle = nullptr;
};

} // namespace kelvane
