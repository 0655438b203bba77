#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace kelvane {

// Where kelvane-attach prints: standard output and standard error in the
// program, buffers in tests.
class ConsoleOutput
{
public:
    virtual ~ConsoleOutput() = default;

    // Prints text and a line end on standard output.
    virtual void printLine(const QString &text) = 0;
    // Prints text and a line end on standard error.
    virtual void printError(const QString &text) = 0;
    // Writes bytes to standard output unchanged; false when they could not all be written.
    virtual bool writeBytes(const QByteArray &bytes) = 0;
    // Why a line printed on standard output was lost, once one was (a full
    // disk, a closed pipe); nothing while every line went out.
    virtual std::optional<QString> lineLost() const { return std::nullopt; }
};

// The process's own standard output and standard error, text in UTF-8, or on
// a Windows console as the console takes it.
class StandardOutput : public ConsoleOutput
{
public:
    void printLine(const QString &text) override;
    void printError(const QString &text) override;
    bool writeBytes(const QByteArray &bytes) override;
    std::optional<QString> lineLost() const override { return m_lost; }

private:
    std::optional<QString> m_lost;
};

} // namespace kelvane
