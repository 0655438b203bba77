#include "formats/skeletonfile.h"

#include "base/bytereader.h"
#include "base/linelist.h"
#include "base/messagetext.h"
#include "formats/binarycharacter.h"
#include "formats/fileformats.h"
#include "formats/geometryfields.h"

#include <QHash>

namespace kelvane {

namespace {

// The fewest bytes an item takes in a binary file, and in a text one with its
// line ends.
struct Least {
    qsizetype binary;
    qsizetype text;
};
constexpr Least kSkeleton{1 + 4, 1 + 2};
// Two names, a count of lists, seven floats, three flags and two floats; in
// text "|0 0 0|" and "|0 0 0 0|" for the seven.
constexpr Least kBone{1 + 1 + 4 + 7 * 4 + 3 * 4 + 2 * 4, 1 + 1 + 2 + 8 + 10 + 5 * 2};
constexpr Least kPropertyList{4, 2};
constexpr Least kProperty{1 + 1, 1 + 1};

const QByteArray kNoParent = QByteArrayLiteral("NULL");

std::optional<quint32> countOf(GeometryFields &in, const QString &what, Least least)
{
    return in.count(what, least.binary, least.text);
}

bool readPropertyLists(GeometryFields &in, SkeletonBone &bone)
{
    const std::optional<quint32> lists =
        countOf(in, QStringLiteral("property lists"), kPropertyList);
    for (quint32 l = 0; lists && l < *lists; ++l) {
        const std::optional<quint32> count = countOf(in, QStringLiteral("properties"), kProperty);
        if (!count)
            return false;
        PropertyList list;
        list.reserve(*count);
        for (quint32 k = 0; k < *count; ++k) {
            const std::optional<QByteArray> name = in.name({"a property's name", k + 1, *count});
            const std::optional<QByteArray> value =
                name ? in.name({"a property's value", k + 1, *count}) : std::nullopt;
            if (!value)
                return false;
            list.append({*name, *value});
        }
        bone.properties.append(list);
    }
    return lists.has_value();
}

std::optional<float> oneFloat(GeometryFields &in, const FieldItem &item)
{
    return in.record(item, 1) ? in.f32() : std::nullopt;
}

std::optional<quint32> oneFlag(GeometryFields &in, const FieldItem &item)
{
    return in.record(item, 1) ? in.u32() : std::nullopt;
}

std::optional<SkeletonBone> boneIn(GeometryFields &in, quint32 number, quint32 count)
{
    SkeletonBone bone;
    const std::optional<QByteArray> name = in.name({"the name of bone", number, count});
    const std::optional<QByteArray> parent =
        name ? in.name({"the parent of bone", number, count}) : std::nullopt;
    if (!parent)
        return std::nullopt;
    bone.name = *name;
    bone.parent = *parent;
    if (!readPropertyLists(in, bone) ||
        !in.record({"the position of bone", number, count}, 3, true))
        return std::nullopt;
    float position[3];
    for (float &value : position) {
        const std::optional<float> read = in.f32();
        if (!read)
            return std::nullopt;
        value = *read;
    }
    if (!in.record({"the rotation of bone", number, count}, 4, true))
        return std::nullopt;
    float rotation[4];
    for (float &value : rotation) {
        const std::optional<float> read = in.f32();
        if (!read)
            return std::nullopt;
        value = *read;
    }
    bone.position = {position[0], position[1], position[2]};
    bone.rotation = {rotation[0], rotation[1], rotation[2], rotation[3]};
    const std::optional<quint32> translate =
        oneFlag(in, {"the translate flag of bone", number, count});
    const std::optional<quint32> rotate =
        translate ? oneFlag(in, {"the rotate flag of bone", number, count}) : std::nullopt;
    const std::optional<quint32> blend =
        rotate ? oneFlag(in, {"the blend flag of bone", number, count}) : std::nullopt;
    const std::optional<float> wiggle =
        blend ? oneFloat(in, {"the wiggle value of bone", number, count}) : std::nullopt;
    const std::optional<float> power =
        wiggle ? oneFloat(in, {"the wiggle power of bone", number, count}) : std::nullopt;
    if (!power)
        return std::nullopt;
    bone.canTranslate = *translate;
    bone.canRotate = *rotate;
    bone.canBlend = *blend;
    bone.wiggleValue = *wiggle;
    bone.wigglePower = *power;
    return bone;
}

std::optional<QList<Skeleton>> skeletonsIn(GeometryFields &in)
{
    const std::optional<quint32> count = countOf(in, QStringLiteral("skeletons"), kSkeleton);
    if (!count)
        return std::nullopt;
    if (*count == 0)
        return in.fail(QStringLiteral("it holds no skeleton; it is a character or animation "
                                      "file, not a skeleton file."));
    QList<Skeleton> skeletons;
    skeletons.reserve(*count);
    for (quint32 s = 0; s < *count; ++s) {
        Skeleton skeleton;
        const std::optional<QByteArray> name = in.name({"the name of skeleton", s + 1, *count});
        const std::optional<quint32> bones =
            name ? countOf(in, QStringLiteral("bones"), kBone) : std::nullopt;
        if (!bones)
            return std::nullopt;
        skeleton.name = *name;
        skeleton.bones.reserve(*bones);
        for (quint32 k = 0; k < *bones; ++k) {
            std::optional<SkeletonBone> bone = boneIn(in, k + 1, *bones);
            if (!bone)
                return std::nullopt;
            skeleton.bones.append(std::move(*bone));
        }
        skeletons.append(std::move(skeleton));
    }
    return skeletons;
}

// What is wrong with the bones' names and parents, if anything.
std::optional<QString> treeFault(const Skeleton &skeleton)
{
    const QString which = QStringLiteral("skeleton %1").arg(quotedBytes(skeleton.name));
    QHash<QByteArray, qsizetype> byName;
    byName.reserve(skeleton.bones.size());
    for (qsizetype k = 0; k < skeleton.bones.size(); ++k) {
        if (byName.contains(skeleton.bones[k].name))
            return QStringLiteral("%1 holds two bones named %2; the file is damaged.")
                .arg(which, quotedBytes(skeleton.bones[k].name));
        byName.insert(skeleton.bones[k].name, k);
    }
    QList<qsizetype> parents(skeleton.bones.size(), -1);
    for (qsizetype k = 0; k < skeleton.bones.size(); ++k) {
        const SkeletonBone &bone = skeleton.bones[k];
        if (bone.parent == kNoParent)
            continue;
        const auto found = byName.constFind(bone.parent);
        if (found == byName.cend())
            return QStringLiteral("in %1 the parent of bone %2 is %3, which is no bone of the "
                                  "skeleton; the file is damaged.")
                .arg(which, quotedBytes(bone.name), quotedBytes(bone.parent));
        parents[k] = *found;
    }
    // Each bone is walked up once: a walk that meets a bone of its own path
    // has found a cycle, one that meets a bone walked before has not.
    enum : char { Unseen, OnPath, Done };
    QList<char> state(skeleton.bones.size(), Unseen);
    for (qsizetype k = 0; k < skeleton.bones.size(); ++k) {
        qsizetype at = k;
        while (at >= 0 && state[at] == Unseen) {
            state[at] = OnPath;
            at = parents[at];
        }
        if (at >= 0 && state[at] == OnPath)
            return QStringLiteral("in %1 bone %2 is its own ancestor: its parents form a "
                                  "cycle; the file is damaged.")
                .arg(which, quotedBytes(skeleton.bones[at].name));
        for (at = k; at >= 0 && state[at] == OnPath; at = parents[at])
            state[at] = Done;
    }
    return std::nullopt;
}

bool isBinary(QByteArrayView bytes)
{
    return !isUtf16Text(bytes) && looksLikeBinaryCharacter(bytes);
}

} // namespace

bool looksLikeSkeletonFile(const QByteArray &start)
{
    if (isBinary(start)) {
        ByteReader in(start);
        const std::optional<quint32> count = in.u32();
        return count && *count > 0 && in.string();
    }
    if (isUtf16Text(start))
        return false;
    const LineList lines = splitLines(start, 3);
    if (lines.size() < 3 || !isVersionLine(lines[1]))
        return false;
    TextFields in(lines[2]);
    const std::optional<quint32> count = in.count(QString(), 0, 0);
    return count && *count > 0;
}

namespace {

Result<QList<Skeleton>> checkedSkeletonsIn(GeometryFields &in, bool text)
{
    if (text) {
        const std::optional<QByteArray> heading = in.name({"the heading"});
        const std::optional<QByteArray> version = heading ? in.name({"the version"}) : std::nullopt;
        if (!version)
            return Failure{in.fault()};
        if (!isVersionLine(*version))
            return Failure{QStringLiteral("line 1 should be \"version\" and a number, but it is "
                                          "%1; this is not a character file.")
                               .arg(quotedBytes(*version))};
    }
    std::optional<QList<Skeleton>> skeletons = skeletonsIn(in);
    if (!skeletons)
        return Failure{in.fault()};
    for (const Skeleton &skeleton : *skeletons) {
        if (const std::optional<QString> fault = treeFault(skeleton))
            return Failure{*fault};
    }
    return std::move(*skeletons);
}

} // namespace

Result<QList<Skeleton>> textSkeletonsOf(const QByteArray &bytes)
{
    TextFields in(bytes);
    return checkedSkeletonsIn(in, true);
}

Result<QList<Skeleton>> binarySkeletonsOf(const QByteArray &bytes)
{
    BinaryFields in(bytes);
    return checkedSkeletonsIn(in, false);
}

Result<QList<Skeleton>> skeletonsOf(const QByteArray &bytes)
{
    if (isUtf16Text(bytes))
        return Failure{utf16Fault()};
    const FileFormat &format = readerOf(FileRole::Skeleton, bytes, bytes.size());
    return std::get<SkeletonReader>(format.reader)(bytes);
}

} // namespace kelvane
