#include "cli/attachoptions.h"

#include <QDir>
#include <QStringList>

namespace kelvane {

namespace {

constexpr qsizetype kLineWidth = 79;
constexpr qsizetype kDescriptionColumn = 24;

// Where a player types the examples.
#ifdef Q_OS_WIN
const QString kWhereTyped = QStringLiteral("in a Command Prompt, which opens in your user folder");
#else
const QString kWhereTyped = QStringLiteral("in a terminal, from your home folder");
#endif

// What a player types first. Every "/" in this text and the next is a
// path's, shown as the system shows paths.
const QString kExamples =
    QStringLiteral("Attaches a mesh (glasses, a hat) to characters of The Sims.\n"
                   "For example, %1:\n"
                   "\n"
                   "  kelvane-attach Downloads/C001MA_head.cmx Downloads/glasses.skn\n"
                   "      writes Downloads/C001MA_new.cmx: the head wearing the glasses.\n"
                   "  kelvane-attach --suffix tie Downloads/family/*.cmx Downloads/tie.skn\n"
                   "      writes a new file for each body of the family, each named after its\n"
                   "      own: B904FAFit_01.cmx gives B904FAFit_tie.cmx.\n"
                   "  kelvane-attach --check-folder Downloads\n"
                   "      checks every skin in Downloads as the game would read it; with --fix it\n"
                   "      also mends what can be mended, keeping each changed file as a backup.\n"
                   "\n"
                   "New files go beside their character files. --out FOLDER writes them into\n"
                   "another, such as the game's GameData/Skins, and --copy-mesh copies the mesh\n"
                   "and its texture there too, where the game looks for them.\n"
                   "\n");

const QString kUsage = QStringLiteral(
    "Usage: kelvane-attach [--name NAME | --suffix TEXT] [--out FOLDER]\n"
    "                      [--no-backup] [--allow-duplicate] [--copy-mesh]\n"
    "                      [--strict] CHARACTER.cmx... MESH.skn\n"
    "       kelvane-attach --in-place [--no-backup] [--allow-duplicate]\n"
    "                      [--copy-mesh] [--strict] CHARACTER.cmx... MESH.skn\n"
    "       kelvane-attach --stdout [--name NAME | --suffix TEXT]\n"
    "                      [--allow-duplicate] CHARACTER.cmx MESH.skn\n"
    "       kelvane-attach --list CHARACTER.cmx... | ARCHIVE.far...\n"
    "       kelvane-attach --find-game\n"
    "       kelvane-attach --restore CHARACTER.cmx... | CHARACTER.cmx.bakN...\n"
    "       kelvane-attach --preview FILE.png [--size WxH] [--tone lgt|med|drk]\n"
    "                      [--texture LABEL] [--angle DEGREES] [--with CHARACTER]...\n"
    "                      CHARACTER.cmx [MESH.skn]\n"
    "       kelvane-attach --restore-game CHARACTER.cmx.bcf...\n"
    "       kelvane-attach --check-folder [--fix] [--renumber CHARACTER]...\n"
    "                      FOLDER...\n"
    "\n"
    "Writes a new character file of The Sims holding every skin of a character file\n"
    "plus the mesh of a mesh file, attached to the bone the mesh names. The last\n"
    "argument is the mesh file; one or more character files come before it.\n"
    "Character files may be text (.cmx) or binary (.cmx.bcf); the new file is\n"
    "written in the same format. Mesh files may be text (.skn) or binary (.bmf). A\n"
    "file inside one of the game's FAR archives is named ARCHIVE.far/ENTRY (entry\n"
    "names in any case); nothing is written into an archive, and a new file made\n"
    "from one goes into the game's GameData/Skins folder unless --out says\n"
    "otherwise. * and ? in an entry's name pick the archive's matching entries\n"
    "(ARCHIVE.far/Skins/B9*.bcf).\n"
    "\n"
    "Before writing, it checks that the game will find the mesh and its texture in\n"
    "the output folder and can show them; each finding is a warning. A file that is\n"
    "replaced is kept as NAME.cmx.bak (or .bak2, .bak3, ...), and a note on standard\n"
    "error says so; --restore puts such a backup back. A new file named as one of\n"
    "the game's own characters takes its place for every Sim that wears it (a\n"
    "warning); --restore-game puts the game's own back.\n"
    "\n"
    "--preview draws the character wearing the mesh, as a PNG picture, and writes no\n"
    "character file. It finds the skeleton, the meshes and their textures as the\n"
    "game does: beside the character file, then in the game's GameData/Skins,\n"
    "ExpansionShared/SkinsBuy and its FAR archives. Notes say what was not found (a\n"
    "mesh left out, a texture drawn plain light grey) and what the game would do.\n"
    "A character wears PREFIX + TONE + _LABEL.bmp, in any case, where PREFIX is its\n"
    "file's name up to the first _ (B005mafit_01.cmx wears B005MAFitlgt_hippy.bmp);\n"
    "a unisex child (xUC) wears those of either sex, and a mesh naming a texture of\n"
    "its own (glasses) wears that. A body gets the game's open hands.\n"
    "It cannot show the game's own lighting or animations: the character stands at\n"
    "rest, lit from the front.\n"
    "\n"
    "The window, kelvane, does the same for one or several character files\n"
    "(Ctrl+click, Shift+click or Ctrl+A select several), and shows the result before\n"
    "it is written: right-click a file and choose Preview... Right-click a folder\n"
    "and choose Check This Folder... to check it as --check-folder does.\n");

// Paths of this system, never shown as the system shows paths.
const QString kWine = QStringLiteral(
    "\n"
    "Off Windows, with a Wine prefix in use ($WINEPREFIX, otherwise ~/.wine), files\n"
    "and --out folders may be given as the game knows them (C:\\Program Files\\...):\n"
    "they name the matching paths of the prefix.\n");

QCommandLineOption option(const QStringList &names, const QString &description,
                          const QString &value = {})
{
    return QCommandLineOption(names, description, value);
}

// "  --name NAME" and the description, wrapped into a column.
QString describe(const QCommandLineOption &option)
{
    QStringList names;
    for (const QString &name : option.names())
        names.append((name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name);
    QString line = QStringLiteral("  ") + names.join(QStringLiteral(", "));
    if (!option.valueName().isEmpty())
        line += QLatin1Char(' ') + option.valueName();

    QString text;
    const QString indent(kDescriptionColumn, QLatin1Char(' '));
    if (line.size() >= kDescriptionColumn) {
        text = line + QLatin1Char('\n');
        line = indent;
    } else {
        line = line.leftJustified(kDescriptionColumn);
    }
    for (const QString &word : option.description().split(QLatin1Char(' '))) {
        if (line.size() > kDescriptionColumn && line.size() + 1 + word.size() > kLineWidth) {
            text += line + QLatin1Char('\n');
            line = indent;
        }
        if (line.size() > kDescriptionColumn)
            line += QLatin1Char(' ');
        line += word;
    }
    return text + line + QLatin1Char('\n');
}

} // namespace

AttachOptions::AttachOptions()
    : name(option(
          {QStringLiteral("name")},
          QStringLiteral(
              "Name of the new character file, without .cmx or .cmx.bcf (one "
              "character file only). Default: proposed from the character file's name, as the "
              "window does (B001FAFit_01.cmx gives B001FAFit_new)."),
          QStringLiteral("NAME"))),
      suffix(option({QStringLiteral("suffix")},
                    QStringLiteral("Propose names with TEXT instead of \"new\" (B001FAFit_01.cmx "
                                   "gives B001FAFit_TEXT)."),
                    QStringLiteral("TEXT"))),
      out(option({QStringLiteral("out")},
                 QStringLiteral("Folder to write into. Default: each character file's own "
                                "folder (for an archive's entry, the game's GameData/Skins, or the "
                                "archive's folder)."),
                 QStringLiteral("FOLDER"))),
      inPlace(option({QStringLiteral("in-place")},
                     QStringLiteral("Replace each character file by its extended version."))),
      noBackup(option({QStringLiteral("no-backup")},
                      QStringLiteral("Replace files without keeping their old content as .bak."))),
      allowDuplicate(option({QStringLiteral("allow-duplicate")},
                            QStringLiteral("Attach the mesh even to a character file that already "
                                           "holds it on the same bone."))),
      copyMesh(option({QStringLiteral("copy-mesh")},
                      QStringLiteral("Copy the mesh file (under the name the game looks for) and "
                                     "its texture into the output folder when they are not "
                                     "there; nothing is ever replaced."))),
      strict(option({QStringLiteral("strict")},
                    QStringLiteral("Refuse, writing nothing, where the game would not find or "
                                   "show the mesh (what is otherwise a warning)."))),
      toStdout(option({QStringLiteral("stdout")},
                      QStringLiteral("Write the new file's bytes to standard output instead of a "
                                     "file (one character file only)."))),
      list(option({QStringLiteral("list")},
                  QStringLiteral("Print the skins of each character file given (no mesh file), "
                                 "one per line: the bone, a tab, the mesh. An archive stands for "
                                 "every character file inside it."))),
      findGame(option({QStringLiteral("find-game")},
                      QStringLiteral("Print each folder of The Sims found on this machine, one per "
                                     "line (where its installers and Steam put it, also inside the "
                                     "Wine prefix in use and the prefixes of Lutris and Bottles). "
                                     "When there is none, standard error says where it looked."))),
      restore(option({QStringLiteral("restore")},
                     QStringLiteral("Put back the newest backup (by its time of change) of each "
                                    "character file given, or each backup given (NAME.cmx.bak3) "
                                    "into its own file. The file's content until then is kept as "
                                    "a backup first, so a restore is undone the same way. A "
                                    "file with no backup that takes the place of one of the "
                                    "game's own characters gets the game's own back, as with "
                                    "--restore-game."))),
      restoreGame(option({QStringLiteral("restore-game")},
                         QStringLiteral("Put the game's own character back in place of each "
                                        "character file given, backups or not: the file is moved "
                                        "to its next free backup name (NAME.cmx.bcf.bakN), so the "
                                        "game loads the one in its archive again. Nothing is "
                                        "deleted."))),
      checkFolder(
          option({QStringLiteral("check-folder")},
                 QStringLiteral("Check each folder of skins (a Skins or SkinsBuy folder, or "
                                "any folder of downloads) as the game would meet it, "
                                "printing each finding as FILE: finding, then a summary. "
                                "The game's own archives, Skins and SkinsBuy count as "
                                "present. Exits 0 when nothing was found, 1 when "
                                "something was."))),
      fix(option({QStringLiteral("fix")},
                 QStringLiteral("With --check-folder: apply every mend but renumbering, printing "
                                "what was done. A changed file keeps its old content as a backup "
                                "(NAME.bak, .bak2, ...); nothing is deleted."))),
      renumber(option({QStringLiteral("renumber")},
                      QStringLiteral("With --check-folder: give that character file the first "
                                     "three-character ID used nowhere in the folder, the game's "
                                     "Skins, SkinsBuy or archives, renaming it and its own "
                                     "textures and writing its new name inside it."),
                      QStringLiteral("CHARACTER"))),
      preview(option({QStringLiteral("preview")},
                     QStringLiteral("Draw the character file wearing the mesh file (or alone) "
                                    "and write the picture as PNG into FILE.png."),
                     QStringLiteral("FILE.png"))),
      size(option({QStringLiteral("size")},
                  QStringLiteral("Size of the picture in pixels, each side from 1 to 4096. "
                                 "Default: 512x512."),
                  QStringLiteral("WxH"))),
      tone(option({QStringLiteral("tone")},
                  QStringLiteral("Skin tone of the character's texture: lgt, med or drk. "
                                 "Default: the first of them found."),
                  QStringLiteral("TONE"))),
      angle(option({QStringLiteral("angle")},
                   QStringLiteral("Turn the character about its upright axis by DEGREES; 0 "
                                  "faces the viewer (the default), 90 shows its left side."),
                   QStringLiteral("DEGREES"))),
      texture(option({QStringLiteral("texture")},
                     QStringLiteral("Label of the character's texture (hippy in "
                                    "B005MAFitlgt_hippy.bmp). Default: the label of the "
                                    "character file's own name when found, else the first."),
                     QStringLiteral("LABEL"))),
      with(option({QStringLiteral("with")},
                  QStringLiteral("Put another character file in the picture, as a head on a "
                                 "body; may be given more than once."),
                  QStringLiteral("CHARACTER"))),
      help(option({QStringLiteral("h"), QStringLiteral("help")},
                  QStringLiteral("Show this help and exit."))),
      version(option({QStringLiteral("v"), QStringLiteral("version")},
                     QStringLiteral("Show the version and exit.")))
{
}

QList<QCommandLineOption> AttachOptions::all() const
{
    return {name,     suffix, out,      inPlace, noBackup,    allowDuplicate, copyMesh, strict,
            toStdout, list,   findGame, restore, restoreGame, checkFolder,    fix,      renumber,
            preview,  size,   tone,     angle,   texture,     with,           help,     version};
}

QString attachHelpText(const AttachOptions &options)
{
    QString text = kExamples.arg(kWhereTyped) + kUsage;
    QString described;
    for (const QCommandLineOption &each : options.all())
        described += describe(each);
    return QDir::toNativeSeparators(text) + kWine + QStringLiteral("\nOptions:\n") +
           QDir::toNativeSeparators(described.chopped(1));
}

} // namespace kelvane
