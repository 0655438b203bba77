#pragma once

#include <QString>

namespace kelvane {

// The lock that lets one replace of a file run at a time, in any instance:
// the file "NAME.kelvane-lock" beside it, held by the system's file lock, so
// that a killed instance's lock is free again. Taking it never waits, and
// never opens what is not a regular file: a folder, a link, a pipe or a
// device in its place is refused, naming it. Where no lock file can be made
// (a folder that cannot be written), nothing is held and nothing refused: the
// write fails later saying why. Taking a lock this process already holds
// holds nothing more, so that a front end can hold it across a read and the
// replace that follows.
class ReplaceLock final
{
public:
    explicit ReplaceLock(const QString &target);
    ~ReplaceLock();
    ReplaceLock(const ReplaceLock &) = delete;
    ReplaceLock &operator=(const ReplaceLock &) = delete;

    // Why the file must not be replaced now, naming target; empty when it may.
    const QString &refusal() const { return m_refusal; }

private:
    QString m_path; // the lock file this object holds; empty when none
    QString m_refusal;
    qintptr m_handle = -1;
};

} // namespace kelvane
