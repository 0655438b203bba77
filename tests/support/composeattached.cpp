#include "tests/support/composeattached.h"

#include "formats/textcharacter.h"
#include "formats/textmesh.h"

namespace kelvane {

namespace {

ComposeResult fail(ComposeFailure::Input input, const QString &reason)
{
    return Failure{ComposeFailure{input, reason}};
}

} // namespace

ComposeResult ComposeAttachedCmx(const LineList &skinLines, const LineList &meshLines,
                                 const QString &newName)
{
    const Result<NewName> name = checkNewName(newName);
    if (!name.ok())
        return fail(ComposeFailure::Input::NewName, name.error());
    return ComposeAttachedCmx(skinLines, meshLines, name.value());
}

ComposeResult ComposeAttachedCmx(const LineList &skinLines, const LineList &meshLines,
                                 const NewName &newName)
{
    Result<Character> read = textCharacterOf(skinLines);
    if (!read.ok())
        return fail(ComposeFailure::Input::CharacterFile, read.error());
    const Result<Skin> attached = attachedSkinOf(meshLines);
    if (!attached.ok())
        return fail(ComposeFailure::Input::MeshFile, attached.error());
    Character character = std::move(read).value();
    character.name = newName.text().toLatin1();
    character.skins.append(attached.value());
    return textOfCharacter(character);
}

} // namespace kelvane
