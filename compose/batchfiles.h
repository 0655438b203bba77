#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

namespace kelvane {

// The files one run over several character files reads and writes, in
// either front end, compared as the game sees them (links and ".." resolved,
// case ignored on every system), so that no output replaces a file the run
// reads, other than the character file it is made from, nor an output
// written before it.
class BatchFiles final
{
public:
    BatchFiles(const QStringList &characterFiles, const QString &meshFile);

    // Why a new file must not be written, and the file it clashes with.
    struct Conflict {
        enum Kind {
            SameCharacter, // character is the same file as one already extended (other)
            SameOutput,    // the output was already written for other
            ReplacesInput, // the output is other, an input of the run
            ReplacesItself // the output is character itself, and that was not asked for
        } kind;
        QString other; // as given
    };
    // Why the new file at outputPath, made from character, must not be
    // written; nothing when it may. Replacing character itself is allowed
    // only when asked for.
    std::optional<Conflict> conflict(const QString &character, const QString &outputPath,
                                     bool replacingItselfAsked) const;
    // Notes that outputPath is written for character.
    void written(const QString &character, const QString &outputPath);

private:
    QHash<QString, QString> m_inputs;  // identity -> path as given
    QHash<QString, QString> m_outputs; // identity -> the character file it was made from
};

} // namespace kelvane
