#include "cli/attachoptions.h"

#include <QStringList>

namespace kelvane {

namespace {

constexpr qsizetype kLineWidth = 79;
constexpr qsizetype kDescriptionColumn = 24;

const QString kUsage = QStringLiteral(
    "Usage: kelvane-attach [--name NAME | --suffix TEXT] [--out FOLDER] [--no-backup]\n"
    "                      [--allow-duplicate] [--copy-mesh] [--strict]\n"
    "                      CHARACTER.cmx... MESH.skn\n"
    "       kelvane-attach --in-place [--no-backup] [--allow-duplicate] [--copy-mesh]\n"
    "                      [--strict]\n"
    "                      CHARACTER.cmx... MESH.skn\n"
    "       kelvane-attach --stdout [--name NAME | --suffix TEXT] [--allow-duplicate]\n"
    "                      CHARACTER.cmx MESH.skn\n"
    "       kelvane-attach --list CHARACTER.cmx... | ARCHIVE.far...\n"
    "       kelvane-attach --find-game\n"
    "       kelvane-attach --restore CHARACTER.cmx... | CHARACTER.cmx.bakN...\n"
    "       kelvane-attach --preview FILE.png [--size WxH] [--tone lgt|med|drk]\n"
    "                      [--texture LABEL] [--angle DEGREES] [--with CHARACTER]...\n"
    "                      CHARACTER.cmx [MESH.skn]\n"
    "       kelvane-attach --restore-game CHARACTER.cmx.bcf...\n"
    "\n"
    "Writes a new character file of The Sims holding every skin of a character file\n"
    "plus the mesh of a mesh file, attached to the bone the mesh names.\n"
    "The last argument is the mesh file; one or more character files come before it.\n"
    "Character files may be text (.cmx) or binary (.cmx.bcf); the new file is written\n"
    "in the same format. Mesh files may be text (.skn) or binary (.bmf). A file inside\n"
    "one of the game's FAR archives is named ARCHIVE.far/ENTRY (entry names in any\n"
    "case); nothing is written into an archive, and a new file made from one goes\n"
    "into the game's GameData/Skins folder unless --out says otherwise. * and ? in\n"
    "an entry's name pick the archive's matching entries (ARCHIVE.far/Skins/B9*.bcf).\n"
    "With a Wine prefix in use, files may be given as the game knows them (C:\\...).\n"
    "Before writing, it checks that the game will find the mesh and its texture in\n"
    "the output folder and can show them; each finding is a warning.\n"
    "A file that is replaced is kept as NAME.cmx.bak (or .bak2, .bak3, ...), and a\n"
    "note on standard error says so; --restore puts such a backup back. A new file\n"
    "named as one of the game's own characters takes its place for every Sim that\n"
    "wears it (a warning); --restore-game puts the game's own back.\n"
    "--preview draws the character wearing the mesh, as a PNG picture, and writes no\n"
    "character file. It finds the skeleton, the meshes and their textures as the game\n"
    "does: beside the character file, then in the game's GameData/Skins,\n"
    "ExpansionShared/SkinsBuy and its FAR archives. Notes say what was not found (a\n"
    "mesh left out, a texture drawn plain light grey) and what the game would do.\n"
    "A character wears PREFIX + TONE + _LABEL.bmp, in any case, where PREFIX is its\n"
    "file's name up to the first _ (B005mafit_01.cmx wears B005MAFitlgt_hippy.bmp);\n"
    "a unisex child (xUC) wears those of either sex, and a mesh naming a texture of\n"
    "its own (glasses) wears that. A body gets the game's open hands.\n"
    "It cannot show the game's own lighting or animations: the character stands at\n"
    "rest, lit from the front.\n");

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
                 QStringLiteral("Folder to write into; a Windows path (C:\\...) names the folder "
                                "of the Wine prefix in use. Default: each character file's own "
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
    return {name,   suffix,   out,   inPlace,  noBackup, allowDuplicate, copyMesh,
            strict, toStdout, list,  findGame, restore,  restoreGame,    preview,
            size,   tone,     angle, texture,  with,     help,           version};
}

QString attachHelpText(const AttachOptions &options)
{
    QString text = kUsage + QStringLiteral("\nOptions:\n");
    for (const QCommandLineOption &each : options.all())
        text += describe(each);
    return text.chopped(1);
}

} // namespace kelvane
