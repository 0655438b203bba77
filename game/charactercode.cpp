#include "game/charactercode.h"

#include "formats/fileformats.h"
#include "game/sourceplaces.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace kelvane {

CharacterCode characterCodeOf(const QString &characterFileName)
{
    const QString code =
        withoutCharacterExtension(characterFileName).section(QLatin1Char('_'), 0, 0).toUpper();
    if (code.size() < 6 || !code[0].isLetter() || code[0] == QLatin1Char('H'))
        return {};
    const QChar sex = code[4];
    const QChar age = code[5];
    if (!QStringView(u"FMU").contains(sex) || !QStringView(u"AC").contains(age))
        return {};
    if (code[0] == QLatin1Char('C'))
        return code.size() == 6 ? CharacterCode{CharacterCode::Kind::Head, sex, age}
                                : CharacterCode{};
    static const QStringList types{QString(), QStringLiteral("FAT"), QStringLiteral("FIT"),
                                   QStringLiteral("SKN"), QStringLiteral("CHD")};
    if (!types.contains(code.mid(6)))
        return {};
    return {CharacterCode::Kind::Body, sex, age};
}

bool goesWith(const CharacterCode &code, const CharacterCode &other)
{
    using Kind = CharacterCode::Kind;
    if (code.kind == Kind::Other || other.kind == Kind::Other || code.kind == other.kind ||
        code.age != other.age)
        return false;
    const QChar unisex = QLatin1Char('U');
    return code.sex == other.sex || code.sex == unisex || other.sex == unisex;
}

QStringList charactersGoingWith(const QString &characterPath, const QStringList &gameFolders)
{
    const CharacterCode code =
        characterCodeOf(QFileInfo(QDir::fromNativeSeparators(characterPath)).fileName());
    if (code.kind == CharacterCode::Kind::Other)
        return {};
    const QStringList extensions = extensionsOf(FileRole::Character);
    SourcePlaces places(characterPath, gameFolders);
    QSet<QString> seen; // case-folded names, the first found kept
    const SourcePlaces::Selection selection = places.findSelected(
        [&](const QStringList &names) {
            QStringList picked;
            for (const QString &name : names) {
                const bool character =
                    std::any_of(extensions.cbegin(), extensions.cend(), [&](const QString &e) {
                        return name.endsWith(e, Qt::CaseInsensitive);
                    });
                if (!character || !goesWith(code, characterCodeOf(name)) ||
                    seen.contains(name.toCaseFolded()))
                    continue;
                seen.insert(name.toCaseFolded());
                picked.append(name);
            }
            return picked;
        },
        {}, SourcePlaces::Reach::EveryPlace);
    QStringList paths;
    for (const FoundSource &found : selection.found)
        paths.append(found.file.path);
    const auto nameOf = [](const QString &path) {
        return QFileInfo(QDir::fromNativeSeparators(path)).fileName();
    };
    std::sort(paths.begin(), paths.end(), [&](const QString &a, const QString &b) {
        return nameOf(a).compare(nameOf(b), Qt::CaseInsensitive) < 0;
    });
    return paths;
}

QList<HandMesh> openHandsOf(const CharacterCode &code)
{
    if (code.kind != CharacterCode::Kind::Body)
        return {};
    // Children's hands are unisex; an adult's are its sex's (the mesh names
    // HANDML, HANDFL, HANDCL: male, female, child, left).
    QChar sex = code.age == QLatin1Char('C') ? QLatin1Char('U') : code.sex;
    const QChar kind = code.age == QLatin1Char('C') ? QLatin1Char('C') : code.sex;
    if (sex == QLatin1Char('U') && code.age != QLatin1Char('C'))
        return {};
    QList<HandMesh> hands;
    for (const char side : {'L', 'R'}) {
        const QString handCode = QStringLiteral("H") + sex + QLatin1Char(side) + QLatin1Char('O');
        const QString mesh = QStringLiteral("xskin-%1-%2_HAND-HAND%3%4")
                                 .arg(handCode.toLower(), QString(QLatin1Char(side)), kind,
                                      QString(QLatin1Char(side)));
        hands.append({QByteArray(1, side) + "_HAND", handCode, mesh.toLatin1()});
    }
    return hands;
}

} // namespace kelvane
